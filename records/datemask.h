// datemask.h: dates and clock times as text, through masks such as "%yyyy/%mm/%dd".
//
// A time is a signed 32-bit count of seconds since 1970-01-01 00:00:00 of the
// calendar date and clock time as written: no time zone and no daylight saving
// are ever applied, and no C library time function is used. Valid times run from
// 0 (1970-01-01 00:00:00) to 2147483647 (2038-01-19 03:14:07); -1 means invalid.
//
// In a mask, "%yyyy" stands for the year in four digits and "%mm", "%dd", "%hh",
// "%ii", "%ss" for month, day, hour, minute and second in two digits with a
// leading zero. Every other character stands for itself, and so does a "%" that
// does not start one of these six tokens. Tokens are lower case only.
//
// Formatting never fails. Parsing fails by returning -1; it never reads outside
// the texts it is given, whatever bytes they hold.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace records {

// `time` written through `mask`. Every negative time is invalid and prints its
// fields as zeros ("0000/00/00" for "%yyyy/%mm/%dd"), as -1 does.
std::string formatTime(std::string_view mask, int32_t time);

// The time that `text` names through `mask`, or -1.
//
// The text must match the mask from its first to its last character: each literal
// character (trailing blanks included) must be there, and the text must end where
// the mask ends. "%yyyy" reads one to four digits, the other tokens one or two;
// digits only, no sign, no blanks. A field takes as many digits as it can, up to
// its width, so a field directly followed by another field must be written at its
// full width ("2018/05/0914:30" for "%yyyy/%mm/%dd%hh:%ii"); a short field needs a
// literal after it ("2018/5/9" for "%yyyy/%mm/%dd").
//
// A year before 1970, a month outside 1..12, a day its month lacks (29 February
// outside leap years), an hour above 23, a minute or second above 59, or a moment
// after 2038-01-19 03:14:07 gives -1. Fields the mask lacks take 1970 for the
// year, 1 for month and day and 0 for the clock fields, so "%hh:%ii" gives the
// seconds since midnight. A field named twice keeps its last value.
int32_t parseTime(std::string_view mask, std::string_view text);

} // namespace records
