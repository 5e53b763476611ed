// clock.h: a millisecond clock, sleeping, and the calendar time of the machine.
//
// Wall-clock times are the record files' kind of time: seconds since 1970-01-01
// 00:00:00 of a date and clock time as written, with no time zone. The calendar
// functions convert between them and true (UTC) seconds through the machine's
// time zone (TZ on POSIX).
#pragma once

#include <cstdint>

namespace platform {

// Milliseconds from an arbitrary start; never goes backwards.
int64_t milliseconds();
void sleepMilliseconds(int ms);
// The local date and clock time now, as the program counts times (seconds
// since 1970-01-01 00:00:00 as written, no time zone; records/datemask.h).
int32_t localTimeNow();

// Seconds since 1970-01-01 00:00:00 UTC now.
int64_t secondsNow();
// The UTC seconds of a wall-clock time of the machine's time zone. A clock time
// that comes twice (the hour when daylight saving ends) is taken the first time,
// still in daylight saving time; one that never comes (the hour skipped when it
// starts) is read with the offset in force before the change, so it lands the
// skipped length later on the clock.
int64_t utcOfWallClock(int64_t wallClock);
// The machine's wall-clock time at `utcSeconds`.
int64_t wallClockOf(int64_t utcSeconds);

} // namespace platform
