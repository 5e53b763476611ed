// download.cpp: File > Download Records: the Download window and the download.
//
// The download queries the logger and, on "QX51OK", dumps its samples. The dump is
// decoded into a list of its own first; only a complete one goes through the load
// sequence, so a failed or short download leaves the records that were shown.
#include "device/commands.h"

#include "app/commands.h"
#include "app/ids.h"
#include "app/settings.h"
#include "app/state.h"
#include "app/window_loop.h"
#include "device/device_window.h"
#include "device/link.h"
#include "device/messages.h"
#include "device/protocol.h"
#include "platform/controls.h"
#include "platform/socket.h"
#include "platform/window.h"
#include "records/load.h"
#include "records/store.h"

#include <vector>

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

// Dumps `count` samples into `samples`; false when fewer than all their bytes came.
bool receiveDump(int32_t count, std::vector<Sample>& samples)
{
    sendCommand(dumpCommand);
    int32_t received = receiveReply(count > 0 ? count * sampleSize : 0);
    return decodeDump(linkState().receiveBuffer.data(), received, count, samples);
}

// The load sequence with the dumped samples; the records come from no file.
void loadSamples(const QueryReply& reply, const std::vector<Sample>& samples)
{
    records::loadRecords(
        [&](records::LoadHeader& header) {
            header.newestTime = reply.newestTime;
            header.interval = reply.interval;
            for (const Sample& sample : samples)
                records::appendRecord(sample.temperature, sample.humidity);
            return true;
        },
        "");
}

void fetchRecords(const QueryReply& reply, uint32_t address)
{
    std::vector<Sample> samples;
    if (receiveDump(reply.sampleCount, samples))
        loadSamples(reply, samples);
    else
        reportFailure(LinkFailure::IncompleteDump, address);
    app::state().closeRequested = 1;
}

// The window's button: query, then dump and load, or say why not.
void download()
{
    const uint32_t address = app::settings().deviceAddress;
    app::setBusyCursor(true);
    app::saveSettings(app::settingsFileName);
    if (!connectDevice(address)) {
        reportFailure(LinkFailure::CannotConnect, address);
        return;
    }
    sendCommand(queryCommand);
    // A short reply is no reply: the buffer's rest would be an older reply's bytes.
    if (receiveReply(queryReplySize) < queryReplySize) {
        reportFailure(LinkFailure::NoDevice, address);
        app::state().closeRequested = 1;
        return;
    }
    copyReplyBlock(queryReplySize);
    QueryReply reply = decodeQuery(linkState().replyBytes);
    switch (reply.status) {
    case ReplyStatus::Ok: fetchRecords(reply, address); break;
    case ReplyStatus::Busy: reportFailure(LinkFailure::Busy, address); break;
    case ReplyStatus::Other:
        reportFailure(LinkFailure::NoDevice, address);
        app::state().closeRequested = 1;
        break;
    }
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
    platform::setDialogKeys(app::deviceWindow, app::deviceButton);
    platform::showWindow(app::deviceWindow, platform::WindowShow::Normal);
    app::runWindowLoop(app::deviceWindow, app::mainWindow, onDownloadControl);
}

} // namespace device
