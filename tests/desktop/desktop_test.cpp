// The program on a real X desktop (Xvfb with openbox): what the window manager
// does with its windows. Skipped, saying why, where no X server can start.
#include "desktop/xserver.h"
#include "support/program.h"
#include "support/simulator.h"

#include "app/ids.h"
#include "platform/controls.h"
#include "platform/images.h"
#include "platform/window.h"

#include <algorithm>

using namespace app;
namespace t = platform::testing;

namespace {

class DesktopTest : public ProgramTest {
protected:
    static void SetUpTestSuite() { running = desktop::startDesktop(why); }
    static void TearDownTestSuite() { desktop::stopDesktop(); }

    void SetUp() override
    {
        if (!running)
            GTEST_SKIP() << "no X desktop: " << why;
        ProgramTest::SetUp();
    }
    void TearDown() override
    {
        if (running)
            ProgramTest::TearDown();
    }

    // Where `window` stands in the stack, 0 at the bottom; -1 when not listed.
    static long depthOf(unsigned long long window)
    {
        std::vector<unsigned long long> stack = desktop::stacking();
        auto at = std::find(stack.begin(), stack.end(), window);
        return at == stack.end() ? -1 : at - stack.begin();
    }

    // True while the window is mapped and shown on the screen.
    static bool viewable(unsigned long long window)
    {
        return desktop::x11("xwininfo -id " + std::to_string(window)).find("IsViewable") != std::string::npos;
    }

    static void clickScreen(int x, int y)
    {
        desktop::x11("xdotool mousemove --sync " + std::to_string(x) + " " + std::to_string(y) + " click 1");
        t::pumpFor(600);
    }

