// The Limits window end to end: its layout with the settings in force, what
// "Ok" saves (and the file it writes), the wrong numbers it refuses without
// saving, the Fahrenheit scale, and the close box and Escape that discard.
#include "support/program.h"

#include "app/ids.h"
#include "app/settings.h"
#include "platform/controls.h"
#include "platform/images.h"
#include "platform/window.h"

#include <string>

using namespace app;
namespace t = platform::testing;

namespace {

class LimitsWindowTest : public ProgramTest {};

constexpr int temperatureLowBox = int{firstLimitCheckBox} + analysis::TemperatureLow;
constexpr int temperatureHighBox = int{firstLimitCheckBox} + analysis::TemperatureHigh;
constexpr int humidityLowBox = int{firstLimitCheckBox} + analysis::HumidityLow;
constexpr int humidityHighBox = int{firstLimitCheckBox} + analysis::HumidityHigh;
constexpr int temperatureLowField = int{firstLimitField} + analysis::TemperatureLow;
constexpr int temperatureHighField = int{firstLimitField} + analysis::TemperatureHigh;
constexpr int humidityLowField = int{firstLimitField} + analysis::HumidityLow;
constexpr int humidityHighField = int{firstLimitField} + analysis::HumidityHigh;

constexpr platform::Color scribble = platform::rgb(1, 2, 3);

const std::string eightLines = "[Settings]\r\nSerial Port = \r\nColor RH = 16711680\r\nColor Temp = 255\r\n"
                               "Temperature scale = Celsius\r\nStyle = Dot\r\n[TCP/IP Settings]\r\n"
                               "IP Address = 127.0.0.1\r\n";

// Presses "Ok" and expects a refusal with `text`, the window still open and the
// settings file as it was.
void expectRefused(const std::string& text, const std::string& file, const std::string& fileNow)
{
    ASSERT_FALSE(t::messages().empty());
    EXPECT_EQ(t::messages().back().title, "Error");
    EXPECT_EQ(t::messages().back().text, text);
    EXPECT_EQ(t::messages().back().icon, platform::MessageIcon::None);
    EXPECT_TRUE(platform::windowExists(limitsWindow));
    EXPECT_EQ(fileNow, file);
}

// Pixels that differ between two grabs of the main window, in the graph area
// right of the left column (whose track bar may show the focus afresh).
int differingGraphPixels(int image, int other)
{
    const platform::Size size = platform::imageSize(image);
    int differing = 0;
    for (int y = 0; y < size.height; ++y)
        for (int x = 200; x < size.width; ++x)
            differing += platform::pixel(image, x, y) != platform::pixel(other, x, y);
    return differing;
}

} // namespace

