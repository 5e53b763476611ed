// Pointer and keys of one watched control: wheel turns, left-button drags and the
// navigation keys, turned into events of its window.
#include "platform/events.h"
#include "platform/qt/qt_internal.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSlider>
#include <QWheelEvent>

namespace platform {

namespace {

unsigned modifiersOf(Qt::KeyboardModifiers held)
{
    unsigned m = 0;
    if (held & Qt::ShiftModifier)
        m |= ModifierShift;
    if (held & Qt::ControlModifier)
        m |= ModifierControl;
    return m;
}

int navigationKey(int key)
{
    switch (key) {
    case Qt::Key_Left: return KeyLeft;
    case Qt::Key_Right: return KeyRight;
    case Qt::Key_PageUp: return KeyPageUp;
    case Qt::Key_PageDown: return KeyPageDown;
    case Qt::Key_Home: return KeyHome;
    case Qt::Key_End: return KeyEnd;
    case Qt::Key_Plus:
    case Qt::Key_Equal: return KeyPlus;
    case Qt::Key_Minus: return KeyMinus;
    default: return 0;
    }
}

class InputWatcher : public QObject {
public:
    int control = -1;
    bool dragging = false;

    // Runs for every event of the program: the type decides before any lookup.
    bool eventFilter(QObject* object, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Wheel:
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
        case QEvent::KeyPress: break;
        default: return false;
        }
        QWidget* watched = control >= 0 ? qt::controlWidget(control) : nullptr;
        if (!watched)
            return false;
        int window = qt::windowOfWidget(watched);
        switch (event->type()) {
        case QEvent::Wheel: return object == watched && wheel(window, static_cast<QWheelEvent*>(event));
        case QEvent::KeyPress: return key(window, object, static_cast<QKeyEvent*>(event));
        default: return object == watched && mouse(window, static_cast<QMouseEvent*>(event));
        }
    }

private:
    static QPoint clientPoint(int window, QPointF global)
    {
        QWidget* client = qt::clientOf(window);
        return client ? client->mapFromGlobal(global.toPoint()) : QPoint();
    }

    static bool wheel(int window, QWheelEvent* e)
    {
        QPoint angle = e->angleDelta();
        bool vertical = angle.y() != 0;
        Event out{EventKind::Wheel, window, vertical ? WheelVertical : WheelHorizontal};
        QPoint p = clientPoint(window, e->globalPosition());
        out.x = p.x();
        out.y = p.y();
        out.delta = vertical ? angle.y() : angle.x();
        out.modifiers = modifiersOf(e->modifiers());
        if (out.delta != 0)
            qt::pushEvent(out);
        return true;
    }

    bool mouse(int window, QMouseEvent* e)
    {
        EventKind kind;
        if (e->type() == QEvent::MouseButtonPress && e->button() == Qt::LeftButton)
            kind = EventKind::MousePress;
        else if (e->type() == QEvent::MouseMove && dragging)
            kind = EventKind::MouseDrag;
        else if (e->type() == QEvent::MouseButtonRelease && e->button() == Qt::LeftButton && dragging)
            kind = EventKind::MouseRelease;
        else
            return false;
        dragging = kind != EventKind::MouseRelease;
        QPoint p = clientPoint(window, e->globalPosition());
        Event out{kind, window, control};
        out.x = p.x();
        out.y = p.y();
        qt::pushEvent(out);
        return kind != EventKind::MouseDrag;   // moves go on to the hover tracking
    }

    static bool key(int window, QObject* object, QKeyEvent* e)
    {
        auto* widget = qobject_cast<QWidget*>(object);
        // A focused track bar keeps the keys it uses; those it passes on to its
        // window come back here with the window as receiver.
        if (!widget || qobject_cast<QSlider*>(widget) || qt::windowOfWidget(widget) != window)
            return false;
        int id = navigationKey(e->key());
        if (id == 0)
            return false;
        Event out{EventKind::Key, window, id};
        out.modifiers = modifiersOf(e->modifiers());
        qt::pushEvent(out);
        return true;
    }
};

InputWatcher* watcher = nullptr;

} // namespace

namespace qt {

void installInputWatcher()
{
    watcher = new InputWatcher;
    qApp->installEventFilter(watcher);
}

} // namespace qt

void watchPointer(int control)
{
    watcher->control = control;
    watcher->dragging = false;
}

} // namespace platform
