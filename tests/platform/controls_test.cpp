// Windows and controls by identifier, read back through the test seam.
#include "support/seam.h"

#include "platform/controls.h"
#include "platform/events.h"
#include "platform/images.h"
#include "platform/window.h"

using namespace platform;
namespace t = platform::testing;

namespace {

constexpr int win = 3;
constexpr int other = 4;
constexpr int bar = 22;

class ControlsTest : public SeamTest {
protected:
    void SetUp() override
    {
        SeamTest::SetUp();
        openWindow({win, noOwner, "Test window", {400, 300}, true, StyleFixed});
    }

    // Drains the queue: every event the toolkit raised so far, in order.
    std::vector<Event> drained()
    {
        std::vector<Event> events;
        for (Event e = pollEvent(); e.kind != EventKind::None; e = pollEvent())
            events.push_back(e);
        return events;
    }
};

std::vector<std::pair<int, int>> hookCalls;
void recordHook(int window, int scrollBar)
{
    hookCalls.push_back({window, scrollBar});
}

} // namespace

TEST_F(ControlsTest, WindowsHaveTheirClientSizeTitleAndIcon)
{
    EXPECT_EQ(clientSize(win).width, 400);
    EXPECT_EQ(clientSize(win).height, 300);
    EXPECT_EQ(windowTitle(win), "Test window");
    EXPECT_EQ(t::windowAccessibleName(win), "Test window");
    EXPECT_TRUE(t::hasIcon(win));
    ASSERT_TRUE(createMenuBar(win, {{MenuEntry::Menu, 0, "File"}, {MenuEntry::Item, 78, "Import Records"}}));
    EXPECT_EQ(clientSize(win).height, 300);   // the menu bar does not eat the client area
    setWindowTitle(win, "Climadesk - caf\xE9.log");
    EXPECT_EQ(windowTitle(win), "Climadesk - caf\xE9.log");

    openWindow({other, win, "Owned", {100, 50}, true, StyleFixed});
    closeWindow(win);
    EXPECT_FALSE(windowExists(other));   // owned windows go with their owner
}

TEST_F(ControlsTest, HiddenWindowComesBackInItsState)
{
    openWindow({other, noOwner, "Sizable", {300, 200}, false, StyleSizable | StyleMaximizeBox});
    showWindow(other, WindowShow::Maximized);
    pollEvent();   // the window system answers the state change
    int maximizedWidth = clientSize(other).width;
    EXPECT_GT(maximizedWidth, 300);
    hideWindow(other);
    EXPECT_FALSE(t::windowVisible(other));
    showAgain(other);
    EXPECT_TRUE(t::windowVisible(other));
    EXPECT_EQ(clientSize(other).width, maximizedWidth);   // maximised again
}

TEST_F(ControlsTest, ScrollBarPositionStaysInWindowsLimits)
{
    createScrollBar(win, bar, {0, 280, 400, 20});
    setScrollRange(bar, 0, 100, 10);
    setScrollPosition(bar, 500);
    EXPECT_EQ(scrollPosition(bar), 91);   // maximum - page + 1
    setScrollPosition(bar, -5);
    EXPECT_EQ(scrollPosition(bar), 0);
    setScrollPosition(bar, 60);
    setScrollRange(bar, 0, 50, 25);
    EXPECT_EQ(scrollPosition(bar), 26);   // a new range limits the kept position
    setScrollRange(bar, 0, 1, 25);
    EXPECT_EQ(scrollPosition(bar), 0);    // never below the minimum
    setScrollRange(bar, 0, 100, 1);
    setScrollPosition(bar, 100);
    EXPECT_EQ(scrollPosition(bar), 100);
    t::ScrollInfo info = t::scrollInfo(bar);
    EXPECT_EQ(info.maximum, 100);
    EXPECT_EQ(info.page, 1);
}

