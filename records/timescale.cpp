// timescale.cpp: the time-scale level table.
#include "records/timescale.h"

#include <algorithm>
#include <iterator>

namespace records {

namespace {

// tickStep is always span expressed in unit.
constexpr TimeScaleLevel levels[] = {
    {10, 10, "s"},        // 1
    {20, 20, "s"},        // 2
    {30, 30, "s"},        // 3
    {60, 1, "min"},       // 4
    {120, 2, "min"},      // 5
    {300, 5, "min"},      // 6
    {600, 10, "min"},     // 7
    {1200, 20, "min"},    // 8
    {1800, 30, "min"},    // 9
    {3600, 1, "h"},       // 10
    {7200, 2, "h"},       // 11
    {18000, 5, "h"},      // 12
    {36000, 10, "h"},     // 13
    {86400, 1, "day"},    // 14
    {172800, 2, "day"},   // 15
    {604800, 1, "week"},  // 16
    {1209600, 2, "week"}, // 17
    {2419200, 4, "week"}, // 18
    {7862400, 13, "week"},  // 19
    {31449600, 52, "week"}, // 20: five times 52 weeks
};
static_assert(std::size(levels) == lastZoomLevel - firstTimeScaleLevel + 1, "one row per level");

// The smallest level up to `last` whose five divisions hold `span`; `last` when none does.
int levelHolding(int32_t span, int last)
{
    const int32_t fifth = span / 5;
    for (int level = firstTimeScaleLevel; level < last; ++level) {
        if (fifth < zoomScaleLevel(level).span)
            return level;
    }
    return last;
}

} // namespace

const TimeScaleLevel& timeScaleLevel(int level)
{
    return zoomScaleLevel(std::min(level, lastTimeScaleLevel));
}

const TimeScaleLevel& zoomScaleLevel(int level)
{
    return levels[std::clamp(level, firstTimeScaleLevel, lastZoomLevel) - firstTimeScaleLevel];
}

int levelForSpan(int32_t span)
{
    return levelHolding(span, lastTimeScaleLevel);
}

int zoomLevelForSpan(int32_t span)
{
    return levelHolding(span, lastZoomLevel);
}

} // namespace records
