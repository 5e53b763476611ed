// command.h: the File menu's "Export As Excel".
//
// Proposes the last saved record file's path with ".xls" (or a file named ".xls"
// in the working directory) and asks for the file with the save dialog, whose
// entries are the .xls (first, as it always was), the .xlsx, the two CSV styles
// and "All files". Then it exports every record of the store (export.h); a store
// too large for the chosen format, or a file that cannot be written, is reported
// in a message box.
#pragma once

#include "export/export.h"

#include <string>

namespace xls {

void exportAsExcel();

// The path the dialog proposes for `lastSavePath`: every ".xls" in any letter
// case removed, then ".xls" appended; the working directory when it is empty.
std::string proposedExportPath(const std::string& lastSavePath);

// What a dialog answer asks for.
struct ExportChoice {
    Format format;
    CsvStyle csvStyle;
};

// The answer `path` with entry `pattern`: an extension .xls, .xlsx or .csv
// names the format, any other name takes the entry's format ("All files":
// .xls). The CSV style is the chosen CSV entry's, the first style otherwise.
ExportChoice exportChoice(const std::string& path, int pattern);

} // namespace xls
