// stats.cpp: `climadesk stats IN.log [--json] [--fahrenheit] [limits]`.
//
// Text: the panel's facts with the time of each extreme, the dew-point extremes,
// the means, the mean kinetic temperature, the coverage, the figures of each
// limit given and the humidity profile as the RH Profile window lays it out.
// JSON: one object, keys as the manual page lists them, readings and hours as
// numbers.
#include "cli/cli.h"
#include "cli/commands.h"

#include "analysis/profile.h"
#include "analysis/limit_text.h"
#include "analysis/limits.h"
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

std::string secondsText(int32_t time)
{
    return records::formatTime(secondsMask, time);
}

std::string coldChainText(const analysis::LimitReport& r)
{
    return "Temperature mean: " + analysis::temperatureText(r.temperatureMean, 2) + "\n"
        + "Humidity mean: " + analysis::humidityText(r.humidityMean, 2) + "\n"
        + "Dew point mean: " + analysis::temperatureText(r.dewPointMean, 2) + "\n"
        + "MKT: " + analysis::temperatureText(r.kineticTemperature, 2) + "\n"
        + "MKT highest 24 hours: " + analysis::temperatureText(r.highestDayKineticTemperature, 2) + "\n"
        + "MKT highest 30 days: " + analysis::temperatureText(r.highestMonthKineticTemperature, 2) + "\n"
        + "Coverage: " + analysis::percentText(r.coveragePercent) + "\n";
}

std::string limitText(analysis::LimitKind kind, int32_t limit, const analysis::LimitFigures& f)
{
    const auto& longest = f.longest;
    return std::string(analysis::limitName(kind)) + ": " + analysis::beyondText(kind, limit) + "\n"
        + "  Excursions: " + std::to_string(f.excursions.size()) + "\n"
        + "  Time beyond: " + analysis::durationWords(f.secondsBeyond) + "\n"
        + "  Time beyond, cumulative: " + analysis::durationWords(f.secondsBeyondCumulative) + "\n"
        + "  Longest: " + (longest ? secondsText(longest->start) + ", " + analysis::durationWords(longest->seconds)
                                         + ", peak " + analysis::limitValueText(kind, longest->peak)
                                   : "-") + "\n"
        + "  First: " + (f.excursions.empty() ? "-" : secondsText(f.excursions.front().start)) + "\n";
}

std::string limitsText(const analysis::Limits& limits, const analysis::LimitReport& r)
{
    if (!analysis::anyLimit(limits))
        return "";
    std::string text = "\nLimits (delay " + std::to_string(limits.delayMinutes) + " minutes)\n";
    for (int kind = 0; kind < analysis::limitKindCount; ++kind)
        if (limits.value[kind])
            text += limitText(static_cast<analysis::LimitKind>(kind), *limits.value[kind], r.limit[kind]);
    return text;
}

std::string summaryText(const analysis::Summary& s, const analysis::Limits& limits, const analysis::LimitReport& r,
                        bool fahrenheit)
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
    text += coldChainText(r) + limitsText(limits, r);
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

std::string numberJson(std::optional<double> value, int decimals)
{
    return value ? fixed(*value, decimals) : "null";
}

std::string temperatureJson(std::optional<double> celsius)
{
    return celsius ? fixed(analysis::inScale(*celsius), 2) : "null";
}

// A reading of `kind` in tenths as a number in the output's unit.
std::string readingJson(analysis::LimitKind kind, int32_t tenths)
{
    const bool temperature = kind == analysis::TemperatureHigh || kind == analysis::TemperatureLow;
    return fixed(temperature ? analysis::inScale(tenths / 10.0) : tenths / 10.0, 1);
}

const char* limitKey(analysis::LimitKind kind)
{
    switch (kind) {
    case analysis::TemperatureHigh: return "temperature_high";
    case analysis::TemperatureLow: return "temperature_low";
    case analysis::HumidityHigh: return "humidity_high";
    case analysis::HumidityLow: return "humidity_low";
    }
    return "";
}

