// For tests: the pointer and key events of a watched control, queued as the
// backend's input watcher would queue them.
#include "platform/queue.h"
#include "platform/testing.h"

namespace platform::testing {

namespace {

void postPointer(EventKind kind, int window, int x, int y, int id, int delta, unsigned modifiers)
{
    setMousePosition(window, x, y);
    Event out{kind, window, id};
    out.x = x;
    out.y = y;
    out.delta = delta;
    out.modifiers = modifiers;
    queue::push(out);
}

} // namespace

void turnWheel(int window, int x, int y, int delta, unsigned modifiers, WheelAxis axis)
{
    postPointer(EventKind::Wheel, window, x, y, axis, delta, modifiers);
}

void pressMouse(int window, int x, int y)
{
    postPointer(EventKind::MousePress, window, x, y, 0, 0, 0);
}

void dragMouse(int window, int x, int y)
{
    postPointer(EventKind::MouseDrag, window, x, y, 0, 0, 0);
}

void releaseMouse(int window, int x, int y)
{
    postPointer(EventKind::MouseRelease, window, x, y, 0, 0, 0);
}

void pressKey(int window, NavigationKey key, unsigned modifiers)
{
    Event out{EventKind::Key, window, key};
    out.modifiers = modifiers;
    queue::push(out);
}

} // namespace platform::testing
