// monitor.cpp: File > Monitor: the logger's current readings, live.
//
// While monitoring, the window's own loop is replaced by a polling loop that
// queries the logger, draws its two display texts into devicePicture as they
// came (never converted, never stored), sleeps 100 ms and takes one window event
// without waiting. The main window is hidden meanwhile and comes back in the
// state it had. A reply that does not arrive whole leaves the texts of the last
// whole one on screen; a connection closed by the logger stops the monitoring
// after its one message, and the window then closes. While limits are set, a
// reading in alarm (alarm.h) is drawn in red inside a red border, the title
// names the limit, and the program beeps once as it goes into alarm.
#include "device/commands.h"

#include "app/ids.h"
#include "app/settings.h"
#include "app/state.h"
#include "app/window_loop.h"
#include "device/alarm.h"
#include "device/device_window.h"
#include "device/link.h"
#include "device/messages.h"
#include "device/protocol.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/events.h"
#include "platform/images.h"
#include "platform/socket.h"
#include "platform/window.h"

namespace device {

namespace {

constexpr int pictureWidth = 400;
constexpr int pictureHeight = 201;
constexpr platform::Color readingBackground = platform::rgb(50, 50, 50);
constexpr platform::Color temperatureColor = platform::rgb(255, 0, 0);
constexpr platform::Color humidityColor = platform::rgb(0, 255, 0);
constexpr platform::Color alarmColor = platform::rgb(255, 0, 0);
constexpr int alarmBorder = 4;
constexpr int passSleepMs = 100;
constexpr const char* monitorTitle = "Monitor";

struct MonitorState {
    // Set by the stop button or a close request; ends the polling loop.
    bool monitorStop;
    // The texts of the last whole reply.
    ReadingTexts readings;
    AlarmState alarm;
};

MonitorState monitor;

// Owned by the main window, as every other window of the program: it stays
// above it and has no taskbar entry of its own, and a click on the main window
// brings it back instead of raising a window whose commands wait.
void buildMonitorWindow()
{
    using namespace app;
    platform::openWindow({deviceWindow, mainWindow, monitorTitle, {400, 315}, true, platform::StyleMinimizeBox});
    createPictureAndAddress();
    loadAddress();
    platform::createButton(deviceWindow, deviceButton, "Start Monitor", {145, 270, 110, 20});
}

void showAddress(bool visible)
{
    platform::showControl(app::addressField, visible);
    platform::showControl(app::addressLabel, visible);
}

void enterMonitoring()
{
    platform::setText(app::deviceButton, "Stop Monitor");
    showAddress(false);
    platform::hideWindow(app::mainWindow);
    platform::sleepPainting(passSleepMs);
    platform::pollEvent();   // the press that started it may still be on its way
}

void leaveMonitoring()
{
    platform::setText(app::deviceButton, "Start Monitor");
    showAddress(true);
    showDevicePicture();
    platform::showAgain(app::mainWindow);
    platform::activateWindow(app::deviceWindow);
}

// True when a whole reply came.
bool readDevice()
{
    sendCommand(queryCommand);
    if (receiveReply(queryReplySize) < queryReplySize)
        return false;
    copyReplyBlock(queryReplySize);
    monitor.readings = readingTexts(linkState().replyBytes);
    if (watchReadings(monitor.alarm, app::settings().limits, monitor.readings, platform::milliseconds()))
        platform::beep();
    return true;
}

// A silent logger would otherwise leave the last picture with no sign; an alarm
// names its limit.
void showAnswered(bool answered, uint32_t address)
{
    const std::string alarm = alarmText(monitor.alarm, app::settings().limits);
    std::string title = monitorTitle;
    if (!answered)
        title += " - no reply from " + app::addressText(address);
    else if (!alarm.empty())
        title += " - " + alarm;
    platform::setWindowTitle(app::deviceWindow, title);
}

void drawCentered(const std::string& text, int top, platform::Color color)
{
    int left = pictureWidth / 2 - platform::textWidth(app::readingFont, text) / 2;
    platform::drawText(app::devicePicture, app::readingFont, left, top, text, color, readingBackground);
}

// A border that shows an alarm of the temperature too, whose text is red anyway.
void drawAlarmBorder()
{
    const int edge = alarmBorder;
    platform::fillRect(app::devicePicture, 0, 0, pictureWidth, edge, alarmColor);
    platform::fillRect(app::devicePicture, 0, pictureHeight - edge, pictureWidth, edge, alarmColor);
    platform::fillRect(app::devicePicture, 0, 0, edge, pictureHeight, alarmColor);
    platform::fillRect(app::devicePicture, pictureWidth - edge, 0, edge, pictureHeight, alarmColor);
}

void drawReadings()
{
    platform::fillRect(app::devicePicture, 0, 0, pictureWidth, pictureHeight, readingBackground);
    if (temperatureAlarmed(monitor.alarm) || humidityAlarmed(monitor.alarm))
        drawAlarmBorder();
    // The temperature is drawn in the alarm's red at all times.
    drawCentered(monitor.readings.temperature, 10, temperatureColor);
    drawCentered(monitor.readings.humidity, 110, humidityAlarmed(monitor.alarm) ? alarmColor : humidityColor);
    platform::setControlImage(app::pictureView, app::devicePicture);
}

void takeOneEvent()
{
    platform::Event event = platform::pollEvent();
    if (event.kind == platform::EventKind::CloseRequest) {
        monitor.monitorStop = true;
        app::state().closeRequested = 1;
    } else if (event.kind == platform::EventKind::Control && event.window == app::deviceWindow
               && event.id == app::deviceButton) {
        monitor.monitorStop = true;
    }
}

// The window's button: monitors until stopped, closed, or the logger hangs up.
void monitorReadings()
{
    monitor = {};
    const uint32_t address = app::settings().deviceAddress;
    if (!connectDevice(address)) {
        reportFailure(LinkFailure::CannotConnect, address);
        return;
    }
    enterMonitoring();
    while (!monitor.monitorStop) {
        showAnswered(readDevice(), address);
        if (linkState().closedByDevice) {
            reportFailure(LinkFailure::ConnectionClosed, address);
            app::state().closeRequested = 1;
            break;
        }
        drawReadings();
        platform::sleepPainting(passSleepMs);
        takeOneEvent();
    }
    monitor.alarm = {};
    showAnswered(true, address);
    leaveMonitoring();
}

void onMonitorControl(int control)
{
    switch (control) {
    case app::addressField: takeAddress(); break;
    case app::deviceButton: monitorReadings(); break;
    default: break;
    }
}

} // namespace

void monitorDevice()
{
    if (!platform::startSockets()) {
        reportFailure(LinkFailure::CannotStartSockets, app::settings().deviceAddress);
        return;
    }
    buildMonitorWindow();
    app::runDialog(app::deviceWindow, app::mainWindow, app::deviceButton, onMonitorControl);
}

} // namespace device
