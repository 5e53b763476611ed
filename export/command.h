// command.h: the File menu's "Export As Excel".
//
// Proposes the last saved record file's path with ".xls" (or a file named ".xls"
// in the working directory), asks for the file with the save dialog, and writes
// every record of the store to it in one piece, through a temporary file so that
// a failed export never destroys an existing file. A store too large for one
// sheet, or a file that cannot be written, is reported in a message box.
#pragma once

#include <string>

namespace xls {

void exportAsExcel();

// The path the dialog proposes for `lastSavePath`: every ".xls" in any letter
// case removed, then ".xls" appended; the working directory when it is empty.
std::string proposedExportPath(const std::string& lastSavePath);

} // namespace xls
