// commands.h: the File menu's "Import Records" and "Save As".
//
// Both show the platform's file dialogs with the record-file patterns. Import
// refuses a file that is not a record file before anything is touched; Save As
// writes through a temporary file, so a failed save never destroys a file.
#pragma once

namespace records {

void importRecords();
void saveRecordsAs();

} // namespace records
