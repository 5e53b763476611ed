// The event queue: order, nested loops, close requests and scripts.
#include "support/seam.h"

#include "platform/controls.h"
#include "platform/events.h"
#include "platform/window.h"

using namespace platform;
namespace t = platform::testing;

namespace {

constexpr int mainWin = 0;
constexpr int inner = 1;

class EventsTest : public SeamTest {
protected:
    void SetUp() override
    {
        SeamTest::SetUp();
        openWindow({mainWin, noOwner, "Main", {300, 200}, false, StyleSizable});
        createButton(mainWin, 51, "Open", {10, 10, 80, 20});
    }
};

// A secondary window's loop: waits until a close request or its button.
std::vector<Event> innerLoop()
{
    openWindow({inner, mainWin, "Inner", {100, 60}, true, StyleFixed});
    createButton(inner, 33, "Ok", {10, 10, 60, 20});
    std::vector<Event> seen;
    for (;;) {
        Event e = waitEvent(-1);
        seen.push_back(e);
        if (e.kind == EventKind::CloseRequest || (e.kind == EventKind::Control && e.id == 33))
            break;
    }
    closeWindow(inner);
    return seen;
}

} // namespace

TEST_F(EventsTest, StepsRunInOrderThroughNestedLoops)
{
    std::vector<std::string> trace;
    t::post([&] { trace.push_back("click open"); t::click(51); });
    t::post([&] {
        trace.push_back("inside");
        EXPECT_TRUE(windowExists(inner));
        t::click(33);
    });
    t::post([&] {
        trace.push_back("after");
        EXPECT_FALSE(windowExists(inner));
        t::requestClose(mainWin);
    });
    std::vector<Event> inside;
    for (bool done = false; !done;) {
        Event e = waitEvent(50);
        if (e.kind == EventKind::Control && e.id == 51)
            inside = innerLoop();
        done = e.kind == EventKind::CloseRequest && e.window == mainWin;
    }
    EXPECT_EQ(trace, (std::vector<std::string>{"click open", "inside", "after"}));
    ASSERT_FALSE(inside.empty());
    EXPECT_EQ(inside.back().id, 33);
    EXPECT_EQ(inside.back().window, inner);
    EXPECT_TRUE(windowExists(mainWin));   // a close request does not close
}

TEST_F(EventsTest, PostedEventsArriveAsTheyWerePosted)
{
    t::post(Event{EventKind::Menu, mainWin, 85});
    t::post(Event{EventKind::Control, mainWin, 20});
    EXPECT_EQ(pollEvent().id, 85);
    EXPECT_EQ(waitEvent(0).id, 20);
    EXPECT_EQ(pollEvent().kind, EventKind::None);   // polling an empty script is fine
}

TEST_F(EventsTest, ExhaustedScriptClosesTheInnermostWindowInsteadOfHanging)
{
    openWindow({inner, mainWin, "Inner", {100, 60}, true, StyleFixed});
    Event e = waitEvent(-1);
    EXPECT_EQ(e.kind, EventKind::CloseRequest);
    EXPECT_EQ(e.window, inner);
    std::vector<std::string> failures = takeFailures();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("script ended"), std::string::npos);
}

TEST_F(EventsTest, StepWithoutEventGivesTheLoopAPass)
{
    int passes = 0;
    t::post([] { t::setMousePosition(mainWin, 250, 40); });
    t::post([&] { EXPECT_GE(passes, 1); t::requestClose(mainWin); });
    for (Event e{}; e.kind != EventKind::CloseRequest; ++passes) {
        e = waitEvent(50);
        if (passes == 1) {
            EXPECT_EQ(mousePosition(mainWin).x, 250);
        }
    }
    EXPECT_EQ(mousePosition(inner).x, -1);
}

TEST_F(EventsTest, RealWaitsReturnOnEventsAndTimeOuts)
{
    t::end();
    EXPECT_EQ(waitEvent(20).kind, EventKind::None);
    t::click(51);
    Event e = waitEvent(-1);   // an event already queued ends the wait at once
    EXPECT_EQ(e.id, 51);
    t::begin();
}
