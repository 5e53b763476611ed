// xlsx_copy.h: the workbook libxlsxwriter wrote, checked and copied with one part
// of our own.
//
// libxlsxwriter writes each part of the workbook to a temporary file first and
// does not check those writes: on a full disk it zips a truncated sheet and
// reports success. It also names "Microsoft Excel" as the application in
// docProps/app.xml, with no option to change it. copyXlsx reads the file back
// once (minizip): every part must be intact (readable, its checksum right, its
// XML ending with the closing tag of its root element), and each is copied as
// it is stored, not compressed again, except the one part given, whose text is
// replaced.
#pragma once

#include <string>

namespace xls {

// Copies the .xlsx file `from` to `to` (created or truncated), with the text of
// the part named `partName` replaced by `partText`. False when a part of `from`
// is not whole or `to` cannot be written; `to` is then unusable.
bool copyXlsx(const std::string& from, const std::string& to, const std::string& partName,
              const std::string& partText);

} // namespace xls
