#include "serve/status_page.h"

#include "app/settings.h"
#include "export/columns.h"
#include "platform/clock.h"
#include "records/datemask.h"

namespace serve {

namespace {

const char* const pageStyle = R"(
body { font-family: "Liberation Sans", Arial, sans-serif; margin: 1.5em; color: #222; background: #fff; }
h1 { font-size: 1.4em; margin: 0 0 0.6em 0; }
table { border-collapse: collapse; }
th, td { padding: 0.35em 0.8em; border-bottom: 1px solid #ccc; text-align: left; white-space: nowrap; }
th { background: #e8e8e8; }
th.number, td.number { text-align: right; font-variant-numeric: tabular-nums; }
tr.down td { color: #888; }
tr.down td.state { color: #b00; font-weight: bold; }
tr.beyond td { background: #fde0dc; }
td.alarm { color: #b00; font-weight: bold; }
p.note { color: #666; font-size: 0.85em; }
)";

std::string localTimeText(int64_t utcSeconds)
{
    return records::formatTime("%yyyy-%mm-%dd %hh:%ii:%ss", static_cast<int32_t>(platform::wallClockOf(utcSeconds)));
}

std::string stateText(const LoggerState& state)
{
    if (state.up)
        return "answering";
    return (state.answeredAt == 0 ? "no answer yet, since " : "no answer since ") + localTimeText(state.downSince);
}

// True when `tenths` lies beyond the high or the low limit of its quantity.
bool beyondLimits(const analysis::Limits& limits, analysis::LimitKind high, analysis::LimitKind low, int32_t tenths)
{
    return (limits.value[high] && analysis::isBeyond(limits, high, tenths))
        || (limits.value[low] && analysis::isBeyond(limits, low, tenths));
}

// One value cell: empty without a value, of class "alarm" when `alarm`.
std::string valueCell(std::optional<int32_t> tenths, bool alarm)
{
    if (!tenths)
        return "<td class=\"number\"></td>";
    return std::string("<td class=\"number") + (alarm ? " alarm" : "") + "\">" + xls::decimalText(*tenths, 1) + "</td>";
}

std::string row(const LoggerState& state, const analysis::Limits& limits)
{
    bool beyond = false;
    std::string cells = "<td>" + escapedHtml(state.logger.name) + "</td><td>" + app::addressText(state.logger.address)
                      + "</td><td class=\"state\">" + escapedHtml(stateText(state)) + "</td>";
    if (state.reading) {
        const Reading& reading = *state.reading;
        const xls::RowValues values = xls::rowValues(records::Record{0, reading.humidity, reading.temperature}, false);
        const bool hot = beyondLimits(limits, analysis::TemperatureHigh, analysis::TemperatureLow, reading.temperature);
        const bool damp = beyondLimits(limits, analysis::HumidityHigh, analysis::HumidityLow, reading.humidity);
        beyond = hot || damp;
        cells += valueCell(reading.temperature, hot) + valueCell(reading.humidity, damp)
               + valueCell(values[xls::DewPointColumn - 1], false) + "<td>" + localTimeText(state.answeredAt) + "</td>";
    } else {
        cells += "<td></td><td></td><td></td><td></td>";
    }
    std::string classes = state.up ? "" : "down";
    if (beyond)
        classes += classes.empty() ? "beyond" : " beyond";
    return (classes.empty() ? "<tr>" : "<tr class=\"" + classes + "\">") + cells + "</tr>\n";
}

} // namespace

std::string escapedHtml(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::string statusPage(const std::vector<LoggerState>& states, const analysis::Limits& limits, int64_t refreshSeconds)
{
    std::string page = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta http-equiv=\"refresh\" content=\""
                     + std::to_string(refreshSeconds > 0 ? refreshSeconds : 1)
                     + "\">\n<title>Climadesk loggers</title>\n<style>" + pageStyle + "</style>\n</head>\n<body>\n"
                       "<h1>Climadesk loggers</h1>\n<table>\n<tr><th>Logger</th><th>Address</th><th>State</th>"
                       "<th class=\"number\">Temperature (\xC2\xB0" "C)</th><th class=\"number\">Humidity (%RH)</th>"
                       "<th class=\"number\">Dew point (\xC2\xB0" "C)</th>"
                       "<th>Reading at</th></tr>\n";
    for (const LoggerState& state : states)
        page += row(state, limits);
    page += "</table>\n<p class=\"note\">Updated " + localTimeText(platform::secondsNow())
          + ". Metrics for Prometheus: <a href=\"/metrics\">/metrics</a>.</p>\n</body>\n</html>\n";
    return page;
}

} // namespace serve
