#include "app/main_window.h"

#include "app/ids.h"
#include "graph/graph.h"
#include "platform/controls.h"
#include "platform/events.h"
#include "platform/images.h"
#include "platform/window.h"

#include <algorithm>
#include <vector>

namespace app {

namespace {

using platform::MenuEntry;

const std::vector<MenuEntry> menuTable = {
    {MenuEntry::Menu, 0, "File"},
    {MenuEntry::Item, menuImportRecords, "Import Records"},
    {MenuEntry::Item, menuDownloadRecords, "Download Records"},
    {MenuEntry::Separator, -1, ""},
    {MenuEntry::Item, menuClose, "Close"},
    {MenuEntry::Separator, -1, ""},
    {MenuEntry::Item, menuSaveAs, "Save As"},
    {MenuEntry::Separator, -1, ""},
    {MenuEntry::Item, menuExportAsExcel, "Export As Excel"},
    {MenuEntry::Item, menuExportReport, "Export Report"},
    {MenuEntry::Separator, -1, ""},
    {MenuEntry::Item, menuPrint, "Print"},
    {MenuEntry::Separator, -1, ""},
    {MenuEntry::Item, menuMonitor, "Monitor"},
    {MenuEntry::Separator, -1, ""},
    {MenuEntry::Item, menuExit, "Exit"},
    {MenuEntry::Menu, 0, "Settings"},
    {MenuEntry::Item, menuPreferences, "Preferences"},
    {MenuEntry::Item, menuLimits, "Limits"},
    {MenuEntry::Menu, 0, "Help"},
    {MenuEntry::Item, menuAbout, "About..."},
};

// Disabled at start-up: they need records.
constexpr int startDisabled[] = {menuClose, menuSaveAs, menuExportAsExcel, menuExportReport, menuPrint};

void buildMenuBar()
{
    if (!platform::createMenuBar(mainWindow, menuTable))
        return;
    for (int item : startDisabled)
        platform::enableMenuItem(item, false);
}

void buildLeftColumn()
{
    using platform::Align;
    platform::createFrame(mainWindow, measuringFrame, "Measuring parameters", {10, 10, 180, 130});
    platform::createText(mainWindow, firstRecordText, "", {20, 35, 160, 20}, Align::Right);
    platform::createText(mainWindow, lastRecordText, "", {20, 65, 160, 20}, Align::Right);
    platform::createText(mainWindow, recordCountText, "", {20, 95, 160, 40}, Align::Right);
    platform::createFrame(mainWindow, analysisFrame, "Data analysis", {10, 160, 180, 180});
    platform::createText(mainWindow, humidityMaxText, "RHmax", {20, 185, 160, 20}, Align::Right);
    platform::createText(mainWindow, humidityMinText, "RHmax", {20, 215, 160, 20}, Align::Right);
    platform::createText(mainWindow, temperatureMaxText, "RHmax", {20, 245, 160, 20}, Align::Right);
    platform::createText(mainWindow, temperatureMinText, "RHmax", {20, 275, 160, 20}, Align::Right);
    platform::createButton(mainWindow, profileButton, "RH Profile", {80, 305, 100, 20});
    platform::createFrame(mainWindow, timeScaleFrame, "Time Scale Factor", {10, 360, 180, 70});
    platform::createTrackBar(mainWindow, timeScaleTrackBar, {20, 380, 160, 30}, 6, 16);
    platform::setTrackBarPosition(timeScaleTrackBar, 6);
    platform::setAccessibleName(timeScaleTrackBar, "Time scale");
}

void buildGraphArea()
{
    platform::createImage(graphImage, 1, 1);
    platform::createImageView(mainWindow, graphView, {leftColumnWidth, 0, 1, 1});
    platform::setAccessibleName(graphView, "Graph");
    platform::watchPointer(graphView);
    platform::createScrollBar(mainWindow, graphScrollBar, {leftColumnWidth, 560, 600, scrollBarHeight});
    platform::setScrollRange(graphScrollBar, 0, 100, 10);
    platform::setAccessibleName(graphScrollBar, "Time window");
}

} // namespace

void buildMainWindow()
{
    platform::openWindow({mainWindow, platform::noOwner, "Climadesk", {800, 600}, false,
                          platform::StyleSizable | platform::StyleMinimizeBox | platform::StyleMaximizeBox});
    buildMenuBar();
    platform::createStatusBar(mainWindow, statusBar, {130, 130, 100, 100, 400});
    buildLeftColumn();
    buildGraphArea();
    // No smaller than the left column and a graph that still draws, above the
    // status bar, so nothing overlaps.
    platform::setMinimumClientSize(mainWindow, {leftColumnWidth + graph::smallestDrawn,
                                                std::max(leftColumnHeight, graph::smallestDrawn + scrollBarHeight) +
                                                    platform::statusBarHeight(statusBar)});
    platform::showWindow(mainWindow, platform::WindowShow::Maximized);
}

} // namespace app
