// clock.h: a millisecond clock and sleeping.
#pragma once

#include <cstdint>

namespace platform {

// Milliseconds from an arbitrary start; never goes backwards.
int64_t milliseconds();
void sleepMilliseconds(int ms);

} // namespace platform
