// clock.cpp: the millisecond clock on std::chrono's steady clock, which is
// monotonic, so intervals stay right when the wall clock is set; the calendar
// through the C library's time zone functions.
#include "platform/clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace platform {

namespace {

constexpr int64_t secondsPerDay = 86400;

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
int64_t daysFromCivil(int64_t year, int64_t month, int64_t day)
{
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The fields of a broken-down time as wall-clock seconds.
int64_t wallClockOfFields(const std::tm& fields)
{
    return daysFromCivil(fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday) * secondsPerDay
        + fields.tm_hour * 3600 + fields.tm_min * 60 + fields.tm_sec;
}

std::tm localFields(std::time_t utc)
{
    std::tm fields = {};
#ifdef _WIN32
    localtime_s(&fields, &utc);
#else
    localtime_r(&utc, &fields);
#endif
    return fields;
}

// Seconds east of UTC that the machine's zone has at `utc`.
int64_t offsetAt(int64_t utc)
{
    return wallClockOfFields(localFields(static_cast<std::time_t>(utc))) - utc;
}

} // namespace

int64_t milliseconds()
{
    auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count();
}

void sleepMilliseconds(int ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int64_t secondsNow()
{
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// Offsets change by at most a day, so the offsets in force a day before and a
// day after the wall-clock time are the only candidates: each that maps back to
// the same clock time is a reading of it, the earlier one wins; when neither
// does, the clock time lies in a skipped hour and the earlier offset reads it.
int64_t utcOfWallClock(int64_t wallClock)
{
    const int64_t before = offsetAt(wallClock - secondsPerDay);
    const int64_t after = offsetAt(wallClock + secondsPerDay);
    const int64_t first = wallClock - (before > after ? before : after);
    const int64_t second = wallClock - (before > after ? after : before);
    if (first + offsetAt(first) == wallClock)
        return first;
    if (second + offsetAt(second) == wallClock)
        return second;
    return wallClock - before;
}

int64_t wallClockOf(int64_t utcSeconds)
{
    return utcSeconds + offsetAt(utcSeconds);
}

int32_t localTimeNow()
{
    return static_cast<int32_t>(wallClockOf(secondsNow()));
}

} // namespace platform
