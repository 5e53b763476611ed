// clock.cpp: the millisecond clock on std::chrono's steady clock, which is
// monotonic, so intervals stay right when the wall clock is set.
#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace platform {

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

} // namespace platform
