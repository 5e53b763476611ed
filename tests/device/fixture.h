// fixture.h: what the device scenario tests share.
//
// Each test starts its own sentrel-sim (support/simulator.h) on a loopback address
// of its own and writes a preferences.pref naming a loopback address before the
// program starts, so nothing ever leaves the machine.
//
// A failed download or monitor must leave everything as it was: shownRecords()
// takes what the main window shows of the records, expectShownAsBefore compares.
// openSockets() counts the process's sockets; the program keeps the logger's
// connection open until the next Download or Monitor start or its end, so a test
// expects its count plus at most that one while the program runs, and its count
// again once the program has ended.
#pragma once

#include "support/program.h"
#include "support/simulator.h"

#include "app/ids.h"
#include "graph/timewindow.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/images.h"
#include "platform/window.h"
#include "records/load.h"

#ifdef _WIN32
#include <winsock2.h>
#endif

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

class DeviceTest : public ProgramTest {
protected:
    // Five records of "earlier.log", shown and scaled as a load shows them, that a
    // failed download must leave alone.
    static void fillEarlierRecords()
    {
        fillStore(5, 600, march15Noon);
        records::store().fileTitle = "earlier.log";
        platform::setWindowTitle(app::mainWindow, "Climadesk - earlier.log");
        records::fitTimeScale(records::spanOf(600, 5));
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

// The ramp's records, `count` of them, newest at `newest`, `interval` s apart.
inline void expectRampRecords(int32_t count, int32_t interval, int32_t newest)
{
    ASSERT_EQ(records::recordTotal(), count);
    EXPECT_EQ(records::store().recordCount, count);
    EXPECT_EQ(records::store().interval, interval);
    for (int32_t i = 0; i < count; ++i) {
        const records::Record& r = records::recordAt(i);
        ASSERT_EQ(r.humidity, rampHumidity(i)) << "record " << i;
        ASSERT_EQ(r.temperature, rampTemperature(i)) << "record " << i;
        ASSERT_EQ(r.time, newest - (count - 1 - i) * interval) << "record " << i;
    }
}

// Message box `index` of those shown so far.
inline void expectMessage(size_t index, const char* title, const std::string& text, platform::MessageIcon icon)
{
    const auto& shown = platform::testing::messages();
    ASSERT_GT(shown.size(), index);
    EXPECT_EQ(shown[index].title, title);
    EXPECT_EQ(shown[index].text, text);
    EXPECT_EQ(shown[index].icon, icon);
}

// The program's form of a dotted address: first octet in the low byte.
inline uint32_t addressOf(const std::string& text)
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    std::sscanf(text.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d);
    return a | b << 8 | c << 16 | d << 24;
}

// What the main window shows of the records: the store, the titles, the panel's
// texts, the time window and every pixel of the graph.
struct ShownRecords {
    std::vector<records::Record> records;
    int32_t recordCount = 0;
    int32_t interval = 0;
    std::string fileTitle;
    std::string windowTitle;
    std::vector<std::string> panelTexts;
    int32_t timeScale = 0;
    int trackBar = 0;
    platform::testing::ScrollInfo scroll = {};
    platform::Size graphSize = {};
    std::vector<platform::Color> graph;
};

inline ShownRecords shownRecords()
{
    using namespace app;
    ShownRecords shown;
    shown.records = records::store().records;
    shown.recordCount = records::store().recordCount;
    shown.interval = records::store().interval;
    shown.fileTitle = records::store().fileTitle;
    shown.windowTitle = platform::windowTitle(mainWindow);
    for (int text : {firstRecordText, lastRecordText, recordCountText, humidityMaxText, humidityMinText,
                     temperatureMaxText, temperatureMinText})
        shown.panelTexts.push_back(platform::text(text));
    shown.timeScale = graph::timeWindow().timeScalePosition;
    shown.trackBar = platform::trackBarPosition(timeScaleTrackBar);
    shown.scroll = platform::testing::scrollInfo(graphScrollBar);
    shown.graphSize = platform::imageSize(graphImage);
    for (int y = 0; y < shown.graphSize.height; ++y)
        for (int x = 0; x < shown.graphSize.width; ++x)
            shown.graph.push_back(platform::pixel(graphImage, x, y));
    return shown;
}

inline void expectShownAsBefore(const ShownRecords& before)
{
    ShownRecords now = shownRecords();
    ASSERT_EQ(now.records.size(), before.records.size());
    for (size_t i = 0; i < now.records.size(); ++i) {
        ASSERT_EQ(now.records[i].time, before.records[i].time) << "record " << i;
        ASSERT_EQ(now.records[i].humidity, before.records[i].humidity) << "record " << i;
        ASSERT_EQ(now.records[i].temperature, before.records[i].temperature) << "record " << i;
    }
    EXPECT_EQ(now.recordCount, before.recordCount);
    EXPECT_EQ(now.interval, before.interval);
    EXPECT_EQ(now.fileTitle, before.fileTitle);
    EXPECT_EQ(now.windowTitle, before.windowTitle);
    EXPECT_EQ(now.panelTexts, before.panelTexts);
    EXPECT_EQ(now.timeScale, before.timeScale);
    EXPECT_EQ(now.trackBar, before.trackBar);
    EXPECT_EQ(now.scroll.minimum, before.scroll.minimum);
    EXPECT_EQ(now.scroll.maximum, before.scroll.maximum);
    EXPECT_EQ(now.scroll.page, before.scroll.page);
    EXPECT_EQ(now.scroll.position, before.scroll.position);
    EXPECT_EQ(now.graphSize.width, before.graphSize.width);
    EXPECT_EQ(now.graphSize.height, before.graphSize.height);
    EXPECT_TRUE(now.graph == before.graph) << "the graph's pixels changed";
}

#ifdef _WIN32
// The sockets this process has open. Winsock lists none, so every small handle
// value is asked whether it is a socket.
inline int openSockets()
{
    int count = 0;
    for (uintptr_t handle = 4; handle < 16384; handle += 4) {
        int type = 0;
        int size = sizeof type;
        if (getsockopt(static_cast<SOCKET>(handle), SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &size) == 0)
            ++count;
    }
    return count;
}
#else
// The sockets this process has open: its descriptors that name a socket.
inline int openSockets()
{
    int count = 0;
    std::error_code listing;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", listing)) {
        // The listing's own descriptor is gone by the time it is looked at.
        std::error_code gone;
        if (std::filesystem::read_symlink(entry.path(), gone).string().rfind("socket:", 0) == 0)
            ++count;
    }
    return count;
}
#endif

// Prints how long something took, for whoever reads the test log; the tests
// never judge a duration.
inline void printElapsed(const std::string& what, int64_t sinceMs)
{
    std::printf("[ elapsed  ] %s: %lld ms\n", what.c_str(), static_cast<long long>(platform::milliseconds() - sinceMs));
}