std::string limitJson(analysis::LimitKind kind, int32_t limit, const analysis::LimitFigures& f)
{
    const auto& longest = f.longest;
    return std::string("\n  ") + quoted(limitKey(kind)) + ": {\"limit\": " + readingJson(kind, limit)
        + ", \"count\": " + std::to_string(f.excursions.size())
        + ", \"seconds_beyond\": " + std::to_string(f.secondsBeyond)
        + ", \"seconds_beyond_cumulative\": " + std::to_string(f.secondsBeyondCumulative)
        + ",\n   \"longest\": "
        + (longest ? "{\"start\": " + quoted(secondsText(longest->start)) + ", \"seconds\": "
                         + std::to_string(longest->seconds) + ", \"peak\": " + readingJson(kind, longest->peak) + "}"
                   : "null")
        + ", \"first\": "
        + (f.excursions.empty() ? "null" : "{\"start\": " + quoted(secondsText(f.excursions.front().start)) + "}")
        + "}";
}

std::string excursionsJson(const analysis::Limits& limits, const analysis::LimitReport& r)
{
    std::string json = "{";
    for (int kind = 0; kind < analysis::limitKindCount; ++kind)
        if (limits.value[kind]) {
            if (json.size() > 1)
                json += ",";
            json += limitJson(static_cast<analysis::LimitKind>(kind), *limits.value[kind], r.limit[kind]);
        }
    json += json.size() > 1 ? "\n }" : "}";
    return json;
}

std::string coldChainJson(const analysis::Limits& limits, const analysis::LimitReport& r)
{
    return ",\n \"temperature_mean\": " + temperatureJson(r.temperatureMean)
        + ",\n \"humidity_mean\": " + numberJson(r.humidityMean, 2)
        + ",\n \"dew_point_mean\": " + temperatureJson(r.dewPointMean)
        + ",\n \"mkt\": " + temperatureJson(r.kineticTemperature)
        + ",\n \"mkt_24h_max\": " + temperatureJson(r.highestDayKineticTemperature)
        + ",\n \"mkt_30d_max\": " + temperatureJson(r.highestMonthKineticTemperature)
        + ",\n \"coverage_percent\": " + numberJson(r.coveragePercent, 1)
        + ",\n \"delay_minutes\": " + std::to_string(limits.delayMinutes)
        + ",\n \"excursions\": " + excursionsJson(limits, r);
}

std::string summaryJson(const analysis::Summary& s, const analysis::Limits& limits, const analysis::LimitReport& r,
                        bool fahrenheit)
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
        + coldChainJson(limits, r)
        + ",\n \"profile\": " + profileJson(s) + "\n}\n";
}

// The figures of a record file, taken as its pieces are read: stats keeps no
// list of the records, so a file of any length takes little memory and no
// time to fill and clear one.
struct FileFigures {
    const analysis::Limits& limits;
    records::LoadHeader header;
    analysis::SummaryScan summary;
    std::optional<analysis::LimitScan> audit;   // made once the interval is known

    void take(const std::vector<records::Record>& piece)
    {
        summary.add(piece.data(), piece.size());
        startAudit().add(piece.data(), piece.size());
    }

    analysis::LimitScan& startAudit()
    {
        if (!audit)
            audit.emplace(header.interval, limits);
        return *audit;
    }

    records::TimeOfRecord times() const
    {
        return [this](int64_t index) {
            return records::timeOfIndex(header.newestTime, header.interval, summary.taken(), index);
        };
    }
};

} // namespace

int stats(const StatsOptions& options)
{
    const analysis::Limits limits = toLimits(options.limits, options.fahrenheit);
    FileFigures figures{limits, {}, {}, std::nullopt};
    const auto take = [&figures](std::vector<records::Record>& piece) { figures.take(piece); };
    if (!readDone(records::readRecordPieces(options.input, figures.header, take), options.input))
        return exitFailed;
    // The unit of the value texts, for this run only: nothing is saved.
    app::settings().celsius = !options.fahrenheit;
    const analysis::Summary s = figures.summary.finish(figures.header.interval, figures.times());
    const analysis::LimitReport r = figures.startAudit().finish(figures.times());
    platform::printOut(platform::consoleText(options.json ? summaryJson(s, limits, r, options.fahrenheit)
                                                          : summaryText(s, limits, r, options.fahrenheit)));
    return exitDone;
}

} // namespace cli
