// fixture.h: what the device scenario tests share.
//
// Each test starts its own sentrel-sim (support/simulator.h) on a loopback address
// of its own and writes a preferences.pref naming a loopback address before the
// program starts, so nothing ever leaves the machine.
#pragma once

#include "support/program.h"
#include "support/simulator.h"

#include <cstdint>
#include <string>

class DeviceTest : public ProgramTest {
protected:
    // Replaces preferences.pref: default colours and dots, the given scale and address.
    void writePreferences(const std::string& address, bool celsius = true) const
    {
        writeText("preferences.pref", preferencesText(address, celsius));
    }

    // The settings file as the program writes it for those settings.
    static std::string preferencesText(const std::string& address, bool celsius = true)
    {
        return "[Settings]\r\nSerial Port = \r\nColor RH = 16711680\r\nColor Temp = 255\r\n"
               "Temperature scale = "
               + std::string(celsius ? "Celsius" : "Fahrenheit")
               + "\r\nStyle = Dot\r\n[TCP/IP Settings]\r\nIP Address = " + address + "\r\n";
    }
};

// 2024-03-15 12:00:00 as the program counts (no time zone), and the simulator's
// option naming it.
constexpr int32_t march15Noon = 1710504000;
inline const char* const march15NoonText = "2024/03/15 12:00";

// What the simulator's --ramp sample `i` holds (i = 0 is the oldest): every 25th a gap.
inline int32_t rampHumidity(int32_t i)
{
    return i % 25 == 24 ? 0 : 300 + i % 600;
}
inline int32_t rampTemperature(int32_t i)
{
    return i % 25 == 24 ? 0 : -100 + i % 500;
}
