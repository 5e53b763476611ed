#include "support/program.h"

#include "analysis/statistics.h"
#include "app/startup.h"
#include "platform/controls.h"

void ProgramTest::SetUp()
{
    SeamTest::SetUp();
    writePreferences("127.0.0.1");
}

void ProgramTest::writePreferences(const std::string& address, bool celsius) const
{
    writeText("preferences.pref", preferencesText(address, celsius));
}

std::string ProgramTest::preferencesText(const std::string& address, bool celsius)
{
    return "[Settings]\r\nSerial Port = \r\nColor RH = 16711680\r\nColor Temp = 255\r\n"
           "Temperature scale = "
           + std::string(celsius ? "Celsius" : "Fahrenheit")
           + "\r\nStyle = Dot\r\n[TCP/IP Settings]\r\nIP Address = " + address + "\r\n";
}

int ProgramTest::runProgram()
{
    return app::run();
}

void ProgramTest::loadValues(const std::vector<std::pair<int32_t, int32_t>>& values, int32_t interval,
                             int32_t newestTime)
{
    records::clearRecords();
    for (auto [temperature, humidity] : values)
        records::appendRecord(temperature, humidity);
    records::store().interval = interval;
    records::store().recordCount = records::recordTotal();
    records::assignRecordTimes(newestTime);
    analysis::refreshStatistics();
}

void ProgramTest::fillStore(int32_t count, int32_t interval, int32_t newestTime)
{
    std::vector<std::pair<int32_t, int32_t>> values;
    for (int32_t i = 0; i < count; ++i)
        values.push_back({200 + i % 50, 400 + i % 100});
    loadValues(values, interval, newestTime);
}

void expectPlacements(const std::vector<Placement>& placements)
{
    for (const Placement& p : placements) {
        platform::Rect r = platform::controlRect(p.id);
        if (p.caption) {
            EXPECT_EQ(platform::text(p.id), p.caption) << "control " << p.id;
        }
        EXPECT_EQ(r.x, p.rect.x) << "control " << p.id;
        EXPECT_EQ(r.y, p.rect.y) << "control " << p.id;
        EXPECT_EQ(r.width, p.rect.width) << "control " << p.id;
        EXPECT_EQ(r.height, p.rect.height) << "control " << p.id;
    }
}
