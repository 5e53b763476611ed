// The shell end to end: start-up, layout, mouse tracking, dispatch, File > Close,
// the RH Profile window and its nested loops.
#include "support/program.h"

#include "app/ids.h"
#include "app/main_loop.h"
#include "graph/timewindow.h"
#include "platform/controls.h"
#include "platform/images.h"
#include "platform/window.h"

using namespace app;
namespace t = platform::testing;

namespace {

class ShellTest : public ProgramTest {};

constexpr int recordMenuItems[] = {menuClose, menuSaveAs, menuExportAsExcel, menuPrint};
constexpr int alwaysMenuItems[] = {menuImportRecords, menuDownloadRecords, menuMonitor, menuExit, menuPreferences, menuAbout};
constexpr int panelTexts[] = {firstRecordText, lastRecordText, recordCountText, humidityMaxText,
                              humidityMinText, temperatureMaxText, temperatureMinText};

void expectRecordCommands(bool enabled)
{
    for (int item : recordMenuItems)
        EXPECT_EQ(platform::menuItemEnabled(item), enabled) << "menu item " << item;
    EXPECT_EQ(platform::controlEnabled(timeScaleTrackBar), enabled);
    EXPECT_EQ(platform::controlEnabled(profileButton), enabled);
    EXPECT_EQ(platform::controlEnabled(graphScrollBar), enabled);
    for (int item : alwaysMenuItems)
        EXPECT_TRUE(platform::menuItemEnabled(item)) << "menu item " << item;
}

void expectEmptyPanel()
{
    for (int text : panelTexts)
        EXPECT_EQ(platform::text(text), "") << "text " << text;
}

} // namespace

