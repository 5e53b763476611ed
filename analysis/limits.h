// limits.h: limits on the readings, the excursions beyond them and the mean
// kinetic temperature: the figures a cold-chain audit asks for.
//
// Limits are integers in the readings' own tenths (degrees Celsius, %RH); each
// of the four is optional. A value greater than a high limit or less than a low
// one is beyond it; a value equal to a limit is within, and a gap (records::isGap)
// is never beyond. An excursion is a longest run of consecutive records beyond
// the same limit, ended by a gap or a record within; it counts when it lasts at
// least the delay. Nothing here fails or draws: the report, the panel, the
// Monitor and the command line show what these functions compute.
#pragma once

#include "records/store.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace analysis {

// Which of the four limits: the order of every table and report.
enum LimitKind : int {
    TemperatureHigh = 0,
    TemperatureLow = 1,
    HumidityHigh = 2,
    HumidityLow = 3,
};
constexpr int limitKindCount = 4;

struct Limits {
    // Tenths of a degree Celsius or of %RH, indexed by LimitKind.
    std::optional<int32_t> value[limitKindCount];
    // Minutes an excursion must last to count; 0 or more.
    int32_t delayMinutes = 0;

    friend bool operator==(const Limits&, const Limits&) = default;
};

// True when at least one of the four limits is set.
bool anyLimit(const Limits& limits);
// True when `reading` (tenths) lies beyond the limit of `kind` (which must be set).
bool isBeyond(const Limits& limits, LimitKind kind, int32_t reading);

} // namespace analysis
