// The Preferences window end to end: its layout, the two option groups, the
// colour buttons with the scripted colour chooser, and the settings file that
// every change rewrites at once.
#include "support/program.h"

#include "app/ids.h"
#include "app/settings.h"
#include "platform/controls.h"
#include "platform/images.h"
#include "platform/window.h"

#include <cstdio>

using namespace app;
namespace t = platform::testing;

namespace {

class PreferencesTest : public ProgramTest {};

// A colour no graph uses: scribbled on the graph image to see it redrawn.
constexpr platform::Color scribble = platform::rgb(1, 2, 3);

// The settings file for the fixture's settings with these four values changed.
std::string fileWith(uint32_t humidity, uint32_t temperature, const char* scale, const char* style)
{
    return "[Settings]\r\nSerial Port = \r\nColor RH = " + std::to_string(humidity) +
           "\r\nColor Temp = " + std::to_string(temperature) + "\r\nTemperature scale = " + scale +
           "\r\nStyle = " + style + "\r\n[TCP/IP Settings]\r\nIP Address = 127.0.0.1\r\n";
}

void scribbleOnGraph()
{
    platform::fillRect(graphImage, 0, 0, 1, 1, scribble);
}

bool graphRedrawn()
{
    return platform::pixel(graphImage, 0, 0) != scribble;
}


} // namespace

