// limit_text.h: the words and numbers of the limit figures (analysis/limits.h),
// the same on the command line and in the report.
//
// Temperatures show in the scale in force (app::settings().celsius), humidities
// in "RH%" as the graph shows them. Texts are Windows-1252.
#pragma once

#include "analysis/limits.h"

#include <cstdint>
#include <optional>
#include <string>

namespace analysis {

// "Temperature high", "Temperature low", "Humidity high", "Humidity low".
const char* limitName(LimitKind kind);
// A limit or reading of `kind` in tenths with one decimal and its unit:
// "8.0 \xB0" "C", "46.4 \xB0" "F", "60.0 RH%".
std::string limitValueText(LimitKind kind, int32_t tenths);
// "above 8.0 \xB0" "C" or "below 30.0 RH%": the side a value is beyond.
std::string beyondText(LimitKind kind, int32_t tenths);
// Degrees Celsius in the scale in force, `decimals` decimals and the unit; "-"
// for none.
std::string temperatureText(std::optional<double> celsius, int decimals);
// %RH with `decimals` decimals and "RH%"; "-" for none.
std::string humidityText(std::optional<double> percent, int decimals);
// A share in percent with one decimal and " %" ("91.7 %"); "-" for none.
std::string percentText(std::optional<double> percent);
// Degrees Celsius in the scale in force, as a bare number.
double inScale(double celsius);
// A duration in words, largest unit first ("1 hours, 30 minutes"); 0 gives
// "0 seconds".
std::string durationWords(int64_t seconds);

} // namespace analysis
