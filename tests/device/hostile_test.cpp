// Hostile and broken loggers: replies that trickle in one byte per send, a
// connection reset in the middle of the dump, a monitored logger that never
// answers, and a reply larger than the receive buffer when more than the buffer
// was asked for. A logger that never answers the download, one that hangs up
// after the query, replies in pieces, extra bytes and a refused address are in
// download_test, monitor_test and link_test, with the same checks.
//
// Each case checks its messages exactly, that the records and the graph are as
// before, and the process's sockets (fixture.h). Durations are printed, never
// judged: a wait that did not end would hang the test until ctest stops it.
//
// The progress display: the receive routine runs inside one event's handling, so
// no posted step can look at the window while it waits, and the painting done in
// its pauses leaves nothing the test seam can read. What can be seen is the
// progress it set: a logger that trickles in a "BUSY" reply keeps the Download
// window open, and its status bar still shows the last progress the receive
// showed while it waited.
#include "device/fixture.h"

#include "app/ids.h"
#include "app/state.h"
#include "device/link.h"
#include "device/protocol.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/images.h"
#include "platform/socket.h"
#include "platform/window.h"

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace app;
namespace t = platform::testing;

namespace {

class HostileDownloadTest : public DeviceTest {};
class HostileMonitorTest : public DeviceTest {};

class HostileLinkTest : public SeamTest {
protected:
    void SetUp() override
    {
        SeamTest::SetUp();
        resetState();
        device::startLink();
        ASSERT_TRUE(platform::startSockets());
    }
};

const char* const busyText = "Sentrel32 connected but now is busy...\n\nPlease wait a moment then retry.";

void downloadFrom(const std::string& address)
{
    t::typeAddress(addressField, address);
    t::click(deviceButton);
}

// True once `sim` has printed `line` `times` times, waiting up to 10 s for it as
// sawLine does.
bool sawLineTimes(Simulator& sim, const std::string& line, long times)
{
    const int64_t giveUp = platform::milliseconds() + 10000;
    for (;;) {
        std::vector<std::string> lines = sim.lines();
        if (std::count(lines.begin(), lines.end(), line) >= times)
            return true;
        if (platform::milliseconds() >= giveUp)
            return false;
        platform::sleepMilliseconds(20);
    }
}

// Pixels of the device picture in another colour than the readings' background.
int pixelsBesideBackground()
{
    int count = 0;
    for (int y = 0; y < 201; ++y)
        for (int x = 0; x < 400; ++x)
            count += platform::pixel(devicePicture, x, y) != platform::rgb(50, 50, 50);
    return count;
}

} // namespace

