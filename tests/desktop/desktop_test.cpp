// The program on a real X desktop (Xvfb with openbox): what the window manager
// does with its windows. Skipped, saying why, where no X server can start.
#include "desktop/xserver.h"
#include "support/program.h"

#include "app/ids.h"
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

} // namespace