TEST_F(ControlsTest, ScrollHookSeesEveryChangeOfPosition)
{
    createScrollBar(win, bar, {0, 280, 400, 20});
    setScrollRange(bar, 0, 100, 10);
    hookCalls.clear();
    setScrollHook(recordHook);
    setScrollPosition(bar, 5);
    t::dragScrollBar(bar, 6);
    t::dragScrollBar(bar, 7);
    t::dragScrollBar(bar, 7);   // no change, no call
    EXPECT_EQ(hookCalls, (std::vector<std::pair<int, int>>{{win, bar}, {win, bar}, {win, bar}}));
    setScrollHook(nullptr);
    setScrollPosition(bar, 1);
    EXPECT_EQ(hookCalls.size(), 3u);
    EXPECT_TRUE(drained().empty());   // the hook, not the queue, serves scroll bars
}

TEST_F(ControlsTest, ReportListInsertsAtTheTop)
{
    createReportList(win, 57, {10, 10, 300, 200});
    setListColumns(57, {"", "0-5%", "5-10%"}, {100, 50, 50});
    EXPECT_EQ(t::listColumnTitles(57), (std::vector<std::string>{"", "0-5%", "5-10%"}));
    insertListRow(57, 0, "Tot\n-\n1.00");
    insertListRow(57, 0, "");
    insertListRow(57, 0, " 0- 5\xB0" "C\n0.17\n-");
    EXPECT_EQ(t::listRows(57), (std::vector<std::string>{" 0- 5\xB0" "C\n0.17\n-", "", "Tot\n-\n1.00"}));
    clearList(57);
    EXPECT_TRUE(t::listRows(57).empty());
}

TEST_F(ControlsTest, AddressFieldRoundTripsAndReportsEdits)
{
    createAddressField(win, 66, {200, 225, 100, 20});
    uint32_t address = 192u | 168u << 8 | 1u << 16 | 200u << 24;
    setAddress(66, address);
    EXPECT_EQ(text(66), "192.168.1.200");
    EXPECT_EQ(platform::address(66), address);
    EXPECT_TRUE(drained().empty());   // the program's own change is no edit
    t::typeAddress(66, "10.0.0");
    EXPECT_EQ(platform::address(66), 10u);
    t::typeAddress(66, "127.0.0.1");
    EXPECT_EQ(platform::address(66), 127u | 1u << 24);
    std::vector<Event> events = drained();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, EventKind::Control);
    EXPECT_EQ(events[0].id, 66);
    EXPECT_EQ(events[0].window, win);
}

TEST_F(ControlsTest, OptionsExcludeOthersOfTheirGroupOnly)
{
    createOption(win, 28, "\xB0" "C (Celsius)", {100, 120, 120, 20}, 1);
    createOption(win, 29, "\xB0" "F (Fahrenheit)", {100, 150, 120, 20}, 1);
    createOption(win, 31, "Dot", {100, 210, 120, 20}, 2);
    createOption(win, 32, "Line", {100, 240, 120, 20}, 2);
    setOptionChecked(28, true);
    setOptionChecked(31, true);
    t::click(29);
    t::click(29);   // a click on the selected option still reports
    EXPECT_FALSE(optionChecked(28));
    EXPECT_TRUE(optionChecked(29));
    EXPECT_TRUE(optionChecked(31));
    EXPECT_EQ(drained().size(), 2u);
    EXPECT_EQ(text(28), "\xB0" "C (Celsius)");
}

TEST_F(ControlsTest, CheckBoxToggles)
{
    createCheckBox(win, 37, "Low limit", {20, 30, 100, 20});
    EXPECT_FALSE(checkBoxChecked(37));
    setCheckBoxChecked(37, true);
    EXPECT_TRUE(checkBoxChecked(37));
    EXPECT_TRUE(drained().empty());   // the program's own change is no click
    t::click(37);
    EXPECT_FALSE(checkBoxChecked(37));
    t::click(37);
    EXPECT_TRUE(checkBoxChecked(37));
    std::vector<Event> events = drained();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, EventKind::Control);
    EXPECT_EQ(events[0].id, 37);
    EXPECT_EQ(text(37), "Low limit");
    EXPECT_FALSE(checkBoxChecked(38));   // no such control
}

