// decimal.h: a whole number at the start of a text, read the way the record
// file, the logger's replies and the settings file write their numbers; and
// tenths written as a number with one decimal, the way every file and view
// of the program writes its readings.
//
// Leading white space is skipped, then an optional sign, then decimal digits up
// to the first other character; no digits read as 0. The value is kept modulo
// 2^32, so a text of any length is safe; the short fields of the record file and
// the replies read exactly (cast the result to int32_t for a signed value).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace records {

uint32_t leadingDecimal(std::string_view text);

// True for the C white-space characters: blank, tab, line feed, vertical tab,
// form feed, carriage return.
bool isWhiteSpace(char c);

// Appends `tenths` as its whole part, `point` and its tenths digit, with "-"
// before a negative value: -105 gives "-10.5", 3 gives "0.3". Exact for every
// 64-bit value.
void appendTenths(std::string& out, int64_t tenths, char point = '.');

} // namespace records
