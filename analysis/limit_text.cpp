// limit_text.cpp: the words and numbers of the limit figures.
#include "analysis/limit_text.h"

#include "analysis/statistics.h"
#include "app/settings.h"
#include "graph/graph.h"
#include "records/derived.h"

#include <cstdio>

namespace analysis {

namespace {

// `value` with `decimals` decimals; a value that rounds to zero shows no sign.
std::string number(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string result = text;
    if (result[0] == '-' && result.find_first_not_of("-0.") == std::string::npos)
        result.erase(0, 1);
    return result;
}

bool isTemperature(LimitKind kind)
{
    return kind == TemperatureHigh || kind == TemperatureLow;
}

} // namespace

const char* limitName(LimitKind kind)
{
    switch (kind) {
    case TemperatureHigh: return "Temperature high";
    case TemperatureLow: return "Temperature low";
    case HumidityHigh: return "Humidity high";
    case HumidityLow: return "Humidity low";
    }
    return "";
}

std::string limitValueText(LimitKind kind, int32_t tenths)
{
    return isTemperature(kind) ? graph::formatTemperature(tenths) : graph::formatHumidity(tenths);
}

std::string beyondText(LimitKind kind, int32_t tenths)
{
    const bool high = kind == TemperatureHigh || kind == HumidityHigh;
    return (high ? "above " : "below ") + limitValueText(kind, tenths);
}

double inScale(double celsius)
{
    return app::settings().celsius ? celsius : records::toFahrenheit(celsius);
}

std::string temperatureText(std::optional<double> celsius, int decimals)
{
    if (!celsius)
        return "-";
    return number(inScale(*celsius), decimals) + (app::settings().celsius ? " \xB0" "C" : " \xB0" "F");
}

std::string humidityText(std::optional<double> percent, int decimals)
{
    return percent ? number(*percent, decimals) + " RH%" : "-";
}

std::string percentText(std::optional<double> percent)
{
    return percent ? number(*percent, 1) + " %" : "-";
}

std::string durationWords(int64_t seconds)
{
    if (seconds <= 0)
        return "0 seconds";
    // The longest store lasts far less than 68 years of 32-bit seconds.
    return durationText(static_cast<int32_t>(std::min<int64_t>(seconds, INT32_MAX)));
}

} // namespace analysis
