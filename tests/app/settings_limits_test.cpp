// The [Limits] group of preferences.pref: the exact bytes written, the file
// without it while no limit is set, and groups that must be ignored.
#include "analysis/limit_input.h"
#include "app/settings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using analysis::Limits;
using app::parseSettings;

const std::string eightLines = "[Settings]\r\n"
                               "Serial Port = \r\n"
                               "Color RH = 16711680\r\n"
                               "Color Temp = 255\r\n"
                               "Temperature scale = Fahrenheit\r\n"
                               "Style = Dot\r\n"
                               "[TCP/IP Settings]\r\n"
                               "IP Address = 127.0.0.1\r\n";

app::Settings withLimits(const Limits& limits)
{
    app::Settings s = parseSettings(eightLines);
    s.limits = limits;
    return s;
}

// The limits read from the eight lines followed by `group`.
Limits limitsFrom(const std::string& group)
{
    return parseSettings(eightLines + group).limits;
}

TEST(SettingsLimits, WrittenAfterTheEightLinesOnlyWhileALimitIsSet)
{
    EXPECT_EQ(app::formatSettings(withLimits({})), eightLines);
    // A delay without any limit is not a group of its own.
    Limits delayOnly;
    delayOnly.delayMinutes = 15;
    EXPECT_EQ(app::formatSettings(withLimits(delayOnly)), eightLines);

    Limits all;
    all.value[analysis::TemperatureLow] = 20;
    all.value[analysis::TemperatureHigh] = 80;
    all.value[analysis::HumidityLow] = 0;
    all.value[analysis::HumidityHigh] = 1000;
    all.delayMinutes = 15;
    // Celsius and %RH whatever the scale in force, low before high.
    const std::string allText = eightLines + "[Limits]\r\n"
                                             "Temperature low = 2.0\r\n"
                                             "Temperature high = 8.0\r\n"
                                             "Humidity low = 0.0\r\n"
                                             "Humidity high = 100.0\r\n"
                                             "Delay = 15\r\n";
    EXPECT_EQ(app::formatSettings(withLimits(all)), allText);
    EXPECT_EQ(parseSettings(allText), withLimits(all));

    Limits one;
    one.value[analysis::TemperatureLow] = -5;
    const std::string oneText = eightLines + "[Limits]\r\nTemperature low = -0.5\r\nDelay = 0\r\n";
    EXPECT_EQ(app::formatSettings(withLimits(one)), oneText);
    EXPECT_EQ(parseSettings(oneText), withLimits(one));
}

TEST(SettingsLimits, ReadAsTheOtherGroupsAre)
{
    // Names in any letter case, blanks around values, keys in any order, whole
    // degrees, a missing delay.
    const Limits read = limitsFrom("[limits]\r\n\tHUMIDITY HIGH =  60 \r\ntemperature high=-3.5\r\n");
    EXPECT_EQ(read.value[analysis::HumidityHigh], 600);
    EXPECT_EQ(read.value[analysis::TemperatureHigh], -35);
    EXPECT_FALSE(read.value[analysis::TemperatureLow]);
    EXPECT_FALSE(read.value[analysis::HumidityLow]);
    EXPECT_EQ(read.delayMinutes, 0);
    // The group may stand before the others; their values stay.
    const app::Settings s = parseSettings("[Limits]\r\nHumidity low = 30.0\r\n" + eightLines);
    EXPECT_EQ(s.limits.value[analysis::HumidityLow], 300);
    EXPECT_FALSE(s.celsius);
}

TEST(SettingsLimits, ABrokenGroupIsIgnoredWhole)
{
    const std::string good = "Temperature low = 2.0\r\nTemperature high = 8.0\r\n";
    ASSERT_TRUE(analysis::anyLimit(limitsFrom("[Limits]\r\n" + good)));
    const char* const broken[] = {
        "Humidity low = abc\r\n",      // not a number
        "Humidity low = 30.05\r\n",    // two decimals
        "Humidity low = 3,0\r\n",      // the file writes a point
        "Humidity low = \r\n",         // empty
        "Humidity low = 1e2\r\n",
        "Humidity low = 123456\r\n",   // more digits than any limit has
        "Humidity high = 100.1\r\n",   // beyond 100 %RH
        "Humidity low = -0.1\r\n",
        "Humidity low = 60.0\r\nHumidity high = 30.0\r\n",   // low above high
        "Temperature low = 9.0\r\n",   // above the high limit
        "Temperature low = -1000.1\r\n",
        "Temperature high = 1000.1\r\n",
        "Delay = -1\r\n",
        "Delay = 1.5\r\n",
        "Delay = soon\r\n",
    };
    for (const char* line : broken) {
        // The first line of a key counts, so the broken line comes first.
        const Limits read = limitsFrom(std::string("[Limits]\r\n") + line + good);
        EXPECT_EQ(read, Limits{}) << line;
        // The rest of the file reads as before, and saving drops the group.
        const app::Settings s = parseSettings(eightLines + "[Limits]\r\n" + line + good);
        EXPECT_EQ(app::formatSettings(s), eightLines) << line;
    }
    // Equal limits hold one value; other keys in the group are passed over.
    const Limits equal = limitsFrom("[Limits]\r\nHumidity low = 50.0\r\nHumidity high = 50.0\r\nAlarm = on\r\n");
    EXPECT_EQ(equal.value[analysis::HumidityLow], 500);
    EXPECT_EQ(equal.value[analysis::HumidityHigh], 500);
}

TEST(LimitText, TenthsAndFahrenheit)
{
    EXPECT_EQ(analysis::tenthsText(0), "0.0");
    EXPECT_EQ(analysis::tenthsText(-5), "-0.5");
    EXPECT_EQ(analysis::tenthsText(-125), "-12.5");
    EXPECT_EQ(analysis::tenthsText(999999), "99999.9");
    EXPECT_EQ(analysis::readTenths("-12.5"), -125);
    EXPECT_EQ(analysis::readTenths("-0.5"), -5);
    EXPECT_EQ(analysis::readTenths("8"), 80);
    EXPECT_EQ(analysis::readTenths("99999.9"), 999999);
    for (const char* wrong : {"", "-", ".", "-.5", ".5", "5.", "+5", " 5", "5 ", "1.2.3", "--5", "5.x", "123456"})
        EXPECT_FALSE(analysis::readTenths(wrong)) << wrong;
    EXPECT_EQ(analysis::readMinutes("0"), 0);
    EXPECT_EQ(analysis::readMinutes("999999"), 999999);
    EXPECT_FALSE(analysis::readMinutes("1000000"));
    EXPECT_FALSE(analysis::readMinutes("-1"));
    // 2.0 and 8.0 degrees Celsius are 35.6 and 46.4 degrees Fahrenheit; every
    // Celsius limit shown in Fahrenheit reads back as itself.
    EXPECT_EQ(analysis::fahrenheitTenths(20), 356);
    EXPECT_EQ(analysis::fahrenheitTenths(-400), -400);
    EXPECT_EQ(analysis::celsiusTenths(464), 80);
    EXPECT_EQ(analysis::celsiusTenths(465), 81);   // 8.06 degrees, rounded
    for (int32_t c = -5000; c <= 5000; ++c)
        ASSERT_EQ(analysis::celsiusTenths(analysis::fahrenheitTenths(c)), c) << c;
}

} // namespace
