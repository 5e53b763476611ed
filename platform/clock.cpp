// clock.cpp: the millisecond clock on std::chrono's steady clock, which is
// monotonic, so intervals stay right when the wall clock is set.
#include "platform/clock.h"

#include <chrono>
#include <ctime>
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

int32_t localTimeNow()
{
    // The local fields read back as if they were UTC: the time as written.
    std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
    return static_cast<int32_t>(_mkgmtime(&local));
#else
    localtime_r(&now, &local);
    return static_cast<int32_t>(timegm(&local));
#endif
}

} // namespace platform
