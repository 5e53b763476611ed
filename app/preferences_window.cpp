#include "app/preferences_window.h"

#include "app/ids.h"
#include "app/settings.h"
#include "app/state.h"
#include "app/window_loop.h"
#include "graph/graph.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/window.h"

#include <optional>

namespace app {

namespace {

// Option groups: choosing one option of a group clears the other.
enum OptionGroup {
    scaleGroup = 1,
    styleGroup = 2,
};

// Puts the repainted swatches on the colour buttons again.
void refreshColorButtons()
{
    platform::setControlImage(humidityColorButton, humiditySwatch);
    platform::setControlImage(temperatureColorButton, temperatureSwatch);
}

// A setting changed: show it on the graph and keep it.
void applyChange()
{
    graph::drawGraph(graph::Target::Screen);
    saveSettings(settingsFileName);
}

void chooseCurveColor(uint32_t& color)
{
    std::optional<platform::Color> chosen = platform::chooseColor(color);
    if (!chosen)
        return;
    color = *chosen;
    graph::paintSwatches();
    refreshColorButtons();
    applyChange();
}

void setCelsius(bool celsius)
{
    settings().celsius = celsius;
    applyChange();
}

void setDotStyle(bool dotStyle)
{
    settings().dotStyle = dotStyle;
    applyChange();
}

void confirm()
{
    saveSettings(settingsFileName);
    state().closeRequested = 1;
}

void onPreferencesControl(int control)
{
    switch (control) {
    case humidityColorButton: chooseCurveColor(settings().humidityColor); break;
    case temperatureColorButton: chooseCurveColor(settings().temperatureColor); break;
    case celsiusOption: setCelsius(true); break;
    case fahrenheitOption: setCelsius(false); break;
    case dotOption: setDotStyle(true); break;
    case lineOption: setDotStyle(false); break;
    case okButton: confirm(); break;
    default: break;
    }
}

void buildPreferencesWindow()
{
    using platform::Align;
    const int w = preferencesWindow;
    platform::openWindow({w, mainWindow, "Preferences", {240, 330}, true, platform::StyleFixed});
    platform::createFrame(w, colorsFrame, "Colors", {10, 10, 220, 80});
    platform::createImageButton(w, humidityColorButton, humiditySwatch, {120, 30, 20, 20});
    platform::createImageButton(w, temperatureColorButton, temperatureSwatch, {120, 60, 20, 20});
    platform::createText(w, humidityLabel, "Humidity:", {20, 35, 90, 20}, Align::Right);
    platform::createText(w, temperatureLabel, "Temperature:", {20, 65, 90, 20}, Align::Right);
    platform::setAccessibleName(humidityColorButton, "Humidity color");
    platform::setAccessibleName(temperatureColorButton, "Temperature color");
    platform::createFrame(w, temperatureScaleFrame, "Temperature scale", {10, 100, 220, 80});
    platform::createOption(w, celsiusOption, "\xB0" "C (Celsius)", {100, 120, 120, 20}, scaleGroup);
    platform::createOption(w, fahrenheitOption, "\xB0" "F (Fahrenheit)", {100, 150, 120, 20}, scaleGroup);
    platform::createFrame(w, styleFrame, "Style", {10, 190, 220, 80});
    platform::createOption(w, dotOption, "Dot", {100, 210, 120, 20}, styleGroup);
    platform::createOption(w, lineOption, "Line", {100, 240, 120, 20}, styleGroup);
    platform::createButton(w, okButton, "Ok", {80, 290, 80, 20});
    platform::setOptionChecked(settings().celsius ? celsiusOption : fahrenheitOption, true);
    platform::setOptionChecked(settings().dotStyle ? dotOption : lineOption, true);
}

} // namespace

void openPreferencesWindow()
{
    buildPreferencesWindow();
    runDialog(preferencesWindow, mainWindow, okButton, onPreferencesControl);
}

} // namespace app
