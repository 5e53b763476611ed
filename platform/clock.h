// clock.h: a millisecond clock, sleeping, and the wall clock.
#pragma once

#include <cstdint>

namespace platform {

// Milliseconds from an arbitrary start; never goes backwards.
int64_t milliseconds();
void sleepMilliseconds(int ms);
// The local date and clock time now, as the program counts times (seconds
// since 1970-01-01 00:00:00 as written, no time zone; records/datemask.h).
int32_t localTimeNow();

} // namespace platform
