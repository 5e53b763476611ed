// File > Download Records end to end against sentrel-sim: the window, the load,
// the saved address and every failure with its message.
#include "device/fixture.h"

#include "app/ids.h"
#include "app/settings.h"
#include "graph/timewindow.h"
#include "platform/controls.h"
#include "platform/window.h"
#include "records/store.h"

using namespace app;
namespace t = platform::testing;

namespace {

class DownloadTest : public DeviceTest {};

void expectEarlierRecords()
{
    EXPECT_EQ(records::recordTotal(), 5);
    EXPECT_EQ(records::store().interval, 600);
    EXPECT_EQ(platform::windowTitle(mainWindow), "Climadesk - earlier.log");
    EXPECT_TRUE(platform::menuItemEnabled(menuSaveAs));
}

void downloadFrom(const std::string& address)
{
    t::typeAddress(addressField, address);
    t::click(deviceButton);
}

} // namespace

TEST_F(DownloadTest, LoadsTheLoggersRecordsAndSavesTheTypedAddress)
{
    Simulator sim({"--samples", "300", "--ramp", "--interval", "5", "--newest", march15NoonText});
    ASSERT_TRUE(sim.started());
    const std::string elsewhere = Simulator::unusedAddress();
    writePreferences(elsewhere);
    t::post([&] {
        fillEarlierRecords();
        records::store().fileDigest = std::string(64, 'e');   // as an import of earlier.log leaves it
        // Opening the window reads the file again, every setting of it.
        writePreferences(elsewhere, false);
        t::chooseMenu(menuDownloadRecords);
    });
    t::post([&] {
        ASSERT_TRUE(platform::windowExists(deviceWindow));
        EXPECT_EQ(platform::windowTitle(deviceWindow), "Download");
        EXPECT_EQ(platform::clientSize(deviceWindow).width, 400);
        EXPECT_EQ(platform::clientSize(deviceWindow).height, 330);
        EXPECT_EQ(platform::text(addressField), elsewhere);
        EXPECT_FALSE(settings().celsius);
        EXPECT_EQ(platform::text(addressLabel), "Sentrel32 IP Address: ");
        EXPECT_EQ(platform::text(deviceButton), "Download Records");
        platform::Rect button = platform::controlRect(deviceButton);
        EXPECT_EQ(button.x, 145);
        EXPECT_EQ(button.y, 270);
        platform::Rect field = platform::controlRect(addressField);
        EXPECT_EQ(field.x, 200);
        EXPECT_EQ(field.y, 225);
        EXPECT_GT(platform::statusBarHeight(downloadStatusBar), 0);
        expectEarlierRecords();
        downloadFrom(sim.address());
    });
    t::post([&] {
        EXPECT_TRUE(t::messages().empty());
        EXPECT_FALSE(platform::windowExists(deviceWindow));
        EXPECT_EQ(state().closeRequested, 0);
        expectRampRecords(300, 300, march15Noon);
        EXPECT_EQ(platform::windowTitle(mainWindow), "Climadesk");
        EXPECT_EQ(records::store().fileTitle, "");
        EXPECT_EQ(records::store().fileDigest, "");   // a download not yet saved
        // 300 samples of 5 minutes span 90,000 s; a fifth of that is below 36,000: level 13.
        EXPECT_EQ(graph::timeWindow().timeScalePosition, 13);
        EXPECT_EQ(platform::trackBarPosition(timeScaleTrackBar), 13);
        EXPECT_TRUE(platform::menuItemEnabled(menuExportAsExcel));
        EXPECT_FALSE(t::waitCursorShown());
        EXPECT_EQ(readText("preferences.pref"), preferencesText(sim.address(), false));
        EXPECT_TRUE(sim.sawLine("dump 1"));
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(DownloadTest, NoSamplesLoadAnEmptyStore)
{
    Simulator none({"--samples", "0"});
    Simulator negative({"--samples", "5", "--raw-count", "-0005"});
    Simulator letters({"--samples", "5", "--raw-count", "abc"});
    ASSERT_TRUE(none.started() && negative.started() && letters.started());
    writePreferences(none.address());
    for (Simulator* sim : {&none, &negative, &letters}) {
        t::post([] {
            fillEarlierRecords();
            t::chooseMenu(menuDownloadRecords);
        });
        t::post([sim] { downloadFrom(sim->address()); });
        t::post([sim] {
            EXPECT_TRUE(t::messages().empty());
            EXPECT_FALSE(platform::windowExists(deviceWindow));
            EXPECT_EQ(records::recordTotal(), 0);
            EXPECT_EQ(records::store().recordCount, 0);
            EXPECT_EQ(platform::windowTitle(mainWindow), "Climadesk");
            EXPECT_FALSE(platform::menuItemEnabled(menuSaveAs));
            EXPECT_FALSE(platform::controlEnabled(profileButton));
            // The dump was asked for all the same.
            EXPECT_TRUE(sim->sawLine("dump 1"));
        });
    }
    t::post([] { t::chooseMenu(menuExit); });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(DownloadTest, BusyKeepsTheWindowAndTheNextPressConnectsAfresh)
{
    Simulator sim({"--busy", "1", "--samples", "30", "--ramp", "--newest", march15NoonText});
    ASSERT_TRUE(sim.started());
    writePreferences(sim.address());
    t::post([] {
        fillEarlierRecords();
        t::chooseMenu(menuDownloadRecords);
    });
    t::post([] { t::click(deviceButton); });
    t::post([&] {
        ASSERT_EQ(t::messages().size(), 1u);
        expectMessage(0, "Busy", "Sentrel32 connected but now is busy...\n\nPlease wait a moment then retry.",
                      platform::MessageIcon::Warning);
        EXPECT_TRUE(platform::windowExists(deviceWindow));
        EXPECT_FALSE(t::waitCursorShown());
        expectEarlierRecords();
        t::click(deviceButton);
    });
    t::post([&] {
        EXPECT_EQ(t::messages().size(), 1u);
        EXPECT_FALSE(platform::windowExists(deviceWindow));
        expectRampRecords(30, 300, march15Noon);
        // The busy answer's connection was closed before the second one opened.
        EXPECT_TRUE(sim.sawLine("closed 1"));
        EXPECT_TRUE(sim.sawLine("dump 2"));
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(DownloadTest, FailuresSayWhatHappenedAndKeepTheRecordsShown)
{
    Simulator garbled({"--garbled"});
    Simulator hangsUp({"--close-after-query", "--samples", "30"});
    ASSERT_TRUE(garbled.started() && hangsUp.started());
    const std::string nobody = Simulator::unusedAddress();
    writePreferences(nobody);
    const int sockets = openSockets();
    ShownRecords before;
    t::post([&] {
        fillEarlierRecords();
        before = shownRecords();
        t::chooseMenu(menuDownloadRecords);
    });
    t::post([] { t::click(deviceButton); });
    t::post([&] {
        // Refused: the window stays for another try, and no connection is left.
        ASSERT_EQ(t::messages().size(), 1u);
        expectMessage(0, "Error", "Can't connect to " + nobody, platform::MessageIcon::Error);
        EXPECT_TRUE(platform::windowExists(deviceWindow));
        EXPECT_FALSE(t::waitCursorShown());
        expectEarlierRecords();
        expectShownAsBefore(before);
        EXPECT_EQ(openSockets(), sockets);
        downloadFrom(garbled.address());
    });
    t::post([&] {
        // Neither OK nor busy: the window closes; the connection stays until the next start.
        ASSERT_EQ(t::messages().size(), 2u);
        expectMessage(1, "Error", "No Sentrel32connected at " + garbled.address(), platform::MessageIcon::Error);
        EXPECT_FALSE(platform::windowExists(deviceWindow));
        EXPECT_EQ(state().closeRequested, 0);
        expectEarlierRecords();
        expectShownAsBefore(before);
        EXPECT_EQ(openSockets(), sockets + 1);
        t::chooseMenu(menuDownloadRecords);
    });
    t::post([&] { downloadFrom(hangsUp.address()); });
    t::post([&] {
        // Closed after the query: one "Network Error", then the dump is refused.
        ASSERT_EQ(t::messages().size(), 4u);
        expectMessage(2, "Network Error", "Sentrel32 has closed the connection...", platform::MessageIcon::None);
        expectMessage(3, "Error", "Incomplete download from " + hangsUp.address(), platform::MessageIcon::Error);
        EXPECT_FALSE(platform::windowExists(deviceWindow));
        EXPECT_FALSE(t::waitCursorShown());
        expectEarlierRecords();
        expectShownAsBefore(before);
        EXPECT_TRUE(t::windowVisible(mainWindow));
        // The garbled logger's connection was closed before this one opened.
        EXPECT_TRUE(garbled.sawLine("closed 1"));
        EXPECT_EQ(openSockets(), sockets + 1);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(openSockets(), sockets);
}

// Both wait for the 2 s of silence that end a receive.
TEST_F(DownloadTest, SilenceIsNoReplyAndAShortDumpIsRefused)
{
    Simulator good({"--samples", "30", "--ramp", "--newest", march15NoonText});
    Simulator busy({"--busy", "100"});
    Simulator silent({"--silent"});
    Simulator shortDump({"--samples", "300", "--short-dump", "100"});
    ASSERT_TRUE(good.started() && busy.started() && silent.started() && shortDump.started());
    writePreferences(good.address());
    const int sockets = openSockets();
    ShownRecords before;
    int64_t start = 0;
    t::post([] { t::chooseMenu(menuDownloadRecords); });
    t::post([] { t::click(deviceButton); });
    t::post([&] {
        expectRampRecords(30, 300, march15Noon);
        before = shownRecords();
        t::chooseMenu(menuDownloadRecords);
    });
    t::post([&] { downloadFrom(busy.address()); });
    t::post([&] {
        ASSERT_EQ(t::messages().size(), 1u);
        EXPECT_EQ(t::messages()[0].title, "Busy");
        start = platform::milliseconds();
        downloadFrom(silent.address());
    });
    t::post([&] {
        // No reply: the busy reply still in the buffer must not count again. The
        // logger never closes, so getting here means the receive gave up by itself.
        printElapsed("press to message, silent logger", start);
        ASSERT_EQ(t::messages().size(), 2u);
        expectMessage(1, "Error", "No Sentrel32connected at " + silent.address(), platform::MessageIcon::Error);
        EXPECT_FALSE(platform::windowExists(deviceWindow));
        EXPECT_FALSE(t::waitCursorShown());
        EXPECT_TRUE(silent.sawLine("query 1"));
        expectRampRecords(30, 300, march15Noon);
        expectShownAsBefore(before);
        // The silent logger's connection stays open until the next start.
        EXPECT_EQ(openSockets(), sockets + 1);
        t::chooseMenu(menuDownloadRecords);
    });
    t::post([&] {
        start = platform::milliseconds();
        downloadFrom(shortDump.address());
    });
    t::post([&] {
        printElapsed("press to message, dump that stops short", start);
        ASSERT_EQ(t::messages().size(), 3u);
        expectMessage(2, "Error", "Incomplete download from " + shortDump.address(), platform::MessageIcon::Error);
        EXPECT_FALSE(platform::windowExists(deviceWindow));
        EXPECT_FALSE(t::waitCursorShown());
        expectRampRecords(30, 300, march15Noon);
        EXPECT_EQ(platform::windowTitle(mainWindow), "Climadesk");
        expectShownAsBefore(before);
        EXPECT_TRUE(silent.sawLine("closed 1"));
        EXPECT_EQ(openSockets(), sockets + 1);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(openSockets(), sockets);
}

TEST_F(DownloadTest, OddlyShapedRepliesStillLoad)
{
    // A reply of more than the whole receive buffer, of which 120 bytes were announced.
    Simulator extra({"--samples", "40", "--ramp", "--extra", "300000", "--newest", march15NoonText});
    Simulator zeroDate({"--samples", "3", "--ramp", "--interval", "10", "--zero-date"});
    Simulator pieces({"--samples", "20", "--ramp", "--chunk", "7", "--delay", "30", "--raw-interval", " 5",
                      "--newest", march15NoonText});
    ASSERT_TRUE(extra.started() && zeroDate.started() && pieces.started());
    writePreferences(extra.address());
    const int sockets = openSockets();
    t::post([] { t::chooseMenu(menuDownloadRecords); });
    t::post([] { t::click(deviceButton); });
    t::post([&] {
        // The bytes after the dump are dropped.
        expectRampRecords(40, 300, march15Noon);
        EXPECT_TRUE(t::messages().empty());
        EXPECT_EQ(openSockets(), sockets + 1);
        t::chooseMenu(menuDownloadRecords);
    });
    t::post([&] { downloadFrom(zeroDate.address()); });
    t::post([&] {
        // A time field padded with zero bytes does not parse: times count back from -1.
        expectRampRecords(3, 600, -1);
        t::chooseMenu(menuDownloadRecords);
    });
    t::post([&] { downloadFrom(pieces.address()); });
    t::post([&] {
        // Pieces of 7 bytes 30 ms apart: each pause is far below the time-out.
        expectRampRecords(20, 300, march15Noon);
        EXPECT_TRUE(t::messages().empty());
        // Each start closed the connection before it.
        EXPECT_EQ(openSockets(), sockets + 1);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(openSockets(), sockets);
}

// The one full-size dump (about 15 s by the receive pacing): it fills the buffer
// to its last sample, and the extra bytes after it must not go beyond.
TEST_F(DownloadTest, FullDumpLoadsEverySample)
{
    Simulator sim({"--samples", "99999", "--ramp", "--interval", "1", "--extra", "5000", "--newest", march15NoonText});
    ASSERT_TRUE(sim.started());
    writePreferences(sim.address());
    t::post([] { t::chooseMenu(menuDownloadRecords); });
    t::post([] { t::click(deviceButton); });
    t::post([&] {
        EXPECT_TRUE(t::messages().empty());
        expectRampRecords(99999, 60, march15Noon);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}
