// The time-scale track bar under real keys and clicks: every action of the user
// applies the level the bar shows, also one that leaves the bar where it was; so
// does a value an assistive tool sets, and the program's own settings of the bar
// apply nothing.
#include "support/program.h"

#include "app/ids.h"
#include "graph/timewindow.h"
#include "platform/controls.h"
#include "records/load.h"

using namespace app;
namespace t = platform::testing;

namespace {

class TrackBarTest : public ProgramTest {
protected:
    // Ten records ten seconds apart fit level 3, while the bar shows 6.
    static void loadShortStore()
    {
        fillStore(10, 10);
        records::fitTimeScale(records::spanOf(10, 10));
    }
};

#ifdef _WIN32
// The Windows track bar draws its handle from x = 8 at the lowest position, and
// Page Down moves it to the right, as its Right key does.
constexpr int handleX = 13;
constexpr int levelAfterPageDown = 7;
#else
constexpr int handleX = 4;
constexpr int levelAfterPageDown = 6;
#endif

// A left click on the handle at the bar's lowest position.
void clickHandle()
{
    int y = platform::controlRect(timeScaleTrackBar).height / 2;
    t::sendMouse(timeScaleTrackBar, t::MouseStep::Press, handleX, y);
    t::sendMouse(timeScaleTrackBar, t::MouseStep::Release, handleX, y);
}

int level()
{
    return graph::timeWindow().timeScalePosition;
}

} // namespace

TEST_F(TrackBarTest, EveryActionAppliesTheLevelShown)
{
    struct Action {
        const char* name;
        std::function<void()> act;
        int level;
    };
    const std::vector<Action> actions = {
        {"click on the handle", [] { clickHandle(); }, 6},
        {"Left", [] { t::sendKey(timeScaleTrackBar, t::Key::Left); }, 6},
        {"Home", [] { t::sendKey(timeScaleTrackBar, t::Key::Home); }, 6},
        {"Page Down", [] { t::sendKey(timeScaleTrackBar, t::Key::PageDown); }, levelAfterPageDown},
        {"Right", [] { t::sendKey(timeScaleTrackBar, t::Key::Right); }, 7},
        {"End", [] { t::sendKey(timeScaleTrackBar, t::Key::End); }, 16},
    };
    for (const Action& action : actions) {
        t::post([] {
            loadShortStore();
            ASSERT_EQ(level(), 3);
            ASSERT_EQ(platform::trackBarPosition(timeScaleTrackBar), 6);
        });
        t::post([&action] { action.act(); });
        t::post([&action] {
            EXPECT_EQ(level(), action.level) << action.name;
            EXPECT_EQ(platform::trackBarPosition(timeScaleTrackBar), action.level) << action.name;
        });
    }
    t::post([] { t::chooseMenu(menuExit); });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(TrackBarTest, AValueSetByAnAssistiveToolAppliesItsLevel)
{
    t::post([] {
        loadShortStore();
        t::setValueAccessibly(timeScaleTrackBar, 9);
    });
    t::post([] {
        EXPECT_EQ(level(), 9);
        EXPECT_EQ(graph::timeWindow().timeSpan, 1800);
        EXPECT_EQ(platform::trackBarPosition(timeScaleTrackBar), 9);
        // A zoom beyond the bar's range: the bar shows its end and the level stays.
        graph::zoomTo(18, 0);
    });
    t::post([] {
        EXPECT_EQ(level(), 18);
        EXPECT_EQ(platform::trackBarPosition(timeScaleTrackBar), 16);
        t::setValueAccessibly(timeScaleTrackBar, 8);
    });
    t::post([] {
        EXPECT_EQ(level(), 8);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}
