// Date masks: formatting, strict parsing, the calendar and the 1970 .. 2038 range.
//
// Expected second counts were computed independently (Python's calendar.timegm,
// which counts UTC seconds, the same as wall-clock seconds without a time zone).
#include "records/datemask.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

namespace {

using records::formatTime;
using records::parseTime;

constexpr const char* fullMask = "%yyyy-%mm-%dd %hh:%ii:%ss";
constexpr const char* headerMask = "%yyyy/%mm/%dd%hh:%ii     ";
constexpr int32_t latest = std::numeric_limits<int32_t>::max();

TEST(DateMaskTest, FormatsKnownTimes)
{
    EXPECT_EQ(formatTime(fullMask, 0), "1970-01-01 00:00:00");
    EXPECT_EQ(formatTime(fullMask, latest), "2038-01-19 03:14:07");
    EXPECT_EQ(formatTime(fullMask, 1710504000), "2024-03-15 12:00:00");
    EXPECT_EQ(formatTime(fullMask, 951782400), "2000-02-29 00:00:00");
    EXPECT_EQ(formatTime(fullMask, 1709251199), "2024-02-29 23:59:59");
    EXPECT_EQ(formatTime(fullMask, 68169600), "1972-02-29 00:00:00");
    EXPECT_EQ(formatTime(fullMask, 946684799), "1999-12-31 23:59:59");
    // The two header lines of a record file.
    EXPECT_EQ(formatTime("%yyyy/%mm/%dd", 1525876200), "2018/05/09");
    EXPECT_EQ(formatTime("%hh:%ii     ", 1525876200), "14:30     ");
    // Unknown tokens, a lone "%" and upper case are literal text.
    EXPECT_EQ(formatTime("%y %% %MM %i %hh%", 1525876200), "%y %% %MM %i 14%");
    EXPECT_EQ(formatTime("", 1525876200), "");
}

TEST(DateMaskTest, NegativeTimesPrintZeros)
{
    EXPECT_EQ(formatTime("%yyyy/%mm/%dd", -1), "0000/00/00");
    EXPECT_EQ(formatTime("%hh:%ii     ", -1), "00:00     ");
    EXPECT_EQ(formatTime(fullMask, -86400), "0000-00-00 00:00:00");
    EXPECT_EQ(formatTime(fullMask, std::numeric_limits<int32_t>::min()), "0000-00-00 00:00:00");
}

// Walks every day of the range with a plain day counter and checks that the
// calendar arithmetic agrees, in both directions, at the start and end of each day.
TEST(DateMaskTest, EveryDayOfTheRangeRoundTrips)
{
    const int monthLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int year = 1970;
    int month = 1;
    int day = 1;
    int leapDays = 0;
    for (int64_t days = 0; days * 86400 <= latest; ++days) {
        char expected[48];
        std::snprintf(expected, sizeof expected, "%04d-%02d-%02d 00:00:00", year, month, day);
        const auto midnight = static_cast<int32_t>(days * 86400);
        ASSERT_EQ(formatTime(fullMask, midnight), expected);
        ASSERT_EQ(parseTime(fullMask, expected), midnight);
        if (midnight <= latest - 86399) {
            std::snprintf(expected, sizeof expected, "%04d-%02d-%02d 23:59:59", year, month, day);
            ASSERT_EQ(parseTime(fullMask, expected), midnight + 86399);
        }
        const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
        const int length = month == 2 && leap ? 29 : monthLengths[month - 1];
        leapDays += month == 2 && day == 29 ? 1 : 0;
        if (++day > length) {
            day = 1;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
    }
    EXPECT_EQ(year, 2038);
    EXPECT_EQ(leapDays, 17); // 1972 .. 2036; 2000 is a leap year.
}

TEST(DateMaskTest, ParsesKnownTexts)
{
    EXPECT_EQ(parseTime(fullMask, "2038-01-19 03:14:07"), latest);
    EXPECT_EQ(parseTime(fullMask, "2024-03-15 12:00:00"), 1710504000);
    // Short fields where a literal follows.
    EXPECT_EQ(parseTime("%yyyy/%mm/%dd", "2018/5/9"), 1525824000);
    EXPECT_EQ(parseTime(fullMask, "2024-3-15 1:2:3"), 1710464523);
    // Without date fields the date is 1970-01-01: seconds since midnight.
    EXPECT_EQ(parseTime("%hh:%ii", "9:05"), 32700);
    EXPECT_EQ(parseTime("%hh:%ii", "23:59"), 86340);
    // Missing month and day are 1; a field named twice keeps its last value.
    EXPECT_EQ(parseTime("%yyyy", "2024"), 1704067200);
    EXPECT_EQ(parseTime("%hh %hh", "05 07"), 7 * 3600);
    // Literals, "%" that starts no token included, are matched as they are.
    EXPECT_EQ(parseTime("%x %hh%", "%x 07%"), 7 * 3600);
    EXPECT_EQ(parseTime("", ""), 0);
}

// A field takes as many digits as it can, so fields written side by side must
// have their full width; the four-digit year is one to four digits.
TEST(DateMaskTest, FieldsTakeDigitsUpToTheirWidth)
{
    EXPECT_EQ(parseTime("%yyyy%mm%dd", "20180509"), 1525824000);
    EXPECT_EQ(parseTime(headerMask, "2018/05/0914:30     "), 1525876200);
    // Day "91" and hour "4": day 91 does not exist.
    EXPECT_EQ(parseTime(headerMask, "2018/5/914:30     "), -1);
    // Years of fewer than four digits are read as written, hence before 1970.
    EXPECT_EQ(parseTime("%yyyy/%mm/%dd", "970/01/01"), -1);
    EXPECT_EQ(parseTime("%yyyy/%mm/%dd", "18/05/09"), -1);
}

TEST(DateMaskTest, RefusesTextsThatDoNotMatch)
{
    // The time line without its five trailing blanks, or with fewer of them.
    EXPECT_EQ(parseTime(headerMask, "2018/05/0914:30"), -1);
    EXPECT_EQ(parseTime(headerMask, "2018/05/0914:30    "), -1);
    // Text after the mask's end.
    EXPECT_EQ(parseTime(headerMask, "2018/05/0914:30      "), -1);
    EXPECT_EQ(parseTime("%yyyy/%mm/%dd", "2018/05/09x"), -1);
    // A five-digit year leaves a digit where "/" must be.
    EXPECT_EQ(parseTime("%yyyy/%mm/%dd", "02018/05/09"), -1);
    EXPECT_EQ(parseTime("%yyyy/%mm/%dd", "20180/05/09"), -1);
    // A three-digit field, signs, blanks, empty fields, other separators.
    EXPECT_EQ(parseTime("%yyyy/%mm/%dd", "2018/005/09"), -1);
    EXPECT_EQ(parseTime("%yyyy/%mm/%dd", "2018/+5/09"), -1);
    EXPECT_EQ(parseTime("%yyyy/%mm/%dd", "2018/ 5/09"), -1);
    EXPECT_EQ(parseTime("%yyyy/%mm/%dd", "2018//09"), -1);
    EXPECT_EQ(parseTime("%yyyy/%mm/%dd", "2018-05-09"), -1);
    EXPECT_EQ(parseTime("%yyyy/%mm/%dd", "2018/05/"), -1);
    EXPECT_EQ(parseTime("%yyyy/%mm/%dd", ""), -1);
    EXPECT_EQ(parseTime("", "x"), -1);
    EXPECT_EQ(parseTime("%hh:%ii", std::string("09:0\0" "5", 6)), -1);
}

TEST(DateMaskTest, RefusesImpossibleMoments)
{
    EXPECT_EQ(parseTime(fullMask, "2018-00-09 00:00:00"), -1);
    EXPECT_EQ(parseTime(fullMask, "2018-13-09 00:00:00"), -1);
    EXPECT_EQ(parseTime(fullMask, "2018-05-00 00:00:00"), -1);
    EXPECT_EQ(parseTime(fullMask, "2018-05-32 00:00:00"), -1);
    EXPECT_EQ(parseTime(fullMask, "2018-04-31 00:00:00"), -1);
    EXPECT_EQ(parseTime(fullMask, "2023-02-29 00:00:00"), -1);
    EXPECT_EQ(parseTime(fullMask, "2024-02-30 00:00:00"), -1);
    EXPECT_EQ(parseTime(fullMask, "2018-05-09 24:00:00"), -1);
    EXPECT_EQ(parseTime(fullMask, "2018-05-09 23:60:00"), -1);
    EXPECT_EQ(parseTime(fullMask, "2018-05-09 23:59:60"), -1);
    // The edges of the range.
    EXPECT_EQ(parseTime(fullMask, "1969-12-31 23:59:59"), -1);
    EXPECT_EQ(parseTime(fullMask, "2038-01-19 03:14:08"), -1);
    EXPECT_EQ(parseTime(fullMask, "2038-01-20 00:00:00"), -1);
    EXPECT_EQ(parseTime(fullMask, "9999-12-31 23:59:59"), -1);
    EXPECT_EQ(parseTime(fullMask, "0000-00-00 00:00:00"), -1);
    // What -1 prints does not read back as a time.
    EXPECT_EQ(parseTime(headerMask, formatTime("%yyyy/%mm/%dd", -1) + formatTime("%hh:%ii     ", -1)), -1);
}

} // namespace
