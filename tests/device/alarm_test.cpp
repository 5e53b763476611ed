// The Monitor's alarm: the rules of watchReadings at the delay's edge, at values
// equal to a limit and at texts that are no number; then end to end against
// sentrel-sim, whose readings cross a limit and come back.
#include "device/fixture.h"

#include "analysis/limits.h"
#include "app/ids.h"
#include "app/settings.h"
#include "device/alarm.h"
#include "platform/controls.h"
#include "platform/images.h"
#include "platform/window.h"

using namespace app;
namespace t = platform::testing;

namespace {

constexpr int64_t minute = 60000;

analysis::Limits coldChain(int32_t delayMinutes)
{
    analysis::Limits limits;
    limits.value[analysis::TemperatureLow] = 20;
    limits.value[analysis::TemperatureHigh] = 80;
    limits.value[analysis::HumidityLow] = 300;
    limits.delayMinutes = delayMinutes;
    return limits;
}

device::ReadingTexts reading(const char* temperature, const char* humidity)
{
    return {temperature, humidity};
}

TEST(MonitorAlarm, ALimitGoesIntoAlarmAfterTheDelayAndOutWithTheFirstReadingWithin)
{
    settings() = defaultSettings();
    const analysis::Limits limits = coldChain(15);
    device::AlarmState alarm;
    // Equal to a limit is within.
    EXPECT_FALSE(device::watchReadings(alarm, limits, reading("8.0", "30.0"), 0));
    EXPECT_FALSE(device::watchReadings(alarm, limits, reading("2.0", "45.0"), minute));
    // Beyond from 2 minutes on: in alarm at 17 minutes exactly, once.
    EXPECT_FALSE(device::watchReadings(alarm, limits, reading("8.1", "45.0"), 2 * minute));
    EXPECT_FALSE(device::watchReadings(alarm, limits, reading("9.5", "45.0"), 17 * minute - 1));
    EXPECT_FALSE(device::temperatureAlarmed(alarm));
    EXPECT_EQ(device::alarmText(alarm, limits), "");
    // A text that is no number neither ends nor restarts the delay.
    EXPECT_FALSE(device::watchReadings(alarm, limits, reading("---", "45.0"), 17 * minute - 1));
    EXPECT_TRUE(device::watchReadings(alarm, limits, reading("8.1", "45.0"), 17 * minute));
    EXPECT_TRUE(device::temperatureAlarmed(alarm));
    EXPECT_FALSE(device::humidityAlarmed(alarm));
    EXPECT_FALSE(device::watchReadings(alarm, limits, reading("8.1", "45.0"), 18 * minute));
    EXPECT_EQ(device::alarmText(alarm, limits), "ALARM: temperature above 8.0 \xB0" "C");
    // Back within: the alarm ends and the delay starts afresh.
    EXPECT_FALSE(device::watchReadings(alarm, limits, reading("8.0", "45.0"), 19 * minute));
    EXPECT_FALSE(device::temperatureAlarmed(alarm));
    EXPECT_FALSE(device::watchReadings(alarm, limits, reading("8.1", "45.0"), 20 * minute));
    EXPECT_FALSE(device::watchReadings(alarm, limits, reading("8.1", "45.0"), 34 * minute));
    EXPECT_TRUE(device::watchReadings(alarm, limits, reading("8.1", "45.0"), 35 * minute));
}

TEST(MonitorAlarm, EachLimitHasItsOwnAlarmNamedInTheScaleInForce)
{
    settings() = defaultSettings();
    settings().celsius = false;
    const analysis::Limits limits = coldChain(0);
    device::AlarmState alarm;
    EXPECT_TRUE(device::watchReadings(alarm, limits, reading("-0.5", "45.0"), 0));
    EXPECT_EQ(device::alarmText(alarm, limits), "ALARM: temperature below 35.6 \xB0" "F");
    // A second limit going into alarm beeps again.
    EXPECT_TRUE(device::watchReadings(alarm, limits, reading("-0.5", "29.9"), 1));
    EXPECT_EQ(device::alarmText(alarm, limits), "ALARM: temperature below 35.6 \xB0" "F, humidity below 30.0 RH%");
    // No limit on high humidity: nothing is ever beyond it.
    EXPECT_FALSE(device::watchReadings(alarm, limits, reading("5.0", "100.0"), 2));
    EXPECT_EQ(device::alarmText(alarm, limits), "");
    // Without limits the monitor never alarms.
    EXPECT_FALSE(device::watchReadings(alarm, analysis::Limits{}, reading("99.9", "0.0"), 3));
    settings() = defaultSettings();
}

class MonitorAlarmTest : public DeviceTest {};

constexpr platform::Color background = platform::rgb(50, 50, 50);
constexpr platform::Color red = platform::rgb(255, 0, 0);
constexpr platform::Color green = platform::rgb(0, 255, 0);

// Pixels of `color` inside the border, rows top to bottom.
int pixelsOf(platform::Color color, int top, int bottom)
{
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 10; x < 390; ++x)
            count += platform::pixel(devicePicture, x, y) == color;
    return count;
}