TEST_F(HostileDownloadTest, RepliesOneBytePerSendLoadAndShowTheirProgress)
{
    // Every reply one byte per send, 20 ms apart: the 64-byte query reply alone
    // takes over 1.2 s, some 25 polls of the receive, and the dump's samples
    // arrive split across polls.
    Simulator sim({"--busy", "1", "--samples", "8", "--ramp", "--chunk", "1", "--delay", "20", "--newest",
                   march15NoonText});
    ASSERT_TRUE(sim.started());
    writePreferences(sim.address());
    const int sockets = openSockets();
    ShownRecords before;
    int64_t start = 0;
    t::post([&] {
        fillEarlierRecords();
        before = shownRecords();
        t::chooseMenu(menuDownloadRecords);
    });
    t::post([&] {
        EXPECT_EQ(t::statusProgress(downloadStatusBar, 1), -1);
        start = platform::milliseconds();
        t::click(deviceButton);
    });
    t::post([&] {
        printElapsed("busy reply one byte per send", start);
        ASSERT_EQ(t::messages().size(), 1u);
        expectMessage(0, "Busy", busyText, platform::MessageIcon::Warning);
        ASSERT_TRUE(platform::windowExists(deviceWindow));
        // Set while the receive waited for the rest of the reply, and still shown.
        int progress = t::statusProgress(downloadStatusBar, 1);
        std::printf("[ progress ] %d%%\n", progress);
        EXPECT_GE(progress, 0);
        EXPECT_LE(progress, 100);
        EXPECT_EQ(t::statusText(downloadStatusBar, 0), std::to_string(progress) + "%");
        EXPECT_FALSE(t::waitCursorShown());
        expectShownAsBefore(before);
        EXPECT_EQ(openSockets(), sockets + 1);
        start = platform::milliseconds();
        t::click(deviceButton);
    });
    t::post([&] {
        printElapsed("query and dump one byte per send", start);
        EXPECT_EQ(t::messages().size(), 1u);
        EXPECT_FALSE(platform::windowExists(deviceWindow));
        expectRampRecords(8, 300, march15Noon);
        EXPECT_EQ(platform::windowTitle(mainWindow), "Climadesk");
        // The busy answer's connection was closed before the second one opened.
        EXPECT_TRUE(sim.sawLine("closed 1"));
        EXPECT_TRUE(sim.sawLine("dump 2"));
        EXPECT_EQ(openSockets(), sockets + 1);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(openSockets(), sockets);
}

TEST_F(HostileDownloadTest, ResetDuringTheDumpIsRefusedAndKeepsTheRecords)
{
    // Reset after 40 of the 90 dump bytes, and before the first one.
    Simulator midDump({"--samples", "30", "--ramp", "--reset-after", "40"});
    Simulator atStart({"--samples", "30", "--ramp", "--reset-after", "0"});
    Simulator good({"--samples", "12", "--ramp", "--newest", march15NoonText});
    ASSERT_TRUE(midDump.started() && atStart.started() && good.started());
    writePreferences(midDump.address());
    const int sockets = openSockets();
    ShownRecords before;
    int64_t start = 0;
    t::post([&] {
        fillEarlierRecords();
        before = shownRecords();
    });
    size_t shown = 0;
    struct Reset {
        Simulator* sim;
        const char* when;
        int32_t bytesBefore;
    };
    for (Reset reset : {Reset{&midDump, "mid-dump", 40}, Reset{&atStart, "at the dump's start", 0}}) {
        Simulator* sim = reset.sim;
        t::post([] { t::chooseMenu(menuDownloadRecords); });
        t::post([&, sim] {
            start = platform::milliseconds();
            downloadFrom(sim->address());
        });
        t::post([&, sim, reset] {
            printElapsed(std::string("press to messages, reset ") + reset.when, start);
            // What came before the reset was taken; the reset ended the receive.
            EXPECT_EQ(device::linkState().receivedBytes, reset.bytesBefore);
            // Each message once: the receive ends at the reset, then the dump is refused.
            ASSERT_EQ(t::messages().size(), shown + 2);
            expectMessage(shown, "Network Error", "Sentrel32 has closed the connection...",
                          platform::MessageIcon::None);
            expectMessage(shown + 1, "Error", "Incomplete download from " + sim->address(),
                          platform::MessageIcon::Error);
            shown = t::messages().size();
            EXPECT_TRUE(sim->sawLine("reset 1"));
            EXPECT_FALSE(platform::windowExists(deviceWindow));
            EXPECT_EQ(state().closeRequested, 0);
            EXPECT_FALSE(t::waitCursorShown());
            EXPECT_TRUE(t::windowVisible(mainWindow));
            expectShownAsBefore(before);
            // The reset connection's handle is kept until the next start: one socket.
            EXPECT_EQ(openSockets(), sockets + 1);
        });
    }
    t::post([] { t::chooseMenu(menuDownloadRecords); });
    t::post([&] { downloadFrom(good.address()); });
    t::post([&] {
        // The next start closed the dead connection before it connected.
        EXPECT_EQ(t::messages().size(), 4u);
        expectRampRecords(12, 300, march15Noon);
        EXPECT_EQ(openSockets(), sockets + 1);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(openSockets(), sockets);
}

// Each pass of the monitor waits the 2 s of silence that end a receive.
TEST_F(HostileMonitorTest, SilentLoggerShowsNothingAndMonitoringGoesOnUntilStopped)
{
    Simulator good({"--samples", "40", "--ramp", "--newest", march15NoonText});
    Simulator sim({"--silent"});
    ASSERT_TRUE(good.started() && sim.started());
    writePreferences(good.address());
    const int sockets = openSockets();
    ShownRecords before;
    int64_t start = 0;
    // A download first: its dump leaves printable bytes where a query reply has
    // its reading texts, which the monitor must not take for a reply.
    t::post([] { t::chooseMenu(menuDownloadRecords); });
    t::post([] { t::click(deviceButton); });
    t::post([&] {
        expectRampRecords(40, 300, march15Noon);
        before = shownRecords();
        t::chooseMenu(menuMonitor);
    });
    t::post([&] {
        t::typeAddress(addressField, sim.address());
        start = platform::milliseconds();
        t::click(deviceButton);
    });
    // Taken and ignored by the loop right after the start.
    t::post([] {});
    t::post([&] {
        // After the first pass: no reply, so nothing to show, and no message.
        printElapsed("start to the end of the first pass", start);
        start = platform::milliseconds();
        EXPECT_TRUE(sim.sawLine("query 1"));
        EXPECT_TRUE(t::messages().empty());
        EXPECT_EQ(platform::text(deviceButton), "Stop Monitor");
        EXPECT_FALSE(t::windowVisible(mainWindow));
        EXPECT_EQ(pixelsBesideBackground(), 0);
    });
    t::post([&] {
        // The next pass asked again and waited again; the stop is taken after it.
        printElapsed("second pass", start);
        EXPECT_TRUE(sawLineTimes(sim, "query 1", 2));
        EXPECT_EQ(platform::text(deviceButton), "Stop Monitor");
        EXPECT_TRUE(t::messages().empty());
        t::click(deviceButton);
    });
    t::post([&] {
        EXPECT_EQ(platform::text(deviceButton), "Start Monitor");
        EXPECT_TRUE(t::windowVisible(mainWindow));
        EXPECT_TRUE(t::messages().empty());
        EXPECT_EQ(openSockets(), sockets + 1);
        t::requestClose(deviceWindow);
    });
    t::post([&] {
        EXPECT_FALSE(platform::windowExists(deviceWindow));
        EXPECT_TRUE(t::messages().empty());
        expectShownAsBefore(before);
        EXPECT_EQ(openSockets(), sockets + 1);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(openSockets(), sockets);
}

// The one receive of more than the buffer: about 15 s by the receive pacing.
TEST_F(HostileLinkTest, ReplyBeyondTheBufferStopsAtItsLastByte)
{
    using namespace device;
    // 99,999 samples and 5,000 bytes more, 304,997 bytes, with 400,000 asked for.
    Simulator sim({"--samples", "99999", "--ramp", "--extra", "5000"});
    ASSERT_TRUE(sim.started());
    ASSERT_TRUE(connectDevice(addressOf(sim.address())));
    sendCommand(dumpCommand);
    int64_t start = platform::milliseconds();
    EXPECT_EQ(receiveReply(400000), receiveBufferSize);
    printElapsed("receive of 300,000 bytes", start);
    EXPECT_EQ(linkState().receivedBytes, receiveBufferSize);
    ASSERT_EQ(linkState().receiveBuffer.size(), static_cast<size_t>(receiveBufferSize));
    for (int32_t i = 0; i < maxSamples; ++i) {
        copyReplyBlock(sampleSize);
        Sample sample = decodeSample(linkState().replyBytes);
        ASSERT_EQ(sample.humidity, rampHumidity(i)) << "sample " << i;
        ASSERT_EQ(sample.temperature, rampTemperature(i)) << "sample " << i;
    }
    // The buffer's last three bytes are the first three after the dump...
    copyReplyBlock(sampleSize);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(linkState().replyBytes), 3), "ABC");
    EXPECT_EQ(linkState().receiveReadPos, receiveBufferSize);
    // ... and nothing is copied from beyond it.
    linkState().replyBytes[0] = 'Z';
    copyReplyBlock(sampleSize);
    EXPECT_EQ(linkState().replyBytes[0], 'Z');
    EXPECT_EQ(linkState().receiveReadPos, receiveBufferSize);
    EXPECT_FALSE(linkState().closedByDevice);
    EXPECT_TRUE(t::messages().empty());
}
