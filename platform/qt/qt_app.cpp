// Start-up of the toolkit, the event queue and the waits on it.
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/events.h"
#include "platform/platform.h"
#include "platform/queue.h"
#include "platform/qt/qt_internal.h"
#include "platform/seam.h"
#include "platform/socket.h"
#include "platform/testing.h"
#include "platform/window.h"

#include "assets/assets.h"

#include <QApplication>
#include <QEventLoop>
#include <QFont>
#include <QIcon>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>

#include <clocale>
#include <deque>

namespace platform {

namespace {

// Mouse moves over the wake window end a wait, so the caller can track the mouse.
class MouseWatcher : public QObject {
public:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto type = event->type();
        if (type == QEvent::MouseMove || type == QEvent::Enter || type == QEvent::Leave) {
            auto* widget = qobject_cast<QWidget*>(object);
            if (widget && qt::windowOfWidget(widget) == wakeWindow)
                qt::wake();
        }
        return false;
    }
    int wakeWindow = -1;
};

struct EventState {
    std::deque<Event> queue;
    QEventLoop* waiting = nullptr;
    MouseWatcher* watcher = nullptr;
};

EventState events;
QtMessageHandler defaultMessageHandler = nullptr;

QIcon programIcon()
{
    QIcon icon;
    for (int pixels : {16, 24, 32, 64}) {
        assets::Blob png = assets::iconPng(pixels);
        QPixmap pixmap;
        if (pixmap.loadFromData(png.data, static_cast<uint>(png.size), "PNG"))
            icon.addPixmap(pixmap);
    }
    return icon;
}

void startToolkit()
{
    static int argc = 1;
    static char name[] = "climadesk";
    static char* argv[] = {name, nullptr};
    auto* app = new QApplication(argc, argv);
    app->setQuitOnLastWindowClosed(false);
    app->setWindowIcon(programIcon());
    // The layouts are sized for the Windows dialog font: 8 points, 11 pixels at
    // 96 dpi, in a face with Arial's metrics.
    QFont controls(QStringLiteral("Arial"));
    controls.setPixelSize(11);
    app->setFont(controls);
    events.watcher = new MouseWatcher;
    app->installEventFilter(events.watcher);
    qt::installInputWatcher();
    qt::guardOwners();
    // The toolkit adopted the user's locale; numbers are written with a point
    // whatever the locale (the C library's printf follows LC_NUMERIC).
    std::setlocale(LC_NUMERIC, "C");
}

Event popEvent()
{
    Event event = events.queue.front();
    events.queue.pop_front();
    return event;
}

constexpr Event noEvent{EventKind::None, -1, 0};

// Keeps the toolkit's own diagnostics (such as the XDG_RUNTIME_DIR notice a cron
// job's environment brings about) off standard error, which carries the
// program's messages only; what is fatal still goes through.
void dropToolkitNotices(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if ((type == QtCriticalMsg || type == QtFatalMsg) && defaultMessageHandler)
        defaultMessageHandler(type, context, message);
}

} // namespace

void init()
{
    if (!QApplication::instance())
        startToolkit();
    events.queue.clear();
    events.watcher->wakeWindow = -1;
}

void initHeadless()
{
    if (!QApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        defaultMessageHandler = qInstallMessageHandler(dropToolkitNotices);
    }
    init();
}

void shutdown()
{
    setScrollHook(nullptr);
    showWaitCursor(false);
    qt::closeAllWindows();
    qt::forgetAllControls();
    qt::forgetAllImages();
    stopSockets();
    QCoreApplication::processEvents();
    events.queue.clear();
}

void setMouseWakeWindow(int window)
{
    events.watcher->wakeWindow = window;
}

Event pollEvent()
{
    QCoreApplication::processEvents();
    if (events.queue.empty() && testing::active() && !seam::scriptEmpty())
        seam::runScriptStep();
    return events.queue.empty() ? noEvent : popEvent();
}

Event waitEvent(int ms)
{
    QCoreApplication::processEvents();
    if (testing::active()) {
        // A script never waits: its next step is the next thing the user does.
        // One step per call, so the loop makes a pass after a step without event.
        if (events.queue.empty()) {
            if (seam::scriptEmpty())
                seam::scriptExhausted(qt::innermostWindow());
            else
                seam::runScriptStep();
        }
        return events.queue.empty() ? noEvent : popEvent();
    }
    if (events.queue.empty()) {
        QEventLoop loop;
        QEventLoop* outer = events.waiting;
        events.waiting = &loop;
        QTimer timer;
        if (ms >= 0) {
            timer.setSingleShot(true);
            QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
            timer.start(ms);
        }
        loop.exec();
        events.waiting = outer;
    }
    return events.queue.empty() ? noEvent : popEvent();
}

void sleepPainting(int ms)
{
    if (ms <= 0)
        return;
    if (!QCoreApplication::instance()) {
        sleepMilliseconds(ms);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

namespace qt {

void pushEvent(Event event)
{
    events.queue.push_back(event);
    wake();
}

void wake()
{
    if (events.waiting)
        events.waiting->quit();
}

} // namespace qt

void queue::push(Event event)
{
    qt::pushEvent(event);
}

} // namespace platform
