// Moving through the records with the wheel, a drag and the keys, through the
// test seam and the real main loop: the level, the first visible record, the
// record kept under the mouse, the clamping at both ends and at levels 1 and
// 20, the track bar, and the dew-point readout.
#include "support/program.h"

#include "app/ids.h"
#include "app/settings.h"
#include "graph/scales.h"
#include "graph/timewindow.h"
#include "platform/controls.h"
#include "records/timescale.h"

using namespace app;
namespace t = platform::testing;

namespace {

int level()
{
    return graph::timeWindow().timeScalePosition;
}

int32_t first()
{
    return graph::firstVisible();
}

// The graph x of record i in the window in force.
int64_t xOf(int64_t i)
{
    return graph::recordX(i, first(), state().graphWidth, graph::visibleRecords());
}

class NavigationTest : public ProgramTest {};

constexpr int mouseX = 200 + 400;   // client x over the graph: image x 400
constexpr int mouseY = 200;

} // namespace

TEST_F(NavigationTest, WheelZoomsAtTheMouseAndScrollsWithShift)
{
    t::post([] { t::resizeWindow(mainWindow, {1000, 600}); });
    t::post([] {
        fillStore(10000, 60);            // one sample a minute for about a week
        graph::setTimeScale(6);          // 25 records across
        graph::scrollTo(5000);
    });
    int64_t anchor = 0;
    t::post([&] {
        anchor = first() + graph::recordsAtPixels(400 - 25, state().graphWidth, graph::visibleRecords());
        t::turnWheel(mainWindow, mouseX, mouseY, -120);   // towards the user: out
    });
    t::post([&] {
        EXPECT_EQ(level(), 7);
        EXPECT_EQ(graph::visibleRecords(), 50);
        EXPECT_LE(std::llabs(xOf(anchor) - 400), 15);   // half a record step of 30 pixels
        EXPECT_EQ(platform::trackBarPosition(timeScaleTrackBar), 7);
        // A touchpad: three small turns away from the user make one notch in.
        t::turnWheel(mainWindow, mouseX, mouseY, 50);
    });
    t::post([] { t::turnWheel(mainWindow, mouseX, mouseY, 50); });
    t::post([] {
        EXPECT_EQ(level(), 7);
        t::turnWheel(mainWindow, mouseX, mouseY, 20);
    });
    t::post([&] {
        EXPECT_EQ(level(), 6);
        EXPECT_LE(std::llabs(xOf(anchor) - 400), 15);
        // Far in: level 1 at most, the track bar stays at 6.
        t::turnWheel(mainWindow, mouseX, mouseY, 120 * 8);
    });
    t::post([] {
        EXPECT_EQ(level(), 1);
        EXPECT_EQ(platform::trackBarPosition(timeScaleTrackBar), 6);
        // Far out: level 20 at most, the track bar at 16, the window pushed back to 0.
        t::turnWheel(mainWindow, mouseX, mouseY, -120 * 30);
    });
    t::post([] {
        EXPECT_EQ(level(), 20);
        EXPECT_EQ(graph::timeWindow().timeUnit, "week");
        EXPECT_EQ(graph::timeWindow().tickStep, 52);
        EXPECT_EQ(graph::visibleRecords(), 2'620'800);   // 5 x 52 weeks of minutes, exactly
        EXPECT_EQ(platform::trackBarPosition(timeScaleTrackBar), 16);
        EXPECT_EQ(first(), 0);
        t::turnWheel(mainWindow, mouseX, mouseY, -120);
    });
    t::post([] {
        EXPECT_EQ(level(), 20);
        // The track bar still applies its own level afterwards.
        t::moveTrackBar(timeScaleTrackBar, 9);
    });
    t::post([] {
        EXPECT_EQ(level(), 9);   // 150 records across
        graph::scrollTo(5000);
        // Shift + wheel: a tenth of the page per notch, away = towards the oldest.
        t::turnWheel(mainWindow, mouseX, mouseY, 240, platform::ModifierShift);
    });
    t::post([] {
        EXPECT_EQ(first(), 5000 - 30);
        EXPECT_EQ(level(), 9);
        t::turnWheel(mainWindow, mouseX, mouseY, -120, 0, platform::WheelHorizontal);
    });
    t::post([] {
        EXPECT_EQ(first(), 5000 - 15);
        // Outside the graph area (the left column, the scroll bar) nothing moves.
        t::turnWheel(mainWindow, 150, mouseY, 120);
    });
    t::post([] { t::turnWheel(mainWindow, mouseX, state().graphHeight + 5, 120); });
    t::post([] {
        EXPECT_EQ(level(), 9);
        graph::scrollTo(3);
        t::turnWheel(mainWindow, mouseX, mouseY, 120 * 5, platform::ModifierShift);
    });
    t::post([] {
        EXPECT_EQ(first(), 0);   // clamped at the oldest record
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(NavigationTest, DragPansAndKeysMove)
{
    t::post([] { t::resizeWindow(mainWindow, {1000, 600}); });
    t::post([] {
        fillStore(1000, 60);
        graph::setTimeScale(8);          // 100 records across 750 pixels
        graph::scrollTo(500);
        t::pressMouse(mainWindow, mouseX, mouseY);
    });
    t::post([] { t::dragMouse(mainWindow, mouseX + 75, mouseY); });
    t::post([] {
        EXPECT_EQ(first(), 490);   // 75 pixels are 10 records: the grabbed record follows
        t::dragMouse(mainWindow, mouseX - 150, mouseY);
    });
    t::post([] {
        EXPECT_EQ(first(), 520);
        EXPECT_EQ(platform::scrollPosition(graphScrollBar), 520);
        t::dragMouse(mainWindow, mouseX - 7500, mouseY);   // far past the newest
    });
    t::post([] {
        EXPECT_EQ(first(), 901);   // the last position: n - page + 1
        t::releaseMouse(mainWindow, mouseX + 7500, mouseY);
    });
    t::post([] {
        EXPECT_EQ(first(), 0);
        t::dragMouse(mainWindow, mouseX - 300, mouseY);   // released: no more panning
    });
    t::post([] {
        EXPECT_EQ(first(), 0);
        t::pressMouse(mainWindow, 150, mouseY);   // the left column grabs nothing
    });
    t::post([] { t::dragMouse(mainWindow, mouseX, mouseY); });
    t::post([] {
        EXPECT_EQ(first(), 0);
        t::releaseMouse(mainWindow, mouseX, mouseY);
        t::pressKey(mainWindow, platform::KeyRight);
    });
    t::post([] {
        EXPECT_EQ(first(), 1);
        t::pressKey(mainWindow, platform::KeyPageDown);
    });
    t::post([] {
        EXPECT_EQ(first(), 101);
        t::pressKey(mainWindow, platform::KeyLeft);
    });
    t::post([] {
        EXPECT_EQ(first(), 100);
        t::pressKey(mainWindow, platform::KeyEnd);
    });
    t::post([] {
        EXPECT_EQ(first(), 901);
        t::pressKey(mainWindow, platform::KeyPageDown);
    });
    t::post([] {
        EXPECT_EQ(first(), 901);
        t::pressKey(mainWindow, platform::KeyPageUp);
    });
    t::post([] {
        EXPECT_EQ(first(), 801);
        t::pressKey(mainWindow, platform::KeyHome);
    });
    t::post([] {
        EXPECT_EQ(first(), 0);
        t::pressKey(mainWindow, platform::KeyLeft);
    });
    t::post([] {
        EXPECT_EQ(first(), 0);
        graph::scrollTo(400);
        // No mouse over the plot: "+" zooms in at the middle of the plot.
        t::setMousePosition(mainWindow, -1, -1);
        t::pressKey(mainWindow, platform::KeyPlus);
    });
    t::post([] {
        EXPECT_EQ(level(), 7);   // 50 records across
        EXPECT_EQ(first(), 425);   // record 450 stays in the middle
        EXPECT_EQ(platform::trackBarPosition(timeScaleTrackBar), 7);
        t::setMousePosition(mainWindow, 200 + 25 + 150, mouseY);   // a fifth into the plot
        t::pressKey(mainWindow, platform::KeyMinus);
    });
    t::post([] {
        EXPECT_EQ(level(), 8);
        EXPECT_EQ(first(), 425 + 10 - 20);   // record 435 stays a fifth into the plot
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(NavigationTest, ReadoutShowsDewPointAndAbsoluteHumidity)
{
    t::post([] { t::resizeWindow(mainWindow, {1000, 600}); });
    t::post([] {
        // A record with humidity only; 20.0 C at 50 %RH; 150.0 C (no derived values).
        loadValues({{0, 500}, {200, 500}, {1500, 400}, {200, 500}}, 300);
        t::setMousePosition(mainWindow, 200 + static_cast<int>(xOf(1)), mouseY);
    });
    t::post([] {
        EXPECT_EQ(t::statusText(statusBar, 4), "Dew point 9.3 \xB0" "C   Absolute humidity 8.6 g/m\xB3");
        t::setMousePosition(mainWindow, 200 + static_cast<int>(xOf(2)), mouseY);
    });
    t::post([] {
        EXPECT_EQ(t::statusText(statusBar, 2), "40.0 RH%");   // a cursor, but nothing derived
        EXPECT_EQ(t::statusText(statusBar, 4), "");
        t::setMousePosition(mainWindow, 200 + static_cast<int>(xOf(0)) + 1, mouseY);
    });
    t::post([] {
        EXPECT_EQ(t::statusText(statusBar, 4), "");   // no cursor on a record without temperature
        settings().celsius = false;
        t::setMousePosition(mainWindow, 200 + static_cast<int>(xOf(3)), mouseY);
    });
    t::post([] {
        EXPECT_EQ(t::statusText(statusBar, 4), "Dew point 48.7 \xB0" "F   Absolute humidity 8.6 g/m\xB3");
        t::setMousePosition(mainWindow, 100, mouseY);
    });
    t::post([] {
        EXPECT_EQ(t::statusText(statusBar, 4), "");
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(NavigationTest, ExportIgnoresTheLevelInForce)
{
    t::answerSaveFile(pathOf("level6.xls"), 0);
    t::answerSaveFile(pathOf("level20.xls"), 0);
    t::post([] { t::resizeWindow(mainWindow, {1000, 600}); });
    t::post([] {
        fillStore(500, 60);
        graph::setTimeScale(6);
        graph::scrollTo(200);
        t::chooseMenu(menuExportAsExcel);
    });
    t::post([] { t::turnWheel(mainWindow, mouseX, mouseY, -120 * 14); });
    t::post([] {
        EXPECT_EQ(level(), 20);
        t::chooseMenu(menuExportAsExcel);
    });
    t::post([] { t::chooseMenu(menuExit); });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_FALSE(readText("level6.xls").empty());
    EXPECT_EQ(readText("level6.xls"), readText("level20.xls"));
}

// The same moves as real toolkit events sent to the graph's own widget, so that
// they pass through the platform's event filter: the wheel at the mouse, Shift
// and horizontal turns, a drag, and the keys.
TEST_F(NavigationTest, RealToolkitEventsOverTheGraphMoveIt)
{
    constexpr int x = 400, y = 200;   // in the graph view: image coordinates
    t::post([] { t::resizeWindow(mainWindow, {1000, 600}); });
    t::post([] {
        fillStore(10000, 60);
        graph::setTimeScale(6);          // 25 records across 750 pixels
        graph::scrollTo(5000);
    });
    int64_t anchor = 0;
    t::post([&] {
        anchor = first() + graph::recordsAtPixels(x - 25, state().graphWidth, graph::visibleRecords());
        t::sendWheel(graphView, x, y, -120);
    });
    t::post([&] {
        EXPECT_EQ(level(), 7);           // 50 records across: 15 pixels a record
        EXPECT_EQ(xOf(anchor), x);
        EXPECT_EQ(first(), 4988);
        EXPECT_EQ(platform::trackBarPosition(timeScaleTrackBar), 7);
        t::sendWheel(graphView, x, y, 240, platform::ModifierShift);   // a tenth of the page a notch
    });
    t::post([] {
        EXPECT_EQ(first(), 4978);
        EXPECT_EQ(level(), 7);
        t::sendWheel(graphView, x, y, -120, 0, platform::WheelHorizontal);
    });
    t::post([] {
        EXPECT_EQ(first(), 4983);
        t::sendMouse(graphView, t::MouseStep::Press, x, y);
    });
    t::post([] { t::sendMouse(graphView, t::MouseStep::Move, x + 75, y); });
    t::post([] {
        EXPECT_EQ(first(), 4978);        // 75 pixels are 5 records: the grabbed record follows
        EXPECT_EQ(platform::scrollPosition(graphScrollBar), 4978);
        t::sendMouse(graphView, t::MouseStep::Move, x - 150, y);
    });
    t::post([] {
        EXPECT_EQ(first(), 4993);
        t::sendMouse(graphView, t::MouseStep::Release, x - 165, y);
    });
    t::post([] {
        EXPECT_EQ(first(), 4994);
        t::sendMouse(graphView, t::MouseStep::Move, x + 300, y);   // released: no more panning
    });
    t::post([] {
        EXPECT_EQ(first(), 4994);
        EXPECT_EQ(level(), 7);
        t::sendKey(graphView, t::Key::Right);
    });
    t::post([] {
        EXPECT_EQ(first(), 4995);
        t::sendKey(graphView, t::Key::PageDown);
    });
    t::post([] {
        EXPECT_EQ(first(), 5045);
        t::sendKey(graphView, t::Key::End);
    });
    t::post([] {
        EXPECT_EQ(first(), 9951);        // the last position: n - page + 1
        t::sendKey(graphView, t::Key::Home);
    });
    t::post([] {
        EXPECT_EQ(first(), 0);
        graph::scrollTo(5000);
        t::sendMouse(graphView, t::MouseStep::Move, x, y);   // the mouse over record 5025
        t::sendKey(graphView, t::Key::Plus);
    });
    t::post([] {
        EXPECT_EQ(level(), 6);
        EXPECT_EQ(first(), 5012);        // record 5025 within half a record of the mouse
        EXPECT_EQ(platform::trackBarPosition(timeScaleTrackBar), 6);
        t::sendKey(graphView, t::Key::Minus);
    });
    t::post([] {
        EXPECT_EQ(level(), 7);
        EXPECT_EQ(first(), 5000);
        EXPECT_EQ(platform::trackBarPosition(timeScaleTrackBar), 7);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}
