// sheet.h: the one sheet that "Export As Excel" writes, built as workbook bytes.
//
// The sheet has a header row ("Temperature", "Humidity", "Date_Time") and one
// row per record below it, oldest first: temperature in degrees Celsius and
// relative humidity in percent (the stored tenths divided by 10), and the record
// time as a spreadsheet serial date. Page setup: gridlines, 2-inch margins,
// header and footer "Kestrion", default row height 24 points.
//
// A row index has 16 bits, so one sheet holds at most maxExportRecords records;
// the caller checks fitsOneSheet first and tells the user otherwise. Running out
// of memory throws std::bad_alloc; nothing else fails.
#pragma once

#include "records/store.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace xls {

// Records one sheet can hold: rows 2 .. 65536.
constexpr int32_t maxExportRecords = 65535;

// Whether `recordCount` records fit on one sheet.
bool fitsOneSheet(std::size_t recordCount);

// The whole workbook file for `records` (oldest first): 628 bytes plus 57 per
// record. Empty when the records do not fit on one sheet, never a sheet whose
// row numbers wrap around.
std::string workbookBytes(const std::vector<records::Record>& records);

} // namespace xls
