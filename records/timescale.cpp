// timescale.cpp: the time-scale level table.
#include "records/timescale.h"

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
};
static_assert(std::size(levels) == lastTimeScaleLevel - firstTimeScaleLevel + 1,
              "one row per time-scale level");

} // namespace

const TimeScaleLevel& timeScaleLevel(int level)
{
    if (level < firstTimeScaleLevel)
        level = firstTimeScaleLevel;
    if (level > lastTimeScaleLevel)
        level = lastTimeScaleLevel;
    return levels[level - firstTimeScaleLevel];
}

int levelForSpan(int32_t span)
{
    const int32_t fifth = span / 5;
    for (int level = firstTimeScaleLevel; level < lastTimeScaleLevel; ++level) {
        if (fifth < timeScaleLevel(level).span)
            return level;
    }
    return lastTimeScaleLevel;
}

} // namespace records