TEST_F(ShellTest, StartsWithTheMainWindowLaidOutAndRecordCommandsOff)
{
    const Placement placements[] = {
        {measuringFrame, "Measuring parameters", {10, 10, 180, 130}},
        {firstRecordText, "", {20, 35, 160, 20}},
        {lastRecordText, "", {20, 65, 160, 20}},
        {recordCountText, "", {20, 95, 160, 40}},
        {analysisFrame, "Data analysis", {10, 160, 180, 180}},
        {humidityMaxText, "", {20, 185, 160, 20}},
        {temperatureMinText, "", {20, 275, 160, 20}},
        {profileButton, "RH Profile", {80, 305, 100, 20}},
        {timeScaleFrame, "Time Scale Factor", {10, 360, 180, 70}},
        {timeScaleTrackBar, "", {20, 380, 160, 30}},
    };
    t::post([&] {
        EXPECT_EQ(platform::windowTitle(mainWindow), "Climadesk");
        EXPECT_TRUE(t::hasIcon(mainWindow));
        expectRecordCommands(false);
        expectEmptyPanel();
        expectPlacements({std::begin(placements), std::end(placements)});
        EXPECT_EQ(platform::trackBarPosition(timeScaleTrackBar), 6);
        EXPECT_EQ(graph::timeWindow().timeScalePosition, 6);
        EXPECT_EQ(graph::timeWindow().timeUnit, "min");
        EXPECT_EQ(t::accessibleName(graphView), "Graph");
        for (int field = 0; field < 5; ++field)
            EXPECT_EQ(t::statusText(statusBar, field), "");
        EXPECT_EQ(platform::imageSize(logoImage).width, 200);
        EXPECT_EQ(platform::pixel(humiditySwatch, 3, 3), platform::rgb(0, 0, 255));
        EXPECT_EQ(platform::pixel(temperatureSwatch, 3, 3), platform::rgb(255, 0, 0));
        EXPECT_EQ(state().aboutText.substr(0, 22), "Climadesk\nVersion 1.0\n");
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(ShellTest, GraphAreaFollowsTheClientArea)
{
    auto expectLayout = [] {
        platform::Size client = platform::clientSize(mainWindow);
        int h = client.height - 20 - platform::statusBarHeight(statusBar);
        EXPECT_EQ(state().graphWidth, client.width - 200);
        EXPECT_EQ(state().graphHeight, h);
        EXPECT_EQ(platform::imageSize(graphImage).width, client.width - 200);
        EXPECT_EQ(platform::imageSize(graphImage).height, h);
        platform::Rect bar = platform::controlRect(graphScrollBar);
        EXPECT_EQ(bar.x, 200);
        EXPECT_EQ(bar.y, h);
        EXPECT_EQ(bar.width, client.width - 200);
        EXPECT_EQ(bar.height, 20);
        EXPECT_EQ(platform::pixel(graphImage, 10, 10), platform::rgb(255, 255, 255));
    };
    t::post([&] {
        expectLayout();   // laid out for the maximised window on the first pass
        t::resizeWindow(mainWindow, {900, 700});
    });
    t::post([&] {
        EXPECT_EQ(state().graphWidth, 700);
        expectLayout();
        t::resizeWindow(mainWindow, {150, 100});
    });
    t::post([&] {
        EXPECT_EQ(state().graphWidth, -50);   // kept, but no image of that size
        EXPECT_EQ(platform::imageSize(graphImage).width, 700);
        t::resizeWindow(mainWindow, {800, 600});
    });
    t::post([&] {
        expectLayout();
        t::requestClose(mainWindow);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(ShellTest, CursorColumnFollowsTheMouseOverTheGraphOnly)
{
    auto moveTo = [](int x, int y, int32_t expected) {
        t::post([x, y] { t::setMousePosition(mainWindow, x, y); });
        t::post([expected] {
            EXPECT_EQ(state().cursorColumn, expected);
            EXPECT_EQ(state().lastCursorColumn, expected);
        });
    };
    moveTo(500, 100, 500);
    moveTo(199, 100, 0);    // left column
    moveTo(200, 100, 200);
    t::post([] { t::setMousePosition(mainWindow, 300, state().graphHeight); });
    t::post([] { EXPECT_EQ(state().cursorColumn, 300); });
    t::post([] { t::setMousePosition(mainWindow, 300, state().graphHeight + 1); });
    t::post([] { EXPECT_EQ(state().cursorColumn, 0); });   // scroll bar or status bar
    moveTo(400, 50, 400);
    moveTo(-1, -1, 0);      // outside the window
    t::post([] { t::chooseMenu(menuExit); });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(ShellTest, FileCloseEmptiesEverythingAndTitlesBrackwell)
{
    t::post([] {
        fillStore(3, 600);
        expectRecordCommands(true);
        EXPECT_EQ(platform::text(firstRecordText), "From: 2024-03-15  11:40");
        EXPECT_EQ(platform::text(lastRecordText), "To: 2024-03-15  12:00");
        EXPECT_EQ(platform::text(recordCountText), "3 records\n(interval 10 minutes)");
        EXPECT_EQ(platform::text(humidityMaxText), "Hunidity max: 40.2 RH%");
        EXPECT_EQ(platform::text(temperatureMinText), "Temperature min: 20.0 \xB0" "C");
        t::chooseMenu(menuClose);
    });
    t::post([] {
        expectRecordCommands(false);
        expectEmptyPanel();
        EXPECT_EQ(platform::windowTitle(mainWindow), "Brackwell");
        EXPECT_EQ(records::store().recordCount, 0);
        EXPECT_EQ(records::store().interval, 600);   // kept by a clear
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(ShellTest, MainCloseBoxWhileProfileIsOpenClosesOnlyTheProfile)
{
    t::post([] {
        fillStore(24, 3600);
        t::click(profileButton);
    });
    t::post([] {
        ASSERT_TRUE(platform::windowExists(profileWindow));
        EXPECT_EQ(platform::windowTitle(profileWindow), "RH Profile");
        t::chooseMenu(menuExit);   // the main window's commands wait
        t::requestClose(mainWindow);
    });
    t::post([] {
        EXPECT_FALSE(platform::windowExists(profileWindow));
        EXPECT_TRUE(platform::windowExists(mainWindow));
        EXPECT_EQ(state().closeRequested, 0);
        t::click(profileButton);
    });
    t::post([] { t::click(okButton); });
    t::post([] {
        EXPECT_FALSE(platform::windowExists(profileWindow));
        t::requestClose(mainWindow);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(ShellTest, EachProfileOpeningSelectsTheWholeStore)
{
    t::post([] {
        fillStore(10, 600);
        t::click(profileButton);
    });
    t::post([] {
        EXPECT_EQ(platform::text(profileFromText), "From: 2024-03-15 10:30:00");
        EXPECT_EQ(platform::text(profileToText), "To: 2024-03-15 12:00:00");
        t::click(profileFromButton);
    });
    t::post([] {
        ASSERT_TRUE(platform::windowExists(timePickerWindow));
        EXPECT_EQ(t::dropDownEntries(timePickerList).size(), 10u);
        EXPECT_EQ(platform::selectedDropDownEntry(timePickerList), 0);
        t::chooseDropDownEntry(timePickerList, 3);
        t::click(timePickerOkButton);
    });
    t::post([] {
        EXPECT_FALSE(platform::windowExists(timePickerWindow));
        EXPECT_TRUE(platform::windowExists(profileWindow));
        EXPECT_EQ(records::store().rangeStart, 3);
        EXPECT_EQ(platform::text(profileFromText), "From: 2024-03-15 11:00:00");
        t::click(profileToButton);
    });
    t::post([] {
        // The "To" list starts at the chosen "From" record; the close box keeps the end.
        EXPECT_EQ(t::dropDownEntries(timePickerList).size(), 7u);
        t::chooseDropDownEntry(timePickerList, 0);
        t::requestClose(mainWindow);
    });
    t::post([] {
        EXPECT_EQ(records::store().rangeEnd, 9);
        EXPECT_TRUE(platform::windowExists(profileWindow));
        t::click(okButton);
    });
    t::post([] { t::click(profileButton); });
    t::post([] {
        EXPECT_EQ(records::store().rangeStart, 0);
        EXPECT_EQ(records::store().rangeEnd, 9);
        EXPECT_EQ(platform::text(profileFromText), "From: 2024-03-15 10:30:00");
        t::requestClose(profileWindow);
    });
    t::post([] { t::chooseMenu(menuExit); });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(ShellTest, TrackBarAppliesEachNewLevelOnceAndScrollingRedraws)
{
    t::post([] {
        fillStore(100, 60);
        t::moveTrackBar(timeScaleTrackBar, 7);
    });
    t::post([] {
        EXPECT_EQ(graph::timeWindow().timeScalePosition, 7);
        EXPECT_EQ(graph::timeWindow().timeSpan, 600);
        EXPECT_EQ(t::scrollInfo(graphScrollBar).page, 50);
        t::dragScrollBar(graphScrollBar, 20);
    });
    t::post([] {
        EXPECT_EQ(state().lastScrollPosition, 20);
        t::moveTrackBar(timeScaleTrackBar, 6);
    });
    t::post([] {
        EXPECT_EQ(graph::timeWindow().timeSpan, 300);
        EXPECT_EQ(platform::scrollPosition(graphScrollBar), 20);   // kept across levels
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}
