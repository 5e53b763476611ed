#include "app/commands.h"

#include "analysis/statistics.h"
#include "app/ids.h"
#include "platform/controls.h"
#include "platform/window.h"
#include "records/store.h"

namespace app {

namespace {

// The File menu items that act on records, in the order they are switched.
constexpr int recordCommands[] = {menuClose, menuPrint, menuSaveAs, menuExportAsExcel, menuExportReport};

} // namespace

void closeRecords()
{
    records::clearRecords();
    analysis::refreshStatistics();
    records::store().fileTitle.clear();
    records::store().fileDigest.clear();
    platform::setWindowTitle(mainWindow, "Brackwell");
}

void setBusyCursor(bool on)
{
    platform::showWaitCursor(on);
}

void applyEnabling()
{
    bool any = records::store().recordCount > 0;
    platform::enableControl(profileButton, any);
    for (int item : recordCommands)
        platform::enableMenuItem(item, any);
    platform::enableControl(timeScaleTrackBar, any);
}

} // namespace app
