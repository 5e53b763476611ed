// A million records through every command that touches the store, and window
// sizes from nothing to 3840 x 2160: everything finishes and nothing divides by 0.
#include "support/program.h"

#include "app/ids.h"
#include "app/state.h"
#include "graph/timewindow.h"
#include "platform/controls.h"
#include "platform/images.h"
#include "platform/window.h"
#include "records/load.h"

using namespace app;
namespace t = platform::testing;

namespace {

class HugeStoreTest : public ProgramTest {};

constexpr int32_t million = 1000000;

} // namespace

TEST_F(HugeStoreTest, EveryCommandFinishesWithAMillionRecords)
{
    t::answerSaveFile(pathOf("huge.xls"), 0);   // the export, refused after its dialog
    t::answerSaveFile(pathOf("huge"), 0);
    t::post([] {
        fillStore(million, 60);
        records::fitTimeScale(records::spanOf(60, million));
        EXPECT_EQ(graph::timeWindow().timeScalePosition, 16);
        for (int32_t span : {0, 50, 100, 150, 300, 600})   // levels 1 to 6
            records::fitTimeScale(span);
        EXPECT_EQ(graph::timeWindow().timeScalePosition, 6);   // q = 120
    });
    for (int level = 6; level <= 16; ++level)
        t::post([level] { t::moveTrackBar(timeScaleTrackBar, level); });
    t::post([] {
        EXPECT_EQ(graph::timeWindow().timeScalePosition, 16);
        t::dragScrollBar(graphScrollBar, million);
        EXPECT_EQ(platform::scrollPosition(graphScrollBar), million - 50400 + 1);
        t::setMousePosition(mainWindow, 200 + state().graphWidth - 30, 100);
    });
    t::post([] {
        EXPECT_NE(t::statusText(statusBar, 0), "");   // the readout near the newest record
        t::dragScrollBar(graphScrollBar, 0);
        t::chooseMenu(menuExportAsExcel);   // refused: more than one sheet holds
    });
    t::post([] {
        ASSERT_EQ(t::messages().size(), 1u);
        EXPECT_EQ(t::messages()[0].text, "Can't export more than 65535 records to one sheet\n\n"
                                         "Choose Excel Workbook (*.xlsx) or CSV for more records.");
        t::chooseMenu(menuSaveAs);
    });
    t::post([this] {
        EXPECT_GT(readText("huge.log").size(), 10u * million);
        t::click(profileButton);
    });
    t::post([] { t::click(profileToButton); });
    t::post([] {
        EXPECT_EQ(t::dropDownEntries(timePickerList).size(), static_cast<size_t>(million));
        EXPECT_FALSE(t::waitCursorShown());
        t::click(timePickerOkButton);
    });
    t::post([] {
        EXPECT_EQ(t::listRows(profileList).size(), 16u);
        t::click(okButton);
    });
    t::post([] { t::chooseMenu(menuClose); });
    t::post([] {
        EXPECT_EQ(records::recordTotal(), 0);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(HugeStoreTest, AnyWindowSizeDraws)
{
    const platform::Size sizes[] = {{1, 1}, {0, 0}, {199, 700}, {201, 43}, {250, 400}, {3840, 2160}, {800, 600}};
    t::post([] { fillStore(5000, 300); });
    for (platform::Size size : sizes) {
        t::post([size] { t::resizeWindow(mainWindow, size); });
        t::post([size] {
            platform::Size client = platform::clientSize(mainWindow);
            EXPECT_EQ(state().graphWidth, client.width - 200) << size.width << "x" << size.height;
            t::setMousePosition(mainWindow, client.width / 2, client.height / 2);
        });
    }
    t::post([] { platform::showWindow(mainWindow, platform::WindowShow::Minimized); });
    t::post([] { platform::showWindow(mainWindow, platform::WindowShow::Maximized); });
    t::post([] {
        EXPECT_GT(state().graphWidth, 300);
        EXPECT_EQ(platform::imageSize(graphImage).width, state().graphWidth);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}
