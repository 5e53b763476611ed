#include "app/limits_window.h"

#include "analysis/limit_input.h"
#include "app/ids.h"
#include "app/settings.h"
#include "app/state.h"
#include "app/window_loop.h"
#include "graph/graph.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/window.h"

#include <optional>
#include <string>

namespace app {

namespace {

using analysis::LimitKind;
using analysis::LimitProblem;
using analysis::Limits;

// The rows of the window, each a check box, a field and its unit.
struct LimitRow {
    LimitKind kind;
    const char* caption;
    const char* name;   // as the messages name the limit
    int top;
};

constexpr LimitRow limitRows[] = {
    {analysis::TemperatureLow, "Low limit", "The low temperature limit", 30},
    {analysis::TemperatureHigh, "High limit", "The high temperature limit", 60},
    {analysis::HumidityLow, "Low limit", "The low humidity limit", 120},
    {analysis::HumidityHigh, "High limit", "The high humidity limit", 150},
};

// Columns of the rows: check box, field, unit.
constexpr int boxLeft = 20;
constexpr int boxWidth = 100;
constexpr int fieldLeft = 125;
constexpr int fieldWidth = 70;
constexpr int unitLeft = 200;
constexpr int unitWidth = 40;
constexpr int rowHeight = 20;

int checkBoxOf(LimitKind kind)
{
    return int{firstLimitCheckBox} + kind;
}

int fieldOf(LimitKind kind)
{
    return int{firstLimitField} + kind;
}

int unitOf(LimitKind kind)
{
    return int{firstLimitUnit} + kind;
}

bool isTemperature(LimitKind kind)
{
    return kind == analysis::TemperatureLow || kind == analysis::TemperatureHigh;
}

// A limit as its field shows it: temperatures in the scale in force.
int32_t shownTenths(LimitKind kind, int32_t tenths)
{
    return isTemperature(kind) && !settings().celsius ? analysis::fahrenheitTenths(tenths) : tenths;
}

int32_t keptTenths(LimitKind kind, int32_t shown)
{
    return isTemperature(kind) && !settings().celsius ? analysis::celsiusTenths(shown) : shown;
}

const char* temperatureUnit()
{
    return settings().celsius ? "\xB0" "C" : "\xB0" "F";
}

void refuse(const std::string& text)
{
    platform::messageBox("Error", text, platform::MessageIcon::None);
}

constexpr const char* delayText = "The delay must be a whole number of minutes, 0 or more.";

// "between -1000.0 and 1000.0 \xB0C", or the same in Fahrenheit.
std::string temperatureRangeText()
{
    const int32_t extreme = analysis::extremeTemperature;
    return "between " + analysis::tenthsText(shownTenths(analysis::TemperatureLow, -extreme)) + " and "
           + analysis::tenthsText(shownTenths(analysis::TemperatureHigh, extreme)) + " " + temperatureUnit();
}

std::string problemText(LimitProblem problem)
{
    switch (problem) {
    case LimitProblem::TemperatureRange: return "A temperature limit must lie " + temperatureRangeText() + ".";
    case LimitProblem::TemperatureOrder: return "The low temperature limit is above the high one.";
    case LimitProblem::HumidityOrder: return "The low humidity limit is above the high one.";
    case LimitProblem::HumidityRange: return "A humidity limit must lie between 0.0 and 100.0 RH%.";
    case LimitProblem::NegativeDelay: return delayText;
    case LimitProblem::None: break;
    }
    return "";
}

// The limits the window shows; none, after a message, when a field holds no number.
std::optional<Limits> typedLimits()
{
    Limits limits;
    for (const LimitRow& row : limitRows) {
        if (!platform::checkBoxChecked(checkBoxOf(row.kind)))
            continue;
        const std::optional<int32_t> shown = analysis::readTenths(platform::text(fieldOf(row.kind)));
        if (!shown) {
            refuse(std::string(row.name) + " is not a number.");
            return std::nullopt;
        }
        limits.value[row.kind] = keptTenths(row.kind, *shown);
    }
    const std::optional<int32_t> delay = analysis::readMinutes(platform::text(delayField));
    if (!delay) {
        refuse(delayText);
        return std::nullopt;
    }
    limits.delayMinutes = *delay;
    return limits;
}

void confirm()
{
    const std::optional<Limits> limits = typedLimits();
    if (!limits)
        return;
    const LimitProblem problem = analysis::checkLimits(*limits);
    if (problem != LimitProblem::None) {
        refuse(problemText(problem));
        return;
    }
    settings().limits = *limits;
    saveSettings(settingsFileName);
    graph::drawGraph(graph::Target::Screen);
    state().closeRequested = 1;
}

// A field takes input only while its limit is switched on.
void followCheckBox(LimitKind kind)
{
    platform::enableControl(fieldOf(kind), platform::checkBoxChecked(checkBoxOf(kind)));
}

void onLimitsControl(int control)
{
    if (control == okButton)
        confirm();
    else if (control >= firstLimitCheckBox && control < firstLimitCheckBox + analysis::limitKindCount)
        followCheckBox(static_cast<LimitKind>(control - firstLimitCheckBox));
}

void createRow(const LimitRow& row)
{
    const int w = limitsWindow;
    const std::optional<int32_t>& value = settings().limits.value[row.kind];
    platform::createCheckBox(w, checkBoxOf(row.kind), row.caption, {boxLeft, row.top, boxWidth, rowHeight});
    platform::createNumberField(w, fieldOf(row.kind), {fieldLeft, row.top, fieldWidth, rowHeight});
    platform::createText(w, unitOf(row.kind), isTemperature(row.kind) ? temperatureUnit() : "RH%",
                         {unitLeft, row.top, unitWidth, rowHeight}, platform::Align::Left);
    platform::alignTextWithField(unitOf(row.kind), fieldOf(row.kind));
    platform::setAccessibleName(fieldOf(row.kind), row.name);
    platform::setCheckBoxChecked(checkBoxOf(row.kind), value.has_value());
    if (value)
        platform::setText(fieldOf(row.kind), analysis::tenthsText(shownTenths(row.kind, *value)));
    followCheckBox(row.kind);
}

void buildLimitsWindow()
{
    const int w = limitsWindow;
    platform::openWindow({w, mainWindow, "Limits", {260, 290}, true, platform::StyleFixed});
    platform::createFrame(w, temperatureLimitsFrame, "Temperature", {10, 10, 240, 80});
    platform::createFrame(w, humidityLimitsFrame, "Humidity", {10, 100, 240, 80});
    for (const LimitRow& row : limitRows)
        createRow(row);
    platform::createFrame(w, delayFrame, "Delay", {10, 190, 240, 50});
    platform::createText(w, delayLabel, "Alarm after:", {boxLeft, 210, boxWidth, rowHeight}, platform::Align::Left);
    platform::createNumberField(w, delayField, {fieldLeft, 210, fieldWidth, rowHeight});
    platform::createText(w, delayUnit, "minutes", {unitLeft, 210, unitWidth + 5, rowHeight}, platform::Align::Left);
    platform::alignTextWithField(delayLabel, delayField);
    platform::alignTextWithField(delayUnit, delayField);
    platform::setAccessibleName(delayField, "Delay in minutes");
    platform::setText(delayField, std::to_string(settings().limits.delayMinutes));
    platform::createButton(w, okButton, "Ok", {90, 255, 80, 20});
}

} // namespace

void openLimitsWindow()
{
    buildLimitsWindow();
    runDialog(limitsWindow, mainWindow, okButton, onLimitsControl);
}

} // namespace app
