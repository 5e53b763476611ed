#include "app/profile_window.h"

#include "analysis/profile.h"
#include "app/ids.h"
#include "app/state.h"
#include "app/window_loop.h"
#include "platform/controls.h"
#include "platform/window.h"
#include "records/datemask.h"
#include "records/store.h"

#include <vector>

namespace app {

namespace {

const char* const rangeTimeMask = "%yyyy-%mm-%dd %hh:%ii:%ss";

std::string recordTimeText(int32_t index)
{
    return records::formatTime(rangeTimeMask, records::recordAt(index).time);
}

void showRange()
{
    platform::setText(profileFromText, "From: " + recordTimeText(records::store().rangeStart));
    platform::setText(profileToText, "To: " + recordTimeText(records::store().rangeEnd));
}

void changeFrom()
{
    records::RecordStore& s = records::store();
    s.rangeStart = analysis::pickRecordTime(0, s.rangeStart, s.rangeEnd);
    showRange();
    analysis::fillProfile();
}

void changeTo()
{
    records::RecordStore& s = records::store();
    s.rangeEnd = analysis::pickRecordTime(s.rangeStart, s.rangeEnd, records::recordTotal() - 1);
    showRange();
    analysis::fillProfile();
}

void onProfileControl(int control)
{
    switch (control) {
    case profileFromButton: changeFrom(); break;
    case profileToButton: changeTo(); break;
    case okButton: state().closeRequested = 1; break;
    default: break;
    }
}

// An empty title over the row labels, then the humidity bands.
std::vector<std::string> columnTitles()
{
    std::vector<std::string> titles = {""};
    for (int band = 0; band < analysis::humidityBands; ++band)
        titles.push_back(analysis::humidityBandTitle(band));
    return titles;
}

std::vector<int> columnWidths()
{
    std::vector<int> widths(analysis::humidityBands + 1, 50);
    widths[0] = 100;
    return widths;
}

void buildProfileWindow()
{
    using platform::Align;
    platform::openWindow({profileWindow, mainWindow, "RH Profile", {710, 460}, true, platform::StyleFixed});
    platform::createFrame(profileWindow, profileRangeFrame, "Set Start/End Time", {10, 10, 690, 80});
    platform::createText(profileWindow, profileFromText, "", {45, 30, 265, 20}, Align::Right);
    platform::createButton(profileWindow, profileFromButton, "Change", {320, 30, 70, 20});
    platform::createText(profileWindow, profileToText, "", {45, 60, 265, 20}, Align::Right);
    platform::createButton(profileWindow, profileToButton, "Change", {320, 60, 70, 20});
    showRange();
    platform::setAccessibleName(profileFromButton, "Change start time");
    platform::setAccessibleName(profileToButton, "Change end time");
    platform::createFrame(profileWindow, profileFrame, "RH Profile (hours)", {10, 100, 690, 310});
    platform::createReportList(profileWindow, profileList, {20, 120, 670, 280});
    platform::setAccessibleName(profileList, "RH Profile (hours)");
    platform::setListColumns(profileList, columnTitles(), columnWidths());
    analysis::fillProfile();
    platform::createButton(profileWindow, okButton, "Ok", {315, 420, 80, 20});
}

} // namespace

void openProfileWindow()
{
    if (records::recordTotal() == 0)
        return;   // the button is disabled then; a stale event finds nothing to show
    records::store().rangeStart = 0;
    records::store().rangeEnd = records::recordTotal() - 1;
    buildProfileWindow();
    runDialog(profileWindow, mainWindow, okButton, onProfileControl);
}

} // namespace app
