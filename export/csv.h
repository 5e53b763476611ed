// csv.h: the records as CSV text (RFC 4180), in two styles.
//
// UTF-8, CR LF after every line, the header row of columns.h and one line per
// record, oldest first. Values have one decimal; empty values (gaps, undefined
// derived values) and invalid (negative) times are empty fields. A field is
// quoted only when it must be: when it holds the separator, a double quote, CR
// or LF. The bytes never depend on the machine's locale.
//
// - CsvStyle::Data: separator ",", decimal ".", time "2024-03-15T12:00:00"
//   (ISO 8601 without an offset: the logger's clock has no time zone), no BOM.
// - CsvStyle::Spreadsheet: separator ";", decimal ",", time "2024-03-15 12:00:00"
//   and a UTF-8 byte-order mark, for spreadsheets set up for a decimal comma.
//
// Nothing fails but memory (std::bad_alloc).
#pragma once

#include "records/store.h"

#include <string>
#include <string_view>
#include <vector>

namespace xls {

enum class CsvStyle { Data, Spreadsheet };

// The whole CSV file for `records` (oldest first).
std::string csvText(const std::vector<records::Record>& records, CsvStyle style, bool fahrenheit);

// `text` as one field between `separator`s: quoted, with its quotes doubled,
// only when RFC 4180 requires it.
std::string csvField(std::string_view text, char separator);

} // namespace xls