TEST_F(LimitsWindowTest, OkSavesWhatIsRightAndRefusesWhatIsWrong)
{
    t::post([] { t::chooseMenu(menuLimits); });
    t::post([] {
        ASSERT_TRUE(platform::windowExists(limitsWindow));
        EXPECT_EQ(platform::windowTitle(limitsWindow), "Limits");
        EXPECT_EQ(platform::clientSize(limitsWindow).width, 260);
        EXPECT_EQ(platform::clientSize(limitsWindow).height, 290);
        expectPlacements({
            {temperatureLimitsFrame, "Temperature", {10, 10, 240, 80}},
            {temperatureLowBox, "Low limit", {20, 30, 100, 20}},
            {temperatureLowField, "", {125, 30, 70, 20}},
            {temperatureHighBox, "High limit", {20, 60, 100, 20}},
            {humidityLimitsFrame, "Humidity", {10, 100, 240, 80}},
            {humidityLowBox, "Low limit", {20, 120, 100, 20}},
            {humidityHighField, "", {125, 150, 70, 20}},
            {delayFrame, "Delay", {10, 190, 240, 50}},
            {delayField, "0", {125, 210, 70, 20}},
            {okButton, "Ok", {90, 255, 80, 20}},
        });
        EXPECT_EQ(platform::text(int{firstLimitUnit} + analysis::TemperatureLow), "\xB0" "C");
        EXPECT_EQ(platform::text(int{firstLimitUnit} + analysis::HumidityHigh), "RH%");
        EXPECT_EQ(platform::text(delayUnit), "minutes");
        // No limit set: every box clear, every field empty and closed to input.
        for (int kind = 0; kind < analysis::limitKindCount; ++kind) {
            EXPECT_FALSE(platform::checkBoxChecked(int{firstLimitCheckBox} + kind));
            EXPECT_FALSE(platform::controlEnabled(int{firstLimitField} + kind));
            EXPECT_EQ(platform::text(int{firstLimitField} + kind), "");
        }
        t::click(temperatureLowBox);
        t::click(temperatureHighBox);
        t::click(humidityHighBox);
    });
    t::post([] {
        EXPECT_TRUE(platform::checkBoxChecked(temperatureLowBox));
        EXPECT_TRUE(platform::controlEnabled(temperatureLowField));
        EXPECT_FALSE(platform::controlEnabled(humidityLowField));
        // A checked box with an empty field is no number.
        t::click(okButton);
    });
    t::post([this] {
        expectRefused("The low temperature limit is not a number.", eightLines, readText(settingsFileName));
        // The field takes only what can make a number; a comma becomes the point.
        const int before = t::beeps();
        t::typeText(temperatureLowField, "2x,5");
        EXPECT_EQ(platform::text(temperatureLowField), "2.5");
        EXPECT_EQ(t::beeps(), before + 1);
        t::retypeText(temperatureLowField, "9");
        t::typeText(temperatureHighField, "8");
        t::typeText(humidityHighField, "-");
        t::click(okButton);
    });
    t::post([this] {
        expectRefused("The high humidity limit is not a number.", eightLines, readText(settingsFileName));
        t::retypeText(humidityHighField, "100.1");
        t::click(okButton);
    });
    t::post([this] {
        expectRefused("The low temperature limit is above the high one.", eightLines, readText(settingsFileName));
        t::retypeText(temperatureLowField, "-2.5");
        t::click(okButton);
    });
    t::post([this] {
        expectRefused("A humidity limit must lie between 0.0 and 100.0 RH%.", eightLines, readText(settingsFileName));
        t::retypeText(humidityHighField, "60");
        t::retypeText(delayField, "-5");
        t::click(okButton);
    });
    t::post([this] {
        expectRefused("The delay must be a whole number of minutes, 0 or more.", eightLines,
                      readText(settingsFileName));
        t::retypeText(delayField, "1.5");
        t::click(okButton);
    });
    t::post([this] {
        expectRefused("The delay must be a whole number of minutes, 0 or more.", eightLines,
                      readText(settingsFileName));
        EXPECT_EQ(t::messages().size(), 6u);
        t::retypeText(delayField, "15");
        // A box switched off again drops its limit, whatever its field holds.
        t::click(humidityLowBox);
        t::typeText(humidityLowField, "99");
        t::click(humidityLowBox);
        platform::fillRect(graphImage, 0, 0, 1, 1, scribble);
        t::sendKey(delayField, t::Key::Enter);   // as "Ok"
    });
    t::post([this] {
        EXPECT_FALSE(platform::windowExists(limitsWindow));
        EXPECT_EQ(t::messages().size(), 6u);
        EXPECT_NE(platform::pixel(graphImage, 0, 0), scribble);   // the graph was drawn again
        EXPECT_EQ(readText(settingsFileName), eightLines + "[Limits]\r\nTemperature low = -2.5\r\n"
                                                           "Temperature high = 8.0\r\nHumidity high = 60.0\r\n"
                                                           "Delay = 15\r\n");
        EXPECT_EQ(settings().limits.value[analysis::TemperatureLow], -25);
        EXPECT_FALSE(settings().limits.value[analysis::HumidityLow]);
        t::chooseMenu(menuLimits);
    });
    t::post([] {
        // Opened again, it shows what was kept.
        EXPECT_TRUE(platform::checkBoxChecked(temperatureLowBox));
        EXPECT_EQ(platform::text(temperatureLowField), "-2.5");
        EXPECT_EQ(platform::text(humidityHighField), "60.0");
        EXPECT_FALSE(platform::checkBoxChecked(humidityLowBox));
        EXPECT_EQ(platform::text(humidityLowField), "");
        EXPECT_EQ(platform::text(delayField), "15");
        t::click(temperatureLowBox);
        t::click(temperatureHighBox);
        t::click(humidityHighBox);
        t::click(okButton);
    });
    t::post([this] {
        // No limit left: the file is the eight lines again.
        EXPECT_FALSE(platform::windowExists(limitsWindow));
        EXPECT_EQ(readText(settingsFileName), eightLines);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(LimitsWindowTest, FahrenheitFieldsAndTheCloseBoxAndEscapeDiscard)
{
    const std::string file = "[Settings]\r\nTemperature scale = Fahrenheit\r\n[TCP/IP Settings]\r\n"
                             "IP Address = 127.0.0.1\r\n[Limits]\r\nTemperature low = 2.0\r\n"
                             "Temperature high = 8.0\r\nDelay = 0\r\n";
    writeText(settingsFileName, file);
    t::post([] { t::chooseMenu(menuLimits); });
    t::post([] {
        EXPECT_EQ(platform::text(int{firstLimitUnit} + analysis::TemperatureHigh), "\xB0" "F");
        EXPECT_EQ(platform::text(temperatureLowField), "35.6");
        EXPECT_EQ(platform::text(temperatureHighField), "46.4");
        t::retypeText(temperatureHighField, "50");
        t::requestClose(limitsWindow);
    });
    t::post([this, file] {
        EXPECT_FALSE(platform::windowExists(limitsWindow));
        EXPECT_EQ(state().closeRequested, 0);
        EXPECT_EQ(settings().limits.value[analysis::TemperatureHigh], 80);
        EXPECT_EQ(readText(settingsFileName), file);
        t::chooseMenu(menuLimits);
    });
    t::post([] {
        t::retypeText(temperatureHighField, "50");
        t::sendKey(temperatureHighField, t::Key::Escape);
    });
    t::post([this, file] {
        EXPECT_FALSE(platform::windowExists(limitsWindow));
        EXPECT_EQ(readText(settingsFileName), file);
        t::chooseMenu(menuLimits);
    });
    t::post([] {
        t::retypeText(temperatureHighField, "1832.1");
        t::click(okButton);
    });
    t::post([this, file] {
        // The range is said in the scale in force.
        expectRefused("A temperature limit must lie between -1768.0 and 1832.0 \xB0" "F.", file,
                      readText(settingsFileName));
        t::retypeText(temperatureHighField, "50");
        t::click(okButton);
    });
    t::post([this] {
        // 50 degrees Fahrenheit are kept as 10.0 degrees Celsius; the shown 35.6 as 2.0.
        EXPECT_EQ(t::messages().size(), 1u);
        EXPECT_EQ(settings().limits.value[analysis::TemperatureLow], 20);
        EXPECT_EQ(settings().limits.value[analysis::TemperatureHigh], 100);
        EXPECT_NE(readText(settingsFileName).find("[Limits]\r\nTemperature low = 2.0\r\nTemperature high = 10.0\r\n"),
                  std::string::npos);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(LimitsWindowTest, OkDrawsTheLimitsOnTheGraphAndTheirRemovalLeavesItAsItWas)
{
    // Scratch images of the test; the program uses ids 70 to 76 and 120.
    constexpr int before = 160, with = 161, after = 162;
    t::post([] {
        loadValues({{20, 300}, {100, 700}, {50, 500}, {60, 450}}, 600);
        t::grabClient(mainWindow, before);
        t::chooseMenu(menuLimits);
    });
    t::post([] {
        t::click(temperatureHighBox);
        t::click(humidityLowBox);
    });
    t::post([] {
        t::typeText(temperatureHighField, "8");
        t::typeText(humidityLowField, "40");
        t::click(okButton);
    });
    t::post([] {
        ASSERT_FALSE(platform::windowExists(limitsWindow));
        t::grabClient(mainWindow, with);
        EXPECT_GT(differingGraphPixels(before, with), 0);
        t::chooseMenu(menuLimits);
    });
    t::post([] {
        t::click(temperatureHighBox);
        t::click(humidityLowBox);
        t::click(okButton);
    });
    t::post([] {
        t::grabClient(mainWindow, after);
        EXPECT_EQ(differingGraphPixels(before, after), 0);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}
