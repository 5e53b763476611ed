#include "serve/metrics.h"

#include "app/settings.h"
#include "export/columns.h"
#include "export/timeseries.h"
#include "platform/clock.h"

#include <functional>
#include <optional>

namespace serve {

namespace {

// One metric family: its name, HELP, TYPE, and the value a logger has, if any.
struct Family {
    const char* name;
    const char* help;
    const char* type;
    std::function<std::optional<std::string>(const LoggerState&)> value;
};

std::string labelsOf(const LoggerState& state)
{
    return "logger=\"" + xls::escapedLabel(state.logger.name) + "\",address=\"" + app::addressText(state.logger.address) + "\"";
}

// The record the reading stands for, to derive dew point and absolute humidity.
xls::RowValues valuesOf(const Reading& reading)
{
    return xls::rowValues(records::Record{0, reading.humidity, reading.temperature}, false);
}

std::optional<std::string> readingValue(const LoggerState& state, const std::function<std::optional<std::string>(const Reading&)>& of)
{
    if (!state.up || !state.reading)
        return std::nullopt;
    return of(*state.reading);
}

std::optional<std::string> derivedValue(const LoggerState& state, xls::Column column)
{
    return readingValue(state, [column](const Reading& reading) -> std::optional<std::string> {
        const xls::Tenths tenths = valuesOf(reading)[column - 1];
        return tenths ? std::optional(xls::decimalText(*tenths, 1)) : std::nullopt;
    });
}

std::optional<std::string> limitValue(const analysis::Limits& limits, analysis::LimitKind kind, int decimals)
{
    const std::optional<int32_t>& limit = limits.value[kind];
    return limit ? std::optional(xls::decimalText(*limit, decimals)) : std::nullopt;
}

std::vector<Family> families(const analysis::Limits& limits)
{
    using analysis::LimitKind;
    auto limit = [&limits](LimitKind kind, int decimals) {
        return [&limits, kind, decimals](const LoggerState&) { return limitValue(limits, kind, decimals); };
    };
    return {
        {"sentrel_up", "1 when the logger answered its last query, else 0.", "gauge",
         [](const LoggerState& s) { return std::optional<std::string>(s.up ? "1" : "0"); }},
        {"sentrel_temperature_celsius", "Temperature the logger shows, in degrees Celsius.", "gauge",
         [](const LoggerState& s) {
             return readingValue(s, [](const Reading& r) { return std::optional(xls::decimalText(r.temperature, 1)); });
         }},
        {"sentrel_relative_humidity_ratio", "Relative humidity the logger shows, as a ratio from 0 to 1.", "gauge",
         [](const LoggerState& s) {
             return readingValue(s, [](const Reading& r) { return std::optional(xls::decimalText(r.humidity, 3)); });
         }},
        {"sentrel_dew_point_celsius", "Dew point of the current reading, in degrees Celsius.", "gauge",
         [](const LoggerState& s) { return derivedValue(s, xls::DewPointColumn); }},
        {"sentrel_absolute_humidity_grams_per_cubic_meter",
         "Absolute humidity of the current reading, in grams of water per cubic metre of air.", "gauge",
         [](const LoggerState& s) { return derivedValue(s, xls::AbsoluteHumidityColumn); }},
        {"sentrel_last_reading_timestamp_seconds", "Time of the newest sample the logger has stored, as Unix time.",
         "gauge",
         [](const LoggerState& s) {
             return readingValue(s, [](const Reading& r) -> std::optional<std::string> {
                 if (r.newestTime < 0)
                     return std::nullopt;
                 return std::to_string(platform::utcOfWallClock(r.newestTime));
             });
         }},
        {"sentrel_stored_samples", "Samples the logger has stored.", "gauge",
         [](const LoggerState& s) {
             return readingValue(s, [](const Reading& r) { return std::optional(std::to_string(r.sampleCount)); });
         }},
        {"sentrel_sample_interval_seconds", "Seconds between the samples the logger stores.", "gauge",
         [](const LoggerState& s) {
             return readingValue(s, [](const Reading& r) { return std::optional(std::to_string(r.interval)); });
         }},
        {"sentrel_query_duration_seconds", "How long the last query of the logger took, in seconds.", "gauge",
         [](const LoggerState& s) {
             return s.queries > 0 ? std::optional(xls::decimalText(s.lastDurationMs, 3)) : std::nullopt;
         }},
        {"sentrel_queries_total", "Queries sent to the logger.", "counter",
         [](const LoggerState& s) { return std::optional(std::to_string(s.queries)); }},
        {"sentrel_temperature_high_limit_celsius", "High limit on the temperature, in degrees Celsius.", "gauge",
         limit(LimitKind::TemperatureHigh, 1)},
        {"sentrel_temperature_low_limit_celsius", "Low limit on the temperature, in degrees Celsius.", "gauge",
         limit(LimitKind::TemperatureLow, 1)},
        {"sentrel_relative_humidity_high_limit_ratio", "High limit on the relative humidity, as a ratio.", "gauge",
         limit(LimitKind::HumidityHigh, 3)},
        {"sentrel_relative_humidity_low_limit_ratio", "Low limit on the relative humidity, as a ratio.", "gauge",
         limit(LimitKind::HumidityLow, 3)},
    };
}

void appendFamily(std::string& out, const Family& family, const std::vector<LoggerState>& states)
{
    std::string series;
    for (const LoggerState& state : states)
        if (const std::optional<std::string> value = family.value(state))
            series += std::string(family.name) + "{" + labelsOf(state) + "} " + *value + "\n";
    if (series.empty())
        return;
    out += std::string("# HELP ") + family.name + " " + family.help + "\n";
    out += std::string("# TYPE ") + family.name + " " + family.type + "\n";
    out += series;
}

// The failures counter: one series per logger and reason, zeros included, so
// rate() sees each reason from its start.
void appendFailures(std::string& out, const std::vector<LoggerState>& states)
{
    if (states.empty())
        return;
    out += "# HELP sentrel_query_failures_total Queries of the logger that brought no reading, by reason.\n";
    out += "# TYPE sentrel_query_failures_total counter\n";
    for (const LoggerState& state : states)
        for (int reason = 0; reason < queryFailureCount; ++reason)
            out += "sentrel_query_failures_total{" + labelsOf(state) + ",reason=\""
                + failureReason(static_cast<QueryFailure>(reason)) + "\"} " + std::to_string(state.failures[reason])
                + "\n";
}

} // namespace

std::string metricsText(const std::vector<LoggerState>& states, const analysis::Limits& limits)
{
    std::string out;
    for (const Family& family : families(limits))
        appendFamily(out, family, states);
    appendFailures(out, states);
    return out;
}

} // namespace serve
