// pickRecordTime: the "Input Time" window, a drop-down of record times.
#include "analysis/profile.h"

#include "app/ids.h"
#include "app/state.h"
#include "app/window_loop.h"
#include "platform/controls.h"
#include "platform/window.h"
#include "records/datemask.h"
#include "records/store.h"

#include <algorithm>


namespace analysis {

namespace {

const char* const pickerTimeMask = "%yyyy-%mm-%dd %hh:%ii:%ss";

} // namespace

int32_t pickRecordTime(int32_t first, int32_t current, int32_t last)
{
    // Only existing records can be listed, whatever the caller passes.
    first = std::max(first, 0);
    last = std::min(last, records::recordTotal() - 1);
    platform::openWindow({app::timePickerWindow, app::profileWindow, "Input Time", {190, 100}, true,
                          platform::StyleFixed});
    platform::createDropDown(app::timePickerWindow, app::timePickerList, {20, 20, 150, 30});
    platform::setAccessibleName(app::timePickerList, "Record time");
    platform::setDropDownEntries(app::timePickerList, std::max(last - first + 1, 0), [first](int entry) {
        return records::formatTime(pickerTimeMask, records::recordAt(first + entry).time);
    });
    platform::selectDropDownEntry(app::timePickerList, current - first);
    platform::createButton(app::timePickerWindow, app::timePickerOkButton, "Ok", {55, 60, 80, 20});
    int32_t result = current;
    app::runDialog(app::timePickerWindow, app::profileWindow, app::timePickerOkButton, [&](int control) {
        if (control == app::timePickerOkButton) {
            result = first + std::max(platform::selectedDropDownEntry(app::timePickerList), 0);
            app::state().closeRequested = 1;
        }
    });
    return result;
}

} // namespace analysis
