// limit_options.cpp: --temp-limits, --rh-limits and --delay.
#include "cli/limit_options.h"

#include "analysis/limit_input.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>

namespace cli {

namespace {

// No logger reads beyond this many degrees, in either scale; it keeps every
// limit far inside the 32-bit range of tenths.
constexpr double largestTemperature = 1000.0;

// One side of a pair: empty gives none; else a decimal number within
// [lowest, highest], in tenths (rounded to the nearest).
std::optional<int32_t> parseSide(const std::string& option, const std::string& text, double lowest, double highest,
                                 const char* range)
{
    if (text.empty())
        return std::nullopt;
    double value = 0;
    const char* end = text.data() + text.size();
    const char* start = text.data() + (text[0] == '+' ? 1 : 0);
    const auto [stop, error] = std::from_chars(start, end, value, std::chars_format::fixed);
    if (error != std::errc() || stop != end || !std::isfinite(value))
        throw CLI::ValidationError(option, "not a number: " + text);
    if (value < lowest || value > highest)
        throw CLI::ValidationError(option, std::string("outside ") + range + ": " + text);
    return static_cast<int32_t>(std::lround(value * 10.0));
}

// "LO,HI" into `low` and `high`; at least the comma must be there.
void parsePair(const std::string& option, const std::string& text, double lowest, double highest, const char* range,
               std::optional<int32_t>& low, std::optional<int32_t>& high)
{
    const size_t comma = text.find(',');
    if (comma == std::string::npos || text.find(',', comma + 1) != std::string::npos)
        throw CLI::ValidationError(option, "LO,HI (either may be left empty): " + text);
    low = parseSide(option, text.substr(0, comma), lowest, highest, range);
    high = parseSide(option, text.substr(comma + 1), lowest, highest, range);
    if (low && high && *low > *high)
        throw CLI::ValidationError(option, "the low limit lies above the high one: " + text);
}

void parseDelay(const std::string& text, int32_t& minutes)
{
    int32_t value = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || stop != text.data() + text.size() || text.empty())
        throw CLI::ValidationError("--delay", "not a whole number of minutes: " + text);
    if (value < 0)
        throw CLI::ValidationError("--delay", "a delay cannot be negative: " + text);
    minutes = value;
}

} // namespace

void addLimitOptions(CLI::App* sub, LimitOptions& o)
{
    sub->add_option_function<std::string>(
           "--temp-limits",
           [&o](const std::string& t) {
               parsePair("--temp-limits", t, -largestTemperature, largestTemperature, "-1000 to 1000 degrees",
                         o.temperatureLow, o.temperatureHigh);
           },
           "Temperature limits, low and high, in the output's scale (degrees F with --fahrenheit)")
        ->type_name("LO,HI");
    sub->add_option_function<std::string>(
           "--rh-limits",
           [&o](const std::string& t) { parsePair("--rh-limits", t, 0.0, 100.0, "0 to 100 %RH", o.humidityLow, o.humidityHigh); },
           "Humidity limits, low and high, in %RH from 0 to 100")
        ->type_name("LO,HI");
    sub->add_option_function<std::string>(
           "--delay", [&o](const std::string& t) { parseDelay(t, o.delayMinutes); },
           "Minutes an excursion must last to count (default: 0)")
        ->type_name("MINUTES");
}

analysis::Limits toLimits(const LimitOptions& o, bool fahrenheit)
{
    const auto celsius = [fahrenheit](std::optional<int32_t> t) {
        return t && fahrenheit ? std::optional<int32_t>(analysis::celsiusTenths(*t)) : t;
    };
    analysis::Limits limits;
    limits.value[analysis::TemperatureLow] = celsius(o.temperatureLow);
    limits.value[analysis::TemperatureHigh] = celsius(o.temperatureHigh);
    limits.value[analysis::HumidityLow] = o.humidityLow;
    limits.value[analysis::HumidityHigh] = o.humidityHigh;
    limits.delayMinutes = o.delayMinutes;
    return limits;
}

} // namespace cli
