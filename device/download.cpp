// download.cpp: File > Download Records: the Download window and the download.
//
// The download (fetch.h) queries the logger and, on "QX51OK", dumps its samples
// into a list of its own; only a complete one goes through the load sequence, so
// a failed or short download leaves the records that were shown. This window
// shows the progress in its status bar and the failures in message boxes.
#include "device/commands.h"

#include "app/commands.h"
#include "app/ids.h"
#include "app/settings.h"
#include "app/state.h"
#include "app/window_loop.h"
#include "device/device_window.h"
#include "device/fetch.h"
#include "platform/controls.h"
#include "platform/socket.h"
#include "platform/window.h"
#include "records/load.h"
#include "records/store.h"

#include <string>

namespace device {

namespace {

void buildDownloadWindow()
{
    using namespace app;
    platform::openWindow({deviceWindow, mainWindow, "Download", {400, 330}, true, platform::StyleFixed});
    createPictureAndAddress();
    platform::createButton(deviceWindow, deviceButton, "Download Records", {145, 270, 110, 20});
    platform::createStatusBar(deviceWindow, downloadStatusBar, {50, 350});
    loadAddress();
}

// The load sequence with the fetched samples; the records come from no file.
void loadSamples(const Fetch& fetch)
{
    records::RecordSeries series = seriesOf(fetch);
    records::loadSeries(series, "");
}

void showProgress(int percent)
{
    platform::setStatusText(app::downloadStatusBar, 0, std::to_string(percent) + "%");
    platform::setStatusProgress(app::downloadStatusBar, 1, percent);
}

// A failed connect or a busy logger leaves the window open for another try.
bool closesWindow(LinkFailure failure)
{
    return failure != LinkFailure::CannotConnect && failure != LinkFailure::Busy;
}

// The window's button: query, then dump and load, or say why not.
void download()
{
    const uint32_t address = app::settings().deviceAddress;
    app::setBusyCursor(true);
    app::saveSettings(app::settingsFileName);
    const Fetch fetch = fetchSamples(address, showProgress);
    if (fetch.closedByDevice) {
        reportFailure(LinkFailure::ConnectionClosed, address);
        app::state().closeRequested = 1;
    }
    if (!fetch.failure) {
        loadSamples(fetch);
        app::state().closeRequested = 1;
        return;
    }
    reportFailure(*fetch.failure, address);
    if (closesWindow(*fetch.failure))
        app::state().closeRequested = 1;
}

void onDownloadControl(int control)
{
    switch (control) {
    case app::addressField: takeAddress(); break;
    case app::deviceButton: download(); break;
    default: break;
    }
}

} // namespace

void downloadRecords()
{
    if (!platform::startSockets()) {
        reportFailure(LinkFailure::CannotStartSockets, app::settings().deviceAddress);
        return;
    }
    buildDownloadWindow();
    app::runDialog(app::deviceWindow, app::mainWindow, app::deviceButton, onDownloadControl);
}

} // namespace device