TEST_F(PreferencesTest, OpensLaidOutWithTheFileSettingsAndOkSaves)
{
    // A hand-written file: Ok writes it back in the program's own form.
    writeText(settingsFileName, "; mine\r\n[settings]\r\ncolor rh = 65280\r\nTemperature scale = Fahrenheit\r\n"
                                "Style = Line\r\n[TCP/IP Settings]\r\nIP Address = 127.0.0.1\r\n");
    t::post([] { t::chooseMenu(menuPreferences); });
    t::post([this] {
        ASSERT_TRUE(platform::windowExists(preferencesWindow));
        EXPECT_EQ(platform::windowTitle(preferencesWindow), "Preferences");
        EXPECT_EQ(platform::clientSize(preferencesWindow).width, 240);
        EXPECT_EQ(platform::clientSize(preferencesWindow).height, 330);
        EXPECT_TRUE(t::hasIcon(preferencesWindow));
        expectPlacements({
            {colorsFrame, "Colors", {10, 10, 220, 80}},
            {humidityColorButton, "", {120, 30, 20, 20}},
            {temperatureColorButton, "", {120, 60, 20, 20}},
            {humidityLabel, "Humidity:", {20, 35, 90, 20}},
            {temperatureLabel, "Temperature:", {20, 65, 90, 20}},
            {temperatureScaleFrame, "Temperature scale", {10, 100, 220, 80}},
            {celsiusOption, "\xB0" "C (Celsius)", {100, 120, 120, 20}},
            {fahrenheitOption, "\xB0" "F (Fahrenheit)", {100, 150, 120, 20}},
            {styleFrame, "Style", {10, 190, 220, 80}},
            {dotOption, "Dot", {100, 210, 120, 20}},
            {lineOption, "Line", {100, 240, 120, 20}},
            {okButton, "Ok", {80, 290, 80, 20}},
        });
        EXPECT_EQ(t::accessibleName(humidityColorButton), "Humidity color");
        EXPECT_FALSE(platform::optionChecked(celsiusOption));
        EXPECT_TRUE(platform::optionChecked(fahrenheitOption));
        EXPECT_FALSE(platform::optionChecked(dotOption));
        EXPECT_TRUE(platform::optionChecked(lineOption));
        EXPECT_EQ(platform::pixel(humiditySwatch, 0, 0), platform::rgb(0, 255, 0));
        EXPECT_EQ(readText(settingsFileName).substr(0, 8), "; mine\r\n");   // opening saves nothing
        t::click(okButton);
    });
    t::post([this] {
        EXPECT_FALSE(platform::windowExists(preferencesWindow));
        EXPECT_EQ(state().closeRequested, 0);
        EXPECT_EQ(readText(settingsFileName), fileWith(65280, 255, "Fahrenheit", "Line"));
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(PreferencesTest, EachOptionRedrawsAndRewritesTheFileAtOnce)
{
    // The store is empty throughout: changes are saved all the same.
    auto clickAndExpect = [this](int option, int other, const std::string& file) {
        t::post([option] {
            scribbleOnGraph();
            t::click(option);
        });
        t::post([this, option, other, file] {
            EXPECT_TRUE(graphRedrawn()) << "option " << option;
            EXPECT_EQ(readText(settingsFileName), file) << "option " << option;
            EXPECT_TRUE(platform::optionChecked(option));
            EXPECT_FALSE(platform::optionChecked(other));   // the group clears the other one
        });
    };
    t::post([] { t::chooseMenu(menuPreferences); });
    clickAndExpect(fahrenheitOption, celsiusOption, fileWith(16711680, 255, "Fahrenheit", "Dot"));
    clickAndExpect(lineOption, dotOption, fileWith(16711680, 255, "Fahrenheit", "Line"));
    clickAndExpect(celsiusOption, fahrenheitOption, fileWith(16711680, 255, "Celsius", "Line"));
    clickAndExpect(dotOption, lineOption, fileWith(16711680, 255, "Celsius", "Dot"));
    // An option that is already selected still saves.
    t::post([this] { std::remove(pathOf(settingsFileName).c_str()); });
    clickAndExpect(dotOption, lineOption, fileWith(16711680, 255, "Celsius", "Dot"));
    t::post([] { t::click(fahrenheitOption); });
    t::post([] { t::requestClose(preferencesWindow); });
    t::post([this] {
        // The close box saves nothing more, and lost nothing.
        EXPECT_FALSE(platform::windowExists(preferencesWindow));
        EXPECT_FALSE(settings().celsius);
        EXPECT_EQ(readText(settingsFileName), fileWith(16711680, 255, "Fahrenheit", "Dot"));
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(PreferencesTest, ColourButtonsTakeAChosenColourAndIgnoreCancel)
{
    t::post([] { t::chooseMenu(menuPreferences); });
    t::post([] {
        t::answerColor(platform::rgb(0, 0, 0));   // black is a colour like any other
        scribbleOnGraph();
        t::click(humidityColorButton);
    });
    t::post([this] {
        EXPECT_EQ(t::lastDialog().kind, "colour");
        EXPECT_EQ(settings().humidityColor, 0u);
        EXPECT_EQ(platform::pixel(humiditySwatch, 19, 9), platform::rgb(0, 0, 0));
        EXPECT_TRUE(graphRedrawn());
        EXPECT_EQ(readText(settingsFileName), fileWith(0, 255, "Celsius", "Dot"));
        std::remove(pathOf(settingsFileName).c_str());
        t::answerColor(std::nullopt);
        scribbleOnGraph();
        t::click(temperatureColorButton);
    });
    t::post([this] {
        EXPECT_EQ(t::lastDialog().kind, "colour");
        EXPECT_EQ(settings().temperatureColor, 255u);
        EXPECT_EQ(platform::pixel(temperatureSwatch, 0, 0), platform::rgb(255, 0, 0));
        EXPECT_FALSE(graphRedrawn());
        EXPECT_EQ(readText(settingsFileName), "");   // a cancel saves nothing
        t::answerColor(platform::rgb(0, 128, 0));
        t::click(temperatureColorButton);
    });
    t::post([this] {
        EXPECT_EQ(platform::pixel(temperatureSwatch, 5, 5), platform::rgb(0, 128, 0));
        EXPECT_EQ(platform::pixel(humiditySwatch, 5, 5), platform::rgb(0, 0, 0));
        EXPECT_EQ(readText(settingsFileName), fileWith(0, 32768, "Celsius", "Dot"));
        t::requestClose(mainWindow);   // closes the Preferences window only
    });
    t::post([this] {
        EXPECT_FALSE(platform::windowExists(preferencesWindow));
        EXPECT_TRUE(platform::windowExists(mainWindow));
        EXPECT_EQ(readText(settingsFileName), fileWith(0, 32768, "Celsius", "Dot"));
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}