void expectBorder(platform::Color color)
{
    for (auto [x, y] : {std::pair{0, 0}, {399, 200}, {3, 100}, {200, 197}})
        EXPECT_EQ(platform::pixel(devicePicture, x, y), color) << x << "," << y;
}

} // namespace

TEST_F(MonitorAlarmTest, AReadingBeyondALimitTurnsRedNamesItAndBeepsOnce)
{
    // One text per query: within, temperature above, humidity below too, within.
    Simulator sim({"--readings", "  5.0 50.0|  9.5 50.0|  9.6 25.0|  7.0 50.0"});
    ASSERT_TRUE(sim.started());
    writeText("preferences.pref", preferencesText(sim.address()) + "[Limits]\r\nTemperature high = 8.0\r\n"
                                                                   "Humidity low = 30.0\r\nDelay = 0\r\n");
    t::post([] { t::chooseMenu(menuMonitor); });
    t::post([] { t::click(deviceButton); });
    t::post([] {});   // taken and ignored as monitoring starts
    t::post([] {
        EXPECT_EQ(platform::windowTitle(deviceWindow), "Monitor");
        EXPECT_EQ(t::beeps(), 0);
        expectBorder(background);
        EXPECT_GT(pixelsOf(green, 110, 180), 0);
    });
    t::post([] {
        EXPECT_EQ(platform::windowTitle(deviceWindow), "Monitor - ALARM: temperature above 8.0 \xB0" "C");
        EXPECT_EQ(t::beeps(), 1);
        expectBorder(red);
        EXPECT_GT(pixelsOf(red, 10, 80), 0);
        EXPECT_GT(pixelsOf(green, 110, 180), 0);   // the humidity is within
    });
    t::post([] {
        EXPECT_EQ(platform::windowTitle(deviceWindow),
                  "Monitor - ALARM: temperature above 8.0 \xB0" "C, humidity below 30.0 RH%");
        EXPECT_EQ(t::beeps(), 2);
        EXPECT_EQ(pixelsOf(green, 110, 180), 0);
        EXPECT_GT(pixelsOf(red, 110, 180), 0);
    });
    t::post([] {
        // Within again, and so it stays.
        EXPECT_EQ(platform::windowTitle(deviceWindow), "Monitor");
        expectBorder(background);
        EXPECT_GT(pixelsOf(green, 110, 180), 0);
    });
    t::post([] {
        EXPECT_EQ(platform::windowTitle(deviceWindow), "Monitor");
        EXPECT_EQ(t::beeps(), 2);
        t::click(deviceButton);
    });
    t::post([] {
        EXPECT_EQ(platform::text(deviceButton), "Start Monitor");
        EXPECT_TRUE(t::messages().empty());
        t::requestClose(deviceWindow);
    });
    t::post([] { t::chooseMenu(menuExit); });
    EXPECT_EQ(runProgram(), 0);
}