TEST_F(ControlsTest, NumberFieldTakesOnlyWhatCanMakeANumberWithOneDecimal)
{
    createNumberField(win, 41, {125, 30, 70, 20});
    setText(41, "-2.5");
    EXPECT_EQ(text(41), "-2.5");
    // Refused keys beep and change nothing: a second point or decimal, a
    // second minus, a letter, a sixth digit.
    t::retypeText(41, "-12345.67-x.");
    EXPECT_EQ(text(41), "-12345.6");
    EXPECT_EQ(t::beeps(), 4);
    t::retypeText(41, "123456");
    EXPECT_EQ(text(41), "12345");
    // A comma is the point; an unfinished number stays as typed.
    t::retypeText(41, "0,5");
    EXPECT_EQ(text(41), "0.5");
    t::retypeText(41, "-");
    EXPECT_EQ(text(41), "-");
    EXPECT_EQ(t::beeps(), 5);
    EXPECT_TRUE(drained().empty());   // edits raise no event
}

TEST_F(ControlsTest, TrackBarReportsOnlyTheUsersMoves)
{
    createTrackBar(win, 20, {20, 380, 160, 30}, 6, 16);
    setTrackBarPosition(20, 6);
    setTrackBarPosition(20, 9);
    EXPECT_TRUE(drained().empty());
    t::moveTrackBar(20, 10);   // the move and the release
    t::moveTrackBar(20, 10);   // a drag that ends where it began: the release
    EXPECT_EQ(drained().size(), 3u);
    EXPECT_EQ(trackBarPosition(20), 10);
    setTrackBarPosition(20, 3);
    EXPECT_EQ(trackBarPosition(20), 6);   // the range limits what it shows
}

// One event for each change of the value that the program did not make, and one
// for each action of the user that leaves the value as it was.
TEST_F(ControlsTest, TrackBarReportsEachChangeOfTheUserOnce)
{
    createTrackBar(win, 20, {20, 380, 160, 30}, 6, 16);
    setTrackBarPosition(20, 9);
    t::setValueAccessibly(20, 12);   // a screen reader or voice control
    ASSERT_EQ(drained().size(), 1u);
    EXPECT_EQ(trackBarPosition(20), 12);
    t::setValueAccessibly(20, 12);   // nothing changes, nothing happens
    t::setValueAccessibly(20, 40);   // the range limits it
    EXPECT_EQ(drained().size(), 1u);
    EXPECT_EQ(trackBarPosition(20), 16);
    t::sendKey(20, t::Key::Left);    // changes the value
    t::sendKey(20, t::Key::End);     // changes it back
    t::sendKey(20, t::Key::End);     // leaves it: still the user's action
    std::vector<Event> events = drained();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[2].kind, EventKind::Control);
    EXPECT_EQ(events[2].window, win);
    EXPECT_EQ(events[2].id, 20);
    setTrackBarPosition(20, 7);
    EXPECT_TRUE(drained().empty());
}

TEST_F(ControlsTest, TextsButtonsAndStateReadBack)
{
    createFrame(win, 8, "Measuring parameters", {10, 10, 180, 130});
    createText(win, 11, "", {20, 95, 160, 40}, Align::Right);
    createButton(win, 51, "RH Profile", {80, 305, 100, 20});
    createHyperlink(win, 55, "www.example.com", {20, 250, 100, 20});
    createImageView(win, 21, {200, 0, 1, 1});
    setAccessibleName(21, "Graph");
    setText(11, "1440 records\r\n(interval 10 minutes)");
    EXPECT_EQ(text(11), "1440 records\n(interval 10 minutes)");
    EXPECT_EQ(t::accessibleName(8), "Measuring parameters");
    EXPECT_EQ(t::accessibleName(51), "RH Profile");
    EXPECT_EQ(t::accessibleName(21), "Graph");
    Rect r = controlRect(51);
    EXPECT_EQ(r.x, 80);
    EXPECT_EQ(r.y, 305);
    EXPECT_EQ(r.width, 100);

    createImage(70, 123, 45);
    setControlImage(21, 70);
    EXPECT_EQ(controlRect(21).width, 123);   // an image display takes the image's size
    EXPECT_EQ(controlRect(21).height, 45);

    enableControl(51, false);
    t::click(51);
    EXPECT_TRUE(drained().empty());   // a disabled button does nothing
    enableControl(51, true);
    t::click(51);
    t::click(55);
    std::vector<Event> events = drained();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].id, 51);
    EXPECT_EQ(events[1].id, 55);
    showControl(55, false);
    EXPECT_FALSE(controlVisible(55));
}

