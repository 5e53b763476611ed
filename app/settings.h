// settings.h: the user's settings and their file, preferences.pref.
//
// The settings live in memory for the whole run (settings()) and in a small text
// file in the working directory: "[Group]" header lines and "Key = Value" lines.
// loadSettings replaces every setting from the file; saveSettings rewrites the
// whole file, so comments, other keys and the letter case of names written by hand
// are gone after a save.
//
// The limits live in a group "[Limits]" after the eight lines of the other
// settings, written only while a limit is set ("Temperature low = 2.0" in degrees
// Celsius, "Humidity high = 60.0" in %RH, one decimal, then "Delay = 15" in
// minutes); with none set the file is the eight lines alone.
//
// Nothing here reports a failure: a missing, unreadable or malformed file gives
// the default of every setting it does not provide (a [Limits] group with any
// value that is not a limit, or limits that contradict each other, gives no
// limits at all), and a file that cannot be written is left as it was (the old
// one stays intact).
//
// Colours are red + 256 * green + 65536 * blue. The address holds its first
// octet in the low byte (192.168.1.200 is 192 + 168 * 256 + 1 * 65536 + 200 * 16777216).
#pragma once

#include "analysis/limits.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace app {

struct Settings {
    // Kept and written back unchanged; nothing else uses it.
    std::string serialPort;
    uint32_t humidityColor;
    uint32_t temperatureColor;
    // Temperatures shown in degrees Celsius when set, Fahrenheit when clear.
    bool celsius;
    // Curves plotted as dots when set, as lines when clear.
    bool dotStyle;
    // IPv4 address of the device, first octet in the low byte.
    uint32_t deviceAddress;
    // Limits on the readings, drawn on the graph and watched by the Monitor;
    // none set by default.
    analysis::Limits limits;

    friend bool operator==(const Settings&, const Settings&) = default;
};

// The settings file, in the working directory.
constexpr const char* settingsFileName = "preferences.pref";

// The program's settings.
Settings& settings();
// Blue humidity, red temperature, Celsius, dots, 192.168.1.200, no serial port.
Settings defaultSettings();

// Reads settings from the bytes of a settings file. Names of groups and keys
// ignore letter case; values are compared exactly. Files starting with a UTF-8
// byte-order mark are read as UTF-8 and converted to Windows-1252 (characters
// it lacks become "?"); any other file is taken as Windows-1252.
Settings parseSettings(const std::string& fileBytes);
// The whole settings file for `s`: eight lines ended by CR LF, then the
// [Limits] group while a limit is set.
std::string formatSettings(const Settings& s);

// Replaces every setting from `fileName`; a missing or unreadable file gives
// the defaults.
void loadSettings(const std::string& fileName);
// Writes the settings to `fileName`, replacing what was there; silently
// writes nothing when the file cannot be written.
void saveSettings(const std::string& fileName);

// The address as four decimal numbers, first octet first ("192.168.1.200").
std::string addressText(uint32_t address);
// A dotted address as the settings file holds it, first octet in the low byte:
// up to four "."-separated fields, missing ones 0 (details in settings.cpp).
uint32_t readAddress(std::string_view text);

} // namespace app
