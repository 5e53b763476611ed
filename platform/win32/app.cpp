// Start-up of the Win32 backend, the event queue and the waits on it.
//
// Window procedures turn notifications into events {kind, window, id} in one
// FIFO; the waits pump the thread's message queue until an event is there.
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/events.h"
#include "platform/platform.h"
#include "platform/queue.h"
#include "platform/seam.h"
#include "platform/socket.h"
#include "platform/testing.h"
#include "platform/win32/internal.h"

#include "assets/assets.h"

#include <commctrl.h>

#include <deque>

namespace platform {

namespace {

struct AppState {
    bool started = false;
    bool headless = false;
    std::deque<Event> queue;
    bool woken = false;
    int wakeWindow = -1;
    HFONT controlFont = nullptr;
    HFONT linkFont = nullptr;
    HICON largeIcon = nullptr;
    HICON smallIcon = nullptr;
};

AppState app;

constexpr Event noEvent{EventKind::None, -1, 0};

// The program icon at `pixels` from its PNG, with its transparency.
HICON iconOfSize(int pixels)
{
    assets::Blob png = assets::iconPng(pixels);
    std::vector<uint32_t> argb;
    int width = 0, height = 0;
    if (!png.data || !win32::decodePng(std::string(reinterpret_cast<const char*>(png.data), png.size), argb, width, height))
        return nullptr;
    uint32_t* bits = nullptr;
    HBITMAP color = win32::createDib(width, height, &bits);
    if (!color)
        return nullptr;
    std::copy(argb.begin(), argb.end(), bits);
    HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(color);
    return icon;
}

HFONT dialogFont(bool underlined)
{
    LOGFONTW font{};
    // The layouts are sized for the Windows dialog font at 8 points.
    font.lfHeight = -MulDiv(8, win32::screenDpiY(), 72);
    font.lfWeight = FW_NORMAL;
    font.lfUnderline = underlined ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    wcscpy(font.lfFaceName, L"MS Shell Dlg 2");
    return CreateFontIndirectW(&font);
}

void startToolkit()
{
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                 ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS
                                     | ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&classes);
    app.controlFont = dialogFont(false);
    app.linkFont = dialogFont(true);
    app.largeIcon = iconOfSize(32);
    app.smallIcon = iconOfSize(16);
    win32::registerWindowClass();
    app.started = true;
}

Event popEvent()
{
    Event event = app.queue.front();
    app.queue.pop_front();
    return event;
}

// Mouse moves over the wake window end a wait, so the caller can track the
// mouse; leaving the window ends one too (the cursor readout goes).
void watchMouse(const MSG& msg)
{
    if (msg.message != WM_MOUSEMOVE && msg.message != WM_MOUSELEAVE)
        return;
    if (app.wakeWindow < 0 || win32::windowOfHwnd(msg.hwnd) != app.wakeWindow)
        return;
    if (msg.message == WM_MOUSEMOVE) {
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, msg.hwnd, 0};
        TrackMouseEvent(&track);
    }
    win32::wake();
}

bool isEnterOrEscape(const MSG& msg)
{
    return (msg.message == WM_KEYDOWN || msg.message == WM_CHAR || msg.message == WM_KEYUP)
        && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE);
}

} // namespace

void init()
{
    if (!app.started)
        startToolkit();
    app.queue.clear();
    app.wakeWindow = -1;
}

void initHeadless()
{
    if (!app.started)
        app.headless = true;
    init();
}

void shutdown()
{
    setScrollHook(nullptr);
    showWaitCursor(false);
    watchPointer(-1);
    win32::closeAllWindows();
    win32::forgetAllControls();
    win32::forgetAllImages();
    stopSockets();
    win32::pump();
    app.queue.clear();
}

void setMouseWakeWindow(int window)
{
    app.wakeWindow = window;
}

Event pollEvent()
{
    win32::pump();
    if (app.queue.empty() && testing::active() && !seam::scriptEmpty())
        seam::runScriptStep();
    return app.queue.empty() ? noEvent : popEvent();
}

Event waitEvent(int ms)
{
    app.woken = false;
    win32::pump();
    if (testing::active()) {
        // A script never waits: its next step is the next thing the user does.
        if (app.queue.empty()) {
            if (seam::scriptEmpty())
                seam::scriptExhausted(win32::innermostWindow());
            else
                seam::runScriptStep();
        }
        return app.queue.empty() ? noEvent : popEvent();
    }
    const int64_t deadline = milliseconds() + ms;
    while (app.queue.empty() && !app.woken) {
        DWORD wait = INFINITE;
        if (ms >= 0) {
            int64_t left = deadline - milliseconds();
            if (left <= 0)
                break;
            wait = static_cast<DWORD>(left);
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        win32::pump();
    }
    return app.queue.empty() ? noEvent : popEvent();
}

// Paints and serves the window system's own requests, leaving the user's input
// in the queue for later.
void sleepPainting(int ms)
{
    if (ms <= 0)
        return;
    if (!app.started) {
        sleepMilliseconds(ms);
        return;
    }
    const UINT notInput = PM_QS_PAINT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE;
    const int64_t deadline = milliseconds() + ms;
    for (int64_t left = ms; left > 0; left = deadline - milliseconds()) {
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left), QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE | QS_TIMER, 0);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | notInput))
            if (msg.message != WM_QUIT)
                DispatchMessageW(&msg);
    }
}

namespace win32 {

HINSTANCE instance()
{
    return GetModuleHandleW(nullptr);
}

HFONT controlFont()
{
    return app.controlFont;
}

HFONT linkFont()
{
    return app.linkFont;
}

HICON programIcon(bool large)
{
    return large ? app.largeIcon : app.smallIcon;
}

// The command line draws at 96 dots per inch whatever the monitor, so that its
// pictures are the same everywhere.
int screenDpiY()
{
    if (app.headless)
        return 96;
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

void dispatch(MSG& msg)
{
    watchMouse(msg);
    if (watchedInput(msg) || dialogKey(msg))
        return;
    // Tab and the arrows move the focus between controls as in a dialog box;
    // Enter and Escape mean nothing in a window without dialog keys.
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    if (root && windowOfHwnd(root) >= 0 && !isEnterOrEscape(msg) && IsDialogMessageW(root, &msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT)
            dispatch(msg);
}

void pushEvent(Event event)
{
    app.queue.push_back(event);
    wake();
}

void wake()
{
    app.woken = true;
}

} // namespace win32

void queue::push(Event event)
{
    win32::pushEvent(event);
}

} // namespace platform
