// command.h: the File menu's "Export Report".
//
// Asks with the save dialog for a "PDF File (*.pdf)", proposing the last saved
// record file's path with ".pdf" in place of its extension (the working
// directory when none was saved); a name typed without an extension gets
// ".pdf" unless "All files" was chosen. Then it writes the report of the whole
// store (report.h) under the wait cursor; a file that cannot be written is
// reported in a message box.
#pragma once

#include <string>

namespace report {

void exportReport();

// The path the dialog proposes for `lastSavePath`.
std::string proposedReportPath(const std::string& lastSavePath);

} // namespace report
