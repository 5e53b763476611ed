// Settings: the reading rules of preferences.pref, the exact file written, and
// loading and saving through the working directory.
#include "app/settings.h"

#include "support/workdir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

namespace app {
// Failure messages show settings as the file they would be saved as.
void PrintTo(const Settings& s, std::ostream* out)
{
    *out << formatSettings(s);
}
} // namespace app

namespace {

using app::parseSettings;
using app::Settings;

constexpr uint32_t blue = 16711680;
constexpr uint32_t red = 255;
// 192.168.1.200 with the first octet in the low byte.
constexpr uint32_t defaultAddress = 192u + 168u * 256 + 1u * 65536 + 200u * 16777216;

const std::string defaultFile = "[Settings]\r\n"
                                "Serial Port = \r\n"
                                "Color RH = 16711680\r\n"
                                "Color Temp = 255\r\n"
                                "Temperature scale = Celsius\r\n"
                                "Style = Dot\r\n"
                                "[TCP/IP Settings]\r\n"
                                "IP Address = 192.168.1.200\r\n";

// The address read from a file whose only line names it.
uint32_t addressFrom(const std::string& value)
{
    return parseSettings("[TCP/IP Settings]\r\nIP Address = " + value + "\r\n").deviceAddress;
}

// The humidity colour read from a file whose only key line names it.
uint32_t colorFrom(const std::string& value)
{
    return parseSettings("[Settings]\r\nColor RH = " + value + "\r\n").humidityColor;
}

class SettingsFileTest : public WorkDirTest {};

TEST_F(SettingsFileTest, NoFileGivesTheDefaults)
{
    app::settings() = Settings{"COM1", 1, 2, false, false, 3, {}};
    app::loadSettings(app::settingsFileName);
    const Settings& s = app::settings();
    EXPECT_EQ(s.serialPort, "");
    EXPECT_EQ(s.humidityColor, blue);
    EXPECT_EQ(s.temperatureColor, red);
    EXPECT_TRUE(s.celsius);
    EXPECT_TRUE(s.dotStyle);
    EXPECT_EQ(s.deviceAddress, defaultAddress);
    EXPECT_EQ(app::addressText(s.deviceAddress), "192.168.1.200");
    EXPECT_EQ(app::defaultSettings(), s);
    EXPECT_EQ(readText(app::settingsFileName), "");  // loading never creates the file
}

TEST_F(SettingsFileTest, SaveWritesTheExactFileAndLoadReadsItBack)
{
    app::settings() = app::defaultSettings();
    app::saveSettings(app::settingsFileName);
    EXPECT_EQ(readText(app::settingsFileName), defaultFile);

    const Settings changed{"COM3", 0x00123456, 0, false, false, 127u + 5u * 16777216, {}};
    app::settings() = changed;
    app::saveSettings(app::settingsFileName);
    EXPECT_EQ(readText(app::settingsFileName), "[Settings]\r\n"
                                                "Serial Port = COM3\r\n"
                                                "Color RH = 1193046\r\n"
                                                "Color Temp = 0\r\n"
                                                "Temperature scale = Fahrenheit\r\n"
                                                "Style = Line\r\n"
                                                "[TCP/IP Settings]\r\n"
                                                "IP Address = 127.0.0.5\r\n");
    app::settings() = app::defaultSettings();
    app::loadSettings(app::settingsFileName);
    EXPECT_EQ(app::settings(), changed);
}

TEST_F(SettingsFileTest, CommentsAndExtraKeysVanishOnSave)
{
    writeText(app::settingsFileName, "; written by hand\r\n"
                                     "[settings]\r\n"
                                     "color rh = 16711680\r\n"
                                     "Window = maximised\r\n"
                                     "[Extra]\r\n"
                                     "Colour = 7\r\n"
                                     "[TCP/IP Settings]\r\n"
                                     "IP Address = 192.168.001.200\r\n");
    app::loadSettings(app::settingsFileName);
    app::saveSettings(app::settingsFileName);
    EXPECT_EQ(readText(app::settingsFileName), defaultFile);
}

TEST(SettingsParse, NamesIgnoreCaseValuesDoNot)
{
    const Settings s = parseSettings("[settings]\r\n"
                                     "color rh = 42\r\n"
                                     "COLOR TEMP = 43\r\n"
                                     "temperature scale = celsius\r\n"
                                     "sTyLe = dot\r\n"
                                     "serial port = com2\r\n"
                                     "[tcp/ip SETTINGS]\r\n"
                                     "ip address = 10.0.0\r\n");
    EXPECT_EQ(s.humidityColor, 42u);
    EXPECT_EQ(s.temperatureColor, 43u);
    EXPECT_FALSE(s.celsius);
    EXPECT_FALSE(s.dotStyle);
    EXPECT_EQ(s.serialPort, "com2");
    EXPECT_EQ(s.deviceAddress, 10u);
    EXPECT_EQ(app::addressText(s.deviceAddress), "10.0.0.0");
}

TEST(SettingsParse, KeysAreFoundOnlyInTheirGroupAndTheFirstLineWins)
{
    // Wrong group: both keys fall back to their defaults.
    Settings s = parseSettings("[TCP/IP Settings]\r\nColor RH = 1\r\n"
                               "[Settings]\r\nIP Address = 10.0.0.1\r\n");
    EXPECT_EQ(s.humidityColor, blue);
    EXPECT_EQ(s.deviceAddress, defaultAddress);

    // A key after the next header is outside its group; the first match wins.
    s = parseSettings("[Settings]\r\nColor RH = 1\r\ncolor rh = 2\r\n[Other]\r\nColor Temp = 3\r\n");
    EXPECT_EQ(s.humidityColor, 1u);
    EXPECT_EQ(s.temperatureColor, red);

    // Only the first header of a name counts.
    s = parseSettings("[Settings]\r\nColor RH = 1\r\n[Settings]\r\nColor Temp = 3\r\n");
    EXPECT_EQ(s.humidityColor, 1u);
    EXPECT_EQ(s.temperatureColor, red);

    // Comments, keys before any header and lines without "=" are skipped.
    s = parseSettings("Style = Line\r\n"
                      "[Settings]\r\n"
                      "; Color RH = 5\r\n"
                      "Color RH\r\n"
                      "  \t; Temperature scale = Fahrenheit\r\n"
                      "Color RH = 6\r\n");
    EXPECT_EQ(s.humidityColor, 6u);
    EXPECT_TRUE(s.celsius);
    EXPECT_TRUE(s.dotStyle);
}

TEST(SettingsParse, BlanksAroundNamesAndValues)
{
    const Settings s = parseSettings("  \t[Settings\r\n"
                                     "\t Serial Port \t=   COM 1 \t\r\n"
                                     "Style\t = Line\r\n"
                                     " Temperature scale=Celsius\r\n"
                                     "Color Temp = 12 = 13\r\n");
    EXPECT_EQ(s.serialPort, "COM 1");
    EXPECT_FALSE(s.dotStyle);
    EXPECT_TRUE(s.celsius);
    EXPECT_EQ(s.temperatureColor, 12u);
}

TEST(SettingsParse, AnyLineEnd)
{
    // CR alone, LF alone, CR LF, and a last line without an end.
    const Settings s = parseSettings("[Settings]\rColor RH = 1\nColor Temp = 2\r\n"
                                     "Style = Line\r\r\n[TCP/IP Settings]\nIP Address = 1.2.3.4");
    EXPECT_EQ(s.humidityColor, 1u);
    EXPECT_EQ(s.temperatureColor, 2u);
    EXPECT_FALSE(s.dotStyle);
    EXPECT_EQ(app::addressText(s.deviceAddress), "1.2.3.4");
}

TEST(SettingsParse, Utf8FileWithByteOrderMark)
{
    // "COMé € ☃": é and € exist in Windows-1252, the snowman does not. A stray
    // continuation byte, an overlong "/" and a cut-short sequence are not UTF-8:
    // each of their bytes reads as "?".
    const Settings s = parseSettings("\xEF\xBB\xBF[Settings]\r\n"
                                     "Serial Port = COM\xC3\xA9 \xE2\x82\xAC \xE2\x98\x83 \x80x"
                                     " \xE0\x80\xAF \xE2\x82\r\n"
                                     "Style = Line\r\n");
    EXPECT_EQ(s.serialPort, "COM\xE9 \x80 ? ?x ??? ??");
    EXPECT_FALSE(s.dotStyle);

    // Without the mark the bytes are Windows-1252 already and stay as they are.
    EXPECT_EQ(parseSettings("[Settings]\r\nSerial Port = COM\xC3\xA9\r\n").serialPort, "COM\xC3\xA9");
}

TEST(SettingsParse, Numbers)
{
    EXPECT_EQ(colorFrom("8421504"), 8421504u);
    EXPECT_EQ(colorFrom("+77abc"), 77u);
    EXPECT_EQ(colorFrom("abc"), 0u);
    EXPECT_EQ(colorFrom(""), 0u);
    EXPECT_EQ(colorFrom("- 5"), 0u);
    // Values wrap modulo 2^32.
    EXPECT_EQ(colorFrom("-1"), 4294967295u);
    EXPECT_EQ(colorFrom("4294967296"), 0u);
    EXPECT_EQ(colorFrom("99999999999999999999"), 1661992959u);  // (10^20 - 1) mod 2^32
}

TEST(SettingsParse, AddressFields)
{
    EXPECT_EQ(app::addressText(addressFrom("192.168.001.200")), "192.168.1.200");
    EXPECT_EQ(addressFrom("10.0.0"), 10u);
    EXPECT_EQ(addressFrom(""), 0u);
    EXPECT_EQ(addressFrom("..."), 0u);
    EXPECT_EQ(addressFrom("255.255.255.255"), 4294967295u);
    // Fields are not limited to 255: 300 carries into the second octet.
    EXPECT_EQ(addressFrom("300.1.1.1"), 300u + 1u * 256 + 1u * 65536 + 1u * 16777216);
    EXPECT_EQ(app::addressText(addressFrom("300.1.1.1")), "44.2.1.1");
    EXPECT_EQ(addressFrom("0.0.0.256"), 0u);
    // Blanks before digits, text after them, a fifth field.
    EXPECT_EQ(addressFrom("1. 2 .3x.4.5"), 1u + 2u * 256 + 3u * 65536 + 4u * 16777216);
    // A field of any length is read modulo 2^32 before it is weighted.
    EXPECT_EQ(addressFrom("99999999999999999999.0.0.0"), 1661992959u);
    EXPECT_EQ(addressFrom("0.99999999999999999999"), 1661992959u * 256u);
}

// Whatever bytes a file holds, reading gives settings that save and read back
// unchanged (run under the sanitizers, it also shows reading is free of UB).
TEST(SettingsParse, GarbageReadsToStableSettings)
{
    const std::string pieces[] = {"[Settings]", "[TCP/IP Settings]", "Color RH =", "IP Address=",
                                  "Serial Port = ", "\r", "\n", "\xEF\xBB\xBF", "99999999999",
                                  std::string(1, '\0'), ".", "-", "\xFF\xC3", "\t", "=", ";"};
    uint32_t seed = 12345;
    for (int file = 0; file < 500; ++file) {
        std::string bytes = file % 2 == 0 ? "\xEF\xBB\xBF" : "";
        for (int piece = 0; piece < 40; ++piece) {
            seed = seed * 1103515245u + 12345u;
            bytes += (seed >> 16) % 3 == 0 ? std::string(1, static_cast<char>(seed >> 8))
                                           : pieces[(seed >> 16) % std::size(pieces)];
        }
        const Settings read = parseSettings(bytes);
        ASSERT_EQ(parseSettings(app::formatSettings(read)), read) << "file " << file;
    }
    EXPECT_EQ(colorFrom(std::string("\xFF\xFE\0\x01", 4)), 0u);
}

} // namespace
