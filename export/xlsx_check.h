// xlsx_check.h: whether a written .xlsx file is whole.
//
// libxlsxwriter writes each part of the workbook to a temporary file first and
// does not check those writes: on a full disk it zips a truncated sheet and
// reports success. This check reads the file back (minizip) and finds every
// part intact: readable, its checksum right, and its XML ending with the
// closing tag of its root element.
#pragma once

#include <string>

namespace xls {

// True when every part of the .xlsx file `file` is whole.
bool xlsxIsWhole(const std::string& file);

} // namespace xls
