// limits.cpp: limits on the readings, excursions and mean kinetic temperature.
#include "analysis/limits.h"

namespace analysis {

bool anyLimit(const Limits& limits)
{
    for (const std::optional<int32_t>& value : limits.value)
        if (value)
            return true;
    return false;
}

bool isBeyond(const Limits& limits, LimitKind kind, int32_t reading)
{
    int32_t limit = *limits.value[kind];
    return kind == TemperatureHigh || kind == HumidityHigh ? reading > limit : reading < limit;
}

} // namespace analysis
