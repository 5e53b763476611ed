// limit_input.cpp: limits as typed and kept, and their checks.
#include "analysis/limit_input.h"

#include "records/derived.h"

#include <cmath>
#include <cstdlib>

namespace analysis {

namespace {

constexpr size_t maxLimitDigits = 5;
constexpr size_t maxMinuteDigits = 6;
constexpr int32_t fullHumidity = 1000;


bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The value of `text` when it is one to `maxDigits` decimal digits and nothing else.
std::optional<int32_t> readDigits(std::string_view text, size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits)
        return std::nullopt;
    int32_t value = 0;
    for (char c : text) {
        if (!isDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool inOrder(const Limits& limits, LimitKind low, LimitKind high)
{
    return !limits.value[low] || !limits.value[high] || *limits.value[low] <= *limits.value[high];
}

bool inRange(const std::optional<int32_t>& value, int32_t lowest, int32_t highest)
{
    return !value || (*value >= lowest && *value <= highest);
}

} // namespace

std::string tenthsText(int32_t tenths)
{
    const int64_t magnitude = std::llabs(static_cast<int64_t>(tenths));
    return (tenths < 0 ? "-" : "") + std::to_string(magnitude / 10) + "." + std::to_string(magnitude % 10);
}

std::optional<int32_t> readTenths(std::string_view text)
{
    const bool negative = text.starts_with('-');
    if (negative)
        text.remove_prefix(1);
    int32_t fraction = 0;
    const size_t point = text.find('.');
    if (point != std::string_view::npos) {
        if (text.size() != point + 2 || !isDigit(text.back()))
            return std::nullopt;
        fraction = text.back() - '0';
        text = text.substr(0, point);
    }
    const std::optional<int32_t> whole = readDigits(text, maxLimitDigits);
    if (!whole)
        return std::nullopt;
    const int32_t tenths = *whole * 10 + fraction;
    return negative ? -tenths : tenths;
}

std::optional<int32_t> readMinutes(std::string_view text)
{
    return readDigits(text, maxMinuteDigits);
}

int32_t fahrenheitTenths(int32_t celsiusTenths)
{
    // Limits lie within extremeTemperature, far inside 32 bits in either scale.
    return static_cast<int32_t>(records::fahrenheitTenths(celsiusTenths));
}

int32_t celsiusTenths(int32_t fahrenheitTenths)
{
    return static_cast<int32_t>(std::lround((fahrenheitTenths - 320) / 1.8));
}

LimitProblem checkLimits(const Limits& limits)
{
    for (LimitKind kind : {TemperatureLow, TemperatureHigh})
        if (!inRange(limits.value[kind], -extremeTemperature, extremeTemperature))
            return LimitProblem::TemperatureRange;
    if (!inOrder(limits, TemperatureLow, TemperatureHigh))
        return LimitProblem::TemperatureOrder;
    for (LimitKind kind : {HumidityLow, HumidityHigh})
        if (!inRange(limits.value[kind], 0, fullHumidity))
            return LimitProblem::HumidityRange;
    if (!inOrder(limits, HumidityLow, HumidityHigh))
        return LimitProblem::HumidityOrder;
    if (limits.delayMinutes < 0)
        return LimitProblem::NegativeDelay;
    return LimitProblem::None;
}

} // namespace analysis