TEST_F(ControlsTest, DropDownTakesItsEntriesAtOnce)
{
    createDropDown(win, 63, {20, 20, 150, 30});
    int made = 0;
    setDropDownEntries(63, 1000000, [&made](int i) {
        ++made;
        return "entry " + std::to_string(i);
    });
    selectDropDownEntry(63, 999999);
    EXPECT_EQ(selectedDropDownEntry(63), 999999);
    EXPECT_EQ(text(63), "");   // not a text control
    EXPECT_LT(made, 1000);     // only what is shown is made
    setDropDownEntries(63, 2, [](int i) { return i == 0 ? std::string("\xB0" "C") : std::string("only"); });
    EXPECT_EQ(t::dropDownEntries(63), (std::vector<std::string>{"\xB0" "C", "only"}));
}

// Type-ahead takes letters in either case; each move of the selection is an event.
TEST_F(ControlsTest, DropDownTypingMatchesLettersInEitherCase)
{
    createDropDown(win, 63, {20, 20, 150, 30});
    const std::vector<std::string> names = {"Alpha", "beta", "Beta 2", "gamma"};
    setDropDownEntries(63, 4, [names](int i) { return names[static_cast<size_t>(i)]; });
    selectDropDownEntry(63, 0);
    drained();
    t::typeText(63, "BETA 2");   // "B" moves to "beta", "BETA " on to "Beta 2"
    EXPECT_EQ(selectedDropDownEntry(63), 2);
    EXPECT_EQ(drained().size(), 2u);
}

TEST_F(ControlsTest, MenusAndStatusBar)
{
    ASSERT_TRUE(createMenuBar(win, {{MenuEntry::Menu, 0, "File"},
                                    {MenuEntry::Item, 78, "Import Records"},
                                    {MenuEntry::Separator, -1, ""},
                                    {MenuEntry::Item, 80, "Close"}}));
    enableMenuItem(80, false);
    EXPECT_FALSE(menuItemEnabled(80));
    EXPECT_TRUE(menuItemEnabled(78));
    t::chooseMenu(80);
    t::chooseMenu(78);
    std::vector<Event> events = drained();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EventKind::Menu);
    EXPECT_EQ(events[0].id, 78);

    createStatusBar(win, 93, {130, 130, 100, 100, 400});
    EXPECT_GT(statusBarHeight(93), 10);
    setStatusText(93, 2, "45.6 RH%");
    EXPECT_EQ(t::statusText(93, 2), "45.6 RH%");
    EXPECT_EQ(t::statusProgress(93, 1), -1);
    setStatusProgress(93, 1, 40);
    EXPECT_EQ(t::statusProgress(93, 1), 40);
    setStatusText(93, 9, "no such field");   // ignored
}

// Windows disables the owner while a window it owns is shown, as for a modal
// dialog box, and gives it back its input when that window closes.
TEST_F(ControlsTest, ShownOwnedWindowDisablesItsOwnerUntilItCloses)
{
#ifndef _WIN32
    GTEST_SKIP() << "the Qt backend takes the owner's input in an event filter instead";
#endif
    showWindow(win, WindowShow::Normal);
    openWindow({other, win, "Owned", {100, 50}, true, StyleFixed});
    EXPECT_TRUE(t::windowEnabled(win));   // opened, not shown yet
    showWindow(other, WindowShow::Normal);
    EXPECT_FALSE(t::windowEnabled(win));
    EXPECT_TRUE(t::windowEnabled(other));
    closeWindow(other);
    EXPECT_TRUE(t::windowEnabled(win));
}