    static inline bool running = false;
    static inline std::string why;
};

TEST_F(DesktopTest, OwnedWindowStaysAboveItsOwnerAndTakesTheClick)
{
    t::post([] { t::chooseMenu(menuPreferences); });
    t::post([] {
        t::pumpFor(800);
        unsigned long long main = t::nativeWindowId(mainWindow);
        unsigned long long preferences = t::nativeWindowId(preferencesWindow);
        EXPECT_EQ(desktop::transientFor(preferences), main);
        EXPECT_EQ(desktop::transientFor(main), 0u);
        // The graph of the maximised main window, then its File menu.
        for (auto [x, y] : {std::pair{1100, 900}, std::pair{15, 35}}) {
            clickScreen(x, y);
            EXPECT_GT(depthOf(preferences), depthOf(main)) << "after a click at " << x << "," << y;
            EXPECT_EQ(desktop::activeWindow(), preferences) << "after a click at " << x << "," << y;
        }
        EXPECT_TRUE(platform::windowExists(preferencesWindow));
        t::requestClose(preferencesWindow);
    });
    t::post([] {
        EXPECT_FALSE(platform::windowExists(preferencesWindow));
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

// The Monitor window is owned like the others: above the main window, no entry
// of its own in a taskbar, and a click on the main window brings it back; it
// stays on screen while monitoring hides the main window.
TEST_F(DesktopTest, MonitorIsOwnedByTheMainWindowAndStaysShownWhileMonitoring)
{
    Simulator sim({"--readings", "21.5 45.0"});
    ASSERT_TRUE(sim.started());
    writePreferences(sim.address());
    t::post([] { t::chooseMenu(menuMonitor); });
    t::post([] {
        t::pumpFor(800);
        unsigned long long main = t::nativeWindowId(mainWindow);
        unsigned long long monitor = t::nativeWindowId(deviceWindow);
        EXPECT_EQ(desktop::transientFor(monitor), main);
        for (auto [x, y] : {std::pair{1100, 900}, std::pair{15, 35}}) {
            clickScreen(x, y);
            EXPECT_GT(depthOf(monitor), depthOf(main)) << "after a click at " << x << "," << y;
            EXPECT_EQ(desktop::activeWindow(), monitor) << "after a click at " << x << "," << y;
        }
        t::click(deviceButton);
    });
    t::post([] {});   // the event the polling loop takes and drops as it starts
    t::post([] {
        EXPECT_EQ(platform::text(deviceButton), "Stop Monitor");
        t::pumpFor(800);
        EXPECT_FALSE(viewable(t::nativeWindowId(mainWindow)));
        EXPECT_TRUE(viewable(t::nativeWindowId(deviceWindow)));
        t::click(deviceButton);
    });
    t::post([] {
        t::pumpFor(800);
        unsigned long long main = t::nativeWindowId(mainWindow);
        unsigned long long monitor = t::nativeWindowId(deviceWindow);
        EXPECT_TRUE(viewable(main));
        EXPECT_GT(depthOf(monitor), depthOf(main));
        EXPECT_EQ(desktop::activeWindow(), monitor);
        t::requestClose(deviceWindow);
    });
    t::post([] {
        EXPECT_FALSE(platform::windowExists(deviceWindow));
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(DesktopTest, RestoreGivesTheStartingWindowWithItsFrameOnScreen)
{
    t::post([] {
        t::pumpFor(800);
        EXPECT_EQ(platform::clientSize(mainWindow).width, 1280);   // maximised
        std::string id = std::to_string(t::nativeWindowId(mainWindow));
        desktop::x11("wmctrl -i -r " + id + " -b remove,maximized_vert,maximized_horz");
        t::pumpFor(800);
        EXPECT_EQ(platform::clientSize(mainWindow).width, 800);
        EXPECT_EQ(platform::clientSize(mainWindow).height, 600);
        desktop::Frame frame = desktop::frameOf(t::nativeWindowId(mainWindow));
        EXPECT_GE(frame.x, 0);
        EXPECT_GE(frame.y, 0);
        EXPECT_EQ(frame.width, 800);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(DesktopTest, MainWindowStopsAtItsMinimumAndTheGraphStillDraws)
{
    t::post([] {
        fillStore(2000, 60);
        t::pumpFor(800);
        std::string id = std::to_string(t::nativeWindowId(mainWindow));
        desktop::x11("wmctrl -i -r " + id + " -b remove,maximized_vert,maximized_horz");
        t::pumpFor(500);
        for (auto [width, height] : {std::pair{450, 350}, std::pair{250, 150}}) {
            desktop::x11("xdotool windowsize " + id + " " + std::to_string(width) + " " + std::to_string(height));
            t::pumpFor(500);
            platform::Size client = platform::clientSize(mainWindow);
            // The left column (430 px high), a graph of 301 x 301 with its scroll
            // bar, and the status bar below both.
            EXPECT_EQ(client.width, 501) << width << "x" << height;
            EXPECT_EQ(client.height, 430 + platform::statusBarHeight(statusBar)) << width << "x" << height;
        }
    });
    t::post([] {
        // The status bar starts below the left column's last control.
        platform::Rect frame = platform::controlRect(timeScaleFrame);
        EXPECT_LE(frame.y + frame.height, t::statusFieldRect(statusBar, 0).y);
        EXPECT_EQ(platform::imageSize(graphImage).width, 301);
        bool drawn = false;
        for (int x = 0; x < 301 && !drawn; ++x)
            for (int y = 0; y < platform::imageSize(graphImage).height && !drawn; ++y)
                drawn = platform::pixel(graphImage, x, y) == platform::rgb(255, 0, 0);   // the humidity curve
        EXPECT_TRUE(drawn);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(DesktopTest, DownloadStatusBarStaysInsideItsWindow)
{
    t::post([] { t::chooseMenu(menuDownloadRecords); });
    t::post([] {
        t::pumpFor(500);
        int width = platform::clientSize(deviceWindow).width;
        EXPECT_EQ(width, 400);
        platform::Rect first = t::statusFieldRect(downloadStatusBar, 0);
        platform::Rect second = t::statusFieldRect(downloadStatusBar, 1);
        EXPECT_GE(first.x, 0);
        EXPECT_LE(first.x + first.width, second.x);
        EXPECT_EQ(second.x + second.width, width);   // its right border shows
        EXPECT_EQ(second.x + second.width - first.x, 400 - first.x);
        t::requestClose(deviceWindow);
    });
    t::post([] { t::chooseMenu(menuExit); });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(DesktopTest, MinimisedOwnedWindowComesBackWithItsOwner)
{
    t::post([] { t::chooseMenu(menuPreferences); });
    t::post([] {
        t::pumpFor(800);
        unsigned long long main = t::nativeWindowId(mainWindow);
        unsigned long long preferences = t::nativeWindowId(preferencesWindow);
        auto hidden = [](unsigned long long window) {
            return desktop::x11("xprop -id " + std::to_string(window) + " _NET_WM_STATE").find("HIDDEN") != std::string::npos;
        };
        desktop::x11("xdotool windowminimize " + std::to_string(preferences));
        t::pumpFor(800);
        ASSERT_TRUE(hidden(preferences));
        // The user goes back to the main window (its taskbar entry, or the
        // window list): the owned window comes back with it, on top and active.
        desktop::x11("wmctrl -i -a " + std::to_string(main));
        t::pumpFor(800);
        EXPECT_FALSE(hidden(main));
        EXPECT_FALSE(hidden(preferences));
        EXPECT_GT(depthOf(preferences), depthOf(main));
        EXPECT_EQ(desktop::activeWindow(), preferences);
        // A click on its menu bar brings the owned window forward again.
        clickScreen(15, 35);
        EXPECT_EQ(desktop::activeWindow(), preferences);
        t::requestClose(preferencesWindow);
    });
    t::post([] { t::chooseMenu(menuExit); });
    EXPECT_EQ(runProgram(), 0);
}

} // namespace
