// decimal.h: a whole number at the start of a text, read the way the record
// file, the logger's replies and the settings file write their numbers.
//
// Leading white space is skipped, then an optional sign, then decimal digits up
// to the first other character; no digits read as 0. The value is kept modulo
// 2^32, so a text of any length is safe; the short fields of the record file and
// the replies read exactly (cast the result to int32_t for a signed value).
#pragma once

#include <cstdint>
#include <string_view>

namespace records {

uint32_t leadingDecimal(std::string_view text);

// True for the C white-space characters: blank, tab, line feed, vertical tab,
// form feed, carriage return.
bool isWhiteSpace(char c);

} // namespace records
