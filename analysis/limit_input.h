// limit_input.h: limits as people type them and the settings file keeps them,
// and the checks they must pass.
//
// A limit is written with one decimal ("2.0", "-0.5"); it is read from the same
// form (a whole number such as "8" too), and nothing else: no blanks, no
// exponent, no second decimal. Temperatures are kept in tenths of a degree
// Celsius; the Fahrenheit forms here convert tenths to tenths, rounded, so a
// Celsius limit shown in Fahrenheit and read back is the limit it was.
#pragma once

#include "analysis/limits.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace analysis {

// "2.0" for 20, "-0.5" for -5.
std::string tenthsText(int32_t tenths);
// The tenths of "-12.5", "8" or "8.0"; none for anything else or more than five
// digits before the point.
std::optional<int32_t> readTenths(std::string_view text);
// A whole number of minutes, 0 or more ("15"); none for anything else or more
// than six digits.
std::optional<int32_t> readMinutes(std::string_view text);

// Tenths of a degree Celsius as tenths of a degree Fahrenheit, and back.
int32_t fahrenheitTenths(int32_t celsiusTenths);
int32_t celsiusTenths(int32_t fahrenheitTenths);

// The largest temperature limit either way, in tenths of a degree Celsius: far
// beyond any logger, and short enough to show in Fahrenheit in a number field.
constexpr int32_t extremeTemperature = 10000;

// What makes a set of limits unusable; None for limits that may be kept.
enum class LimitProblem {
    None,
    TemperatureRange,   // a temperature limit outside -1000.0 to 1000.0 degrees Celsius
    TemperatureOrder,   // the low temperature limit above the high one
    HumidityOrder,      // the low humidity limit above the high one
    HumidityRange,      // a humidity limit outside 0 to 100 %RH
    NegativeDelay,
};
LimitProblem checkLimits(const Limits& limits);

} // namespace analysis
