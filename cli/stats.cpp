// stats.cpp: `climadesk stats IN.log [--json] [--fahrenheit]`.
//
// Text: the panel's facts with the time of each extreme, the dew-point extremes
// and the humidity profile as the RH Profile window lays it out. JSON: one
// object, keys as the manual page lists them, readings and hours as numbers.
#include "cli/cli.h"
#include "cli/commands.h"

#include "analysis/profile.h"
#include "analysis/statistics.h"
#include "analysis/summary.h"
#include "app/settings.h"
#include "graph/graph.h"
#include "platform/console.h"
#include "records/datemask.h"
#include "records/derived.h"

#include <cstdio>

namespace cli {

namespace {

constexpr int columnWidth = 7;

std::string timeText(int32_t time)
{
    return records::formatTime(timeMask, time);
}

std::string fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// A dew point, or any temperature in degrees Celsius, in the chosen unit.
double inUnit(double celsius, bool fahrenheit)
{
    return fahrenheit ? records::toFahrenheit(celsius) : celsius;
}

std::string padLeft(const std::string& text, size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// ---- Text ---------------------------------------------------------------

std::string extremeLine(const char* label, const std::optional<analysis::Extreme>& e, std::string (*format)(int32_t))
{
    return std::string(label) + (e ? format(e->value) + " (" + timeText(e->time) + ")" : "-") + "\n";
}

std::string dewPointLine(const char* label, const std::optional<analysis::DewPointExtreme>& e, bool fahrenheit)
{
    const std::string unit = fahrenheit ? " \xB0" "F" : " \xB0" "C";
    return std::string(label) + (e ? fixed(inUnit(e->value, fahrenheit), 1) + unit + " (" + timeText(e->time) + ")" : "-")
        + "\n";
}

std::string profileRow(const std::string& label, const std::array<int64_t, analysis::humidityBands>& counts,
                       int32_t interval)
{
    std::string row = label;
    for (int64_t count : counts)
        row += padLeft(analysis::hoursText(count, interval), columnWidth);
    return row + "\n";
}

std::string profileText(const analysis::Summary& s)
{
    std::string text = "RH Profile (hours)\n" + std::string(columnWidth, ' ');
    for (int band = 0; band < analysis::humidityBands; ++band)
        text += padLeft(analysis::humidityBandTitle(band), columnWidth);
    text += "\n";
    for (int band = analysis::temperatureBands - 1; band >= 0; --band)
        text += profileRow(analysis::temperatureBandLabel(band), s.profile[static_cast<size_t>(band)], s.interval);
    return text + "\n" + profileRow("Tot    ", s.profileTotal, s.interval);
}

std::string summaryText(const analysis::Summary& s, bool fahrenheit)
{
    std::string text = std::to_string(s.count) + " records (interval " + analysis::durationText(s.interval) + ")\n";
    if (s.count == 0)
        return text;
    text = "From: " + timeText(s.firstTime) + "\nTo: " + timeText(s.lastTime) + "\n" + text;
    text += extremeLine("Humidity max: ", s.humidityMax, graph::formatHumidity);
    text += extremeLine("Humidity min: ", s.humidityMin, graph::formatHumidity);
    text += extremeLine("Temperature max: ", s.temperatureMax, graph::formatTemperature);
    text += extremeLine("Temperature min: ", s.temperatureMin, graph::formatTemperature);
    text += dewPointLine("Dew point max: ", s.dewPointMax, fahrenheit);
    text += dewPointLine("Dew point min: ", s.dewPointMin, fahrenheit);
    return text + "\n" + profileText(s);
}

// ---- JSON ---------------------------------------------------------------

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string timeJson(int32_t time, bool present)
{
    return present ? quoted(timeText(time)) : "null";
}

std::string extremeJson(const std::optional<analysis::Extreme>& e, bool temperature, bool fahrenheit)
{
    if (!e)
        return "null";
    const double value = temperature ? inUnit(e->value / 10.0, fahrenheit) : e->value / 10.0;
    return "{\"value\": " + fixed(value, 1) + ", \"time\": " + quoted(timeText(e->time)) + "}";
}

std::string dewPointJson(const std::optional<analysis::DewPointExtreme>& e, bool fahrenheit)
{
    if (!e)
        return "null";
    return "{\"value\": " + fixed(inUnit(e->value, fahrenheit), 1) + ", \"time\": " + quoted(timeText(e->time)) + "}";
}

std::string hoursJson(const std::array<int64_t, analysis::humidityBands>& counts, int32_t interval)
{
    std::string list;
    for (int64_t count : counts)
        list += (list.empty() ? "" : ", ") + fixed(analysis::hoursOf(count, interval), 2);
    return "[" + list + "]";
}

// Humidity bands in %RH, then a row per temperature band in degrees Celsius.
std::string profileJson(const analysis::Summary& s)
{
    const auto& edges = analysis::humidityBandEdges;
    const int32_t width = analysis::temperatureBandWidth;
    std::string bands, rows;
    for (size_t band = 0; band < analysis::humidityBands; ++band)
        bands += std::string(band ? ", " : "") + "{\"from\": " + std::to_string(edges[band] / 10)
            + ", \"to\": " + std::to_string(edges[band + 1] / 10) + "}";
    for (int band = 0; band < analysis::temperatureBands; ++band)
        rows += std::string(band ? ",\n    " : "") + "{\"from\": " + std::to_string(band * width / 10) + ", \"to\": "
            + std::to_string((band + 1) * width / 10) + ", \"hours\": "
            + hoursJson(s.profile[static_cast<size_t>(band)], s.interval) + "}";
    return "{\n   \"humidityBands\": [" + bands + "],\n   \"rows\": [\n    " + rows + "],\n   \"total\": "
        + hoursJson(s.profileTotal, s.interval) + "}";
}

std::string summaryJson(const analysis::Summary& s, bool fahrenheit)
{
    const bool any = s.count > 0;
    return "{\n \"from\": " + timeJson(s.firstTime, any) + ",\n \"to\": " + timeJson(s.lastTime, any)
        + ",\n \"count\": " + std::to_string(s.count) + ",\n \"interval\": " + std::to_string(s.interval)
        + ",\n \"temperatureUnit\": " + quoted(fahrenheit ? "F" : "C")
        + ",\n \"humidityMax\": " + extremeJson(s.humidityMax, false, fahrenheit)
        + ",\n \"humidityMin\": " + extremeJson(s.humidityMin, false, fahrenheit)
        + ",\n \"temperatureMax\": " + extremeJson(s.temperatureMax, true, fahrenheit)
        + ",\n \"temperatureMin\": " + extremeJson(s.temperatureMin, true, fahrenheit)
        + ",\n \"dewPointMax\": " + dewPointJson(s.dewPointMax, fahrenheit)
        + ",\n \"dewPointMin\": " + dewPointJson(s.dewPointMin, fahrenheit)
        + ",\n \"profile\": " + profileJson(s) + "\n}\n";
}

} // namespace

int stats(const StatsOptions& options)
{
    records::RecordSeries series;
    if (!readInput(options.input, series))
        return exitFailed;
    // The unit of the value texts, for this run only: nothing is saved.
    app::settings().celsius = !options.fahrenheit;
    const analysis::Summary s = analysis::summarize(series.records, series.header.interval);
    platform::printOut(
        platform::consoleText(options.json ? summaryJson(s, options.fahrenheit) : summaryText(s, options.fahrenheit)));
    return exitDone;
}

} // namespace cli
