// Pointer and keys of one watched control: wheel turns, left-button drags and the
// navigation keys, turned into events of its window before any window sees them.
#include "platform/events.h"
#include "platform/win32/internal.h"

#include <windowsx.h>

namespace platform {

namespace {

struct Watch {
    int control = -1;
    bool dragging = false;
};

Watch watch;

unsigned heldModifiers()
{
    unsigned m = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        m |= ModifierShift;
    if (GetKeyState(VK_CONTROL) < 0)
        m |= ModifierControl;
    return m;
}

int navigationKey(WPARAM key)
{
    switch (key) {
    case VK_LEFT: return KeyLeft;
    case VK_RIGHT: return KeyRight;
    case VK_PRIOR: return KeyPageUp;
    case VK_NEXT: return KeyPageDown;
    case VK_HOME: return KeyHome;
    case VK_END: return KeyEnd;
    case VK_ADD:
    case VK_OEM_PLUS: return KeyPlus;   // "+", and "=" on the same key
    case VK_SUBTRACT:
    case VK_OEM_MINUS: return KeyMinus;
    default: return 0;
    }
}

// The keys a focused track bar moves itself with.
bool trackBarKey(int key)
{
    return key != KeyPlus && key != KeyMinus;
}

POINT clientPoint(int window, POINT screen)
{
    ScreenToClient(win32::frameOf(window), &screen);
    return screen;
}

void push(EventKind kind, int window, int id, POINT p)
{
    Event out{kind, window, id};
    out.x = p.x;
    out.y = p.y;
    win32::pushEvent(out);
}

bool wheel(const MSG& msg, HWND watched, int window)
{
    // The wheel goes to the window with the focus, or the one under the mouse.
    POINT screen{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    if (msg.hwnd != watched && WindowFromPoint(screen) != watched)
        return false;
    bool vertical = msg.message == WM_MOUSEWHEEL;
    int delta = GET_WHEEL_DELTA_WPARAM(msg.wParam);
    // Windows counts a tilt to the right as positive; events count the left.
    Event out{EventKind::Wheel, window, vertical ? WheelVertical : WheelHorizontal};
    POINT p = clientPoint(window, screen);
    out.x = p.x;
    out.y = p.y;
    out.delta = vertical ? delta : -delta;
    WORD keys = GET_KEYSTATE_WPARAM(msg.wParam);
    out.modifiers = (keys & MK_SHIFT ? unsigned{ModifierShift} : 0u) | (keys & MK_CONTROL ? unsigned{ModifierControl} : 0u);
    if (out.delta != 0)
        win32::pushEvent(out);
    return true;
}

bool mouse(const MSG& msg, HWND watched, int window)
{
    if (msg.hwnd != watched)
        return false;
    POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    MapWindowPoints(watched, win32::frameOf(window), &p, 1);
    switch (msg.message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetCapture(watched);   // the drag goes on wherever the mouse goes
        watch.dragging = true;
        push(EventKind::MousePress, window, watch.control, p);
        return true;
    case WM_MOUSEMOVE:
        if (watch.dragging)
            push(EventKind::MouseDrag, window, watch.control, p);
        return false;   // moves go on to the hover tracking
    case WM_LBUTTONUP:
        if (!watch.dragging)
            return false;
        watch.dragging = false;
        ReleaseCapture();
        push(EventKind::MouseRelease, window, watch.control, p);
        return true;
    default: return false;
    }
}

bool key(const MSG& msg, int window)
{
    int id = navigationKey(msg.wParam);
    if (id == 0 || win32::windowOfHwnd(msg.hwnd) != window)
        return false;
    if (win32::isTrackBar(msg.hwnd) && trackBarKey(id))
        return false;
    Event out{EventKind::Key, window, id};
    out.modifiers = heldModifiers();
    win32::pushEvent(out);
    return true;
}

} // namespace

void watchPointer(int control)
{
    if (watch.dragging)
        ReleaseCapture();
    watch.control = control;
    watch.dragging = false;
}

namespace win32 {

bool watchedInput(const MSG& msg)
{
    switch (msg.message) {
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_KEYDOWN: break;
    default: return false;
    }
    HWND watched = watch.control >= 0 ? controlHwnd(watch.control) : nullptr;
    if (!watched)
        return false;
    int window = windowOfHwnd(watched);
    switch (msg.message) {
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: return wheel(msg, watched, window);
    case WM_KEYDOWN: return key(msg, window);
    default: return mouse(msg, watched, window);
    }
}

} // namespace win32

} // namespace platform
