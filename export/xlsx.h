// xlsx.h: the records as an Excel Workbook (.xlsx), written by libxlsxwriter.
//
// One sheet, "Records": the header row of columns.h in bold, frozen, and one
// row per record below it, oldest first. The time is a date cell shown
// "yyyy-mm-dd hh:mm" (the logger's clock, no time zone; an invalid time leaves
// the cell empty); readings and derived values are numbers rounded to one
// decimal, shown "0.0"; empty values leave their cells empty. Each column is as
// wide as its title (the time column as its date format), the document title
// is `title` (UTF-8) and the application is "Climadesk". The document's creation date is the newest record's time
// (the clock's only without records), so the same records give the same bytes
// whenever they are written.
//
// The sheet holds at most maxXlsxRecords records below its header. libxlsxwriter
// prints its numbers with printf: the numeric locale must be "C", as the program
// keeps it (platform/qt_app.cpp).
#pragma once

#include "records/store.h"

#include <cstddef>
#include <string>
#include <vector>

namespace xls {

// Rows 2 .. 1,048,576, the sheet's own limit.
constexpr std::size_t maxXlsxRecords = 1048575;

// Writes the workbook for `records` to the file `file` (created or truncated):
// libxlsxwriter writes it to a scratch file in the temporary folder, which is
// checked and copied to `file` once, with our own application part
// (xlsx_copy.h). False when libxlsxwriter reports any error, memory and the file
// included, when the file it wrote is not whole, when `file` cannot be written,
// or when there are more than maxXlsxRecords records; `file` is then unusable.
bool writeXlsx(const std::string& file, const std::vector<records::Record>& records, bool fahrenheit,
               const std::string& title);

} // namespace xls
