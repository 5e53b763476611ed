// limit_options.h: the options that set limits on a subcommand's readings,
// shared by every subcommand that takes them (stats, report, serve).
//
//   --temp-limits LO,HI   temperature limits, in the output's scale: degrees
//                         Fahrenheit with --fahrenheit, else Celsius
//   --rh-limits LO,HI     humidity limits in %RH, 0 to 100
//   --delay MINUTES       how long an excursion must last to count (default 0)
//
// Either side of a pair may be empty ("--temp-limits ,8" sets a high limit
// only). A value that is not a number, a low above its high, a humidity outside
// 0 to 100 or a negative delay is a parse error naming the option, so the
// command line exits with exitUsage.
#pragma once

#include "analysis/limits.h"

#include <cstdint>
#include <optional>

namespace CLI {
class App;
}

namespace cli {

// The limits as given, before the scale is known (--fahrenheit may come later).
struct LimitOptions {
    // Tenths of a degree in the output's scale; none when not given.
    std::optional<int32_t> temperatureLow, temperatureHigh;
    // Tenths of %RH; none when not given.
    std::optional<int32_t> humidityLow, humidityHigh;
    int32_t delayMinutes = 0;
};

// Adds --temp-limits, --rh-limits and --delay to `sub`, filling `options`.
void addLimitOptions(CLI::App* sub, LimitOptions& options);

// The limits in the store's units (tenths of degrees Celsius and of %RH);
// `fahrenheit` says the temperatures were given in degrees Fahrenheit, and each
// is then rounded to the nearest tenth of a degree Celsius.
analysis::Limits toLimits(const LimitOptions& options, bool fahrenheit);

} // namespace cli
