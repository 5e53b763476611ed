#include "app/main_loop.h"

#include "app/about_window.h"
#include "app/commands.h"
#include "app/ids.h"
#include "app/limits_window.h"
#include "app/main_window.h"
#include "app/navigation.h"
#include "app/preferences_window.h"
#include "app/profile_window.h"
#include "device/commands.h"
#include "export/command.h"
#include "app/state.h"
#include "graph/graph.h"
#include "graph/print.h"
#include "graph/timewindow.h"
#include "platform/controls.h"
#include "platform/events.h"
#include "platform/images.h"
#include "platform/window.h"
#include "records/commands.h"
#include "report/command.h"

namespace app {

namespace {

// Longest wait of one pass: the loop sleeps instead of spinning.
constexpr int passWaitMs = 50;

void trackCursor()
{
    AppState& s = state();
    s.cursorColumn = mouseColumn();
    if (s.cursorColumn != s.lastCursorColumn) {
        s.lastCursorColumn = s.cursorColumn;
        graph::drawGraph(graph::Target::Screen);
    }
}

void changeTimeScale()
{
    int position = platform::trackBarPosition(timeScaleTrackBar);
    if (position != graph::timeWindow().timeScalePosition)
        graph::setTimeScale(position);
}

void dispatchMenu(int item)
{
    switch (item) {
    case menuImportRecords: records::importRecords(); break;
    case menuDownloadRecords: device::downloadRecords(); break;
    case menuClose: closeRecords(); break;
    case menuSaveAs: records::saveRecordsAs(); break;
    case menuMonitor: device::monitorDevice(); break;
    case menuExportAsExcel: xls::exportAsExcel(); break;
    case menuExportReport: report::exportReport(); break;
    case menuPrint: graph::printGraph(); break;
    case menuExit: state().closeRequested = 1; break;
    case menuPreferences: openPreferencesWindow(); break;
    case menuLimits: openLimitsWindow(); break;
    case menuAbout: openAboutWindow(); break;
    default: break;
    }
}

void dispatchControl(int control)
{
    switch (control) {
    case profileButton: openProfileWindow(); break;
    case timeScaleTrackBar: changeTimeScale(); break;
    default: break;
    }
}

void dispatch(const platform::Event& event)
{
    switch (event.kind) {
    case platform::EventKind::CloseRequest: state().closeRequested = 1; break;
    case platform::EventKind::Menu: dispatchMenu(event.id); break;
    case platform::EventKind::Control: dispatchControl(event.id); break;
    case platform::EventKind::Wheel: turnWheel(event); break;
    case platform::EventKind::MousePress: pressMouse(event); break;
    case platform::EventKind::MouseDrag: dragMouse(event); break;
    case platform::EventKind::MouseRelease: releaseMouse(event); break;
    case platform::EventKind::Key: pressKey(event.id); break;
    case platform::EventKind::None: break;
    }
}

} // namespace

void mainLoop()
{
    while (state().closeRequested != 1) {
        updateLayout();
        trackCursor();
        platform::Event event = platform::waitEvent(passWaitMs);
        if (event.window == mainWindow)
            dispatch(event);
    }
}

void updateLayout()
{
    AppState& s = state();
    platform::Size client = platform::clientSize(mainWindow);
    int32_t width = client.width - leftColumnWidth;
    int32_t height = client.height - scrollBarHeight - platform::statusBarHeight(statusBar);
    if (width == s.graphWidth && height == s.graphHeight)
        return;
    s.graphWidth = width;
    s.graphHeight = height;
    if (width <= 0 || height <= 0)
        return;   // minimised or shrunk away: the next real size lays out again
    platform::freeImage(graphImage);
    platform::createImage(graphImage, width, height);
    platform::moveControl(graphScrollBar, {leftColumnWidth, height, width, scrollBarHeight});
    graph::setupScrollBar(true);
    graph::drawGraph(graph::Target::Screen);
}

bool inGraphArea(platform::Point p)
{
    return p.x >= leftColumnWidth && p.y <= state().graphHeight;
}

int32_t mouseColumn()
{
    platform::Point mouse = platform::mousePosition(mainWindow);
    return inGraphArea(mouse) ? mouse.x : 0;
}

void mainWindowCallback(int window, int scrollBar)
{
    if (window != mainWindow || scrollBar != graphScrollBar)
        return;
    int32_t position = platform::scrollPosition(graphScrollBar);
    if (position != state().lastScrollPosition) {
        graph::drawGraph(graph::Target::Screen);
        state().lastScrollPosition = position;
    }
}

} // namespace app
