// Top-level windows, their menu bars and status bars, and the cursors.
//
// A window is a frame of the program's own window class; its client area is the
// client of window.h (the menu bar lies outside it, as Windows places it) and
// holds the controls and a status bar at its bottom edge. An owned window has
// its owner as the Windows owner: it stays above the owner and has no taskbar
// button. While it is shown its owner is disabled, as for a modal dialog box.
#include "platform/controls.h"
#include "platform/seam.h"
#include "platform/testing.h"
#include "platform/win32/internal.h"
#include "platform/window.h"

#include <commctrl.h>

#include <map>
#include <vector>

namespace platform {

namespace {

const wchar_t frameClass[] = L"ClimadeskWindow";

struct WindowRecord {
    HWND frame;
    int owner;
    int order;                // opening order: the highest is the innermost window
    int defaultButton = -1;   // the button Enter presses; -1: no dialog keys
    bool fixedSize;
    int hiddenShow = SW_SHOWNORMAL;
    Size minimum{0, 0};
    HWND lastFocus = nullptr;   // given back when the window is active again
};

struct StatusBarRecord {
    HWND bar;
    int window;
    std::vector<HWND> progress;   // per field; nullptr until a bar shows there
};

struct WindowState {
    std::map<int, WindowRecord> windows;
    std::map<int, std::pair<int, HMENU>> menuItems;   // item -> window, its menu
    std::map<int, StatusBarRecord> statusBars;
    int openings = 0;
    bool waitCursor = false;
};

WindowState state;

WindowRecord* find(int window)
{
    auto it = state.windows.find(window);
    return it == state.windows.end() ? nullptr : &it->second;
}

DWORD styleOf(unsigned style)
{
    DWORD s = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (style & StyleSizable)
        s |= WS_THICKFRAME;
    if (style & StyleMinimizeBox)
        s |= WS_MINIMIZEBOX;
    if (style & StyleMaximizeBox)
        s |= WS_MAXIMIZEBOX;
    return s;
}

// The frame size that gives `client` (the menu bar, however many rows it
// takes, comes on top).
Size frameSizeFor(HWND frame, Size client)
{
    RECT outer, inner;
    GetWindowRect(frame, &outer);
    GetClientRect(frame, &inner);
    return {client.width + (outer.right - outer.left) - inner.right,
            client.height + (outer.bottom - outer.top) - inner.bottom};
}

void fitFrame(HWND frame, Size client)
{
    Size size = frameSizeFor(frame, client);
    SetWindowPos(frame, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar may wrap into another row at the new width.
    Size again = frameSizeFor(frame, client);
    if (again.height != size.height)
        SetWindowPos(frame, nullptr, 0, 0, again.width, again.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void center(HWND frame)
{
    RECT area, r;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(frame, &r);
    int x = (area.left + area.right - (r.right - r.left)) / 2;
    int y = (area.top + area.bottom - (r.bottom - r.top)) / 2;
    SetWindowPos(frame, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The innermost open window that `window` owns, directly or through others;
// -1 when it owns none.
int innermostOwnedBy(int window)
{
    int found = -1, order = 0;
    for (auto& [id, record] : state.windows) {
        int owner = record.owner;
        while (owner != noOwner && owner != window) {
            WindowRecord* up = find(owner);
            owner = up ? up->owner : noOwner;
        }
        if (owner == window && record.order > order) {
            order = record.order;
            found = id;
        }
    }
    return found;
}

// Restored if minimised, raised and activated.
void bringBack(HWND frame)
{
    if (IsIconic(frame))
        ShowWindow(frame, SW_RESTORE);
    SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(frame);
    SetActiveWindow(frame);
}

void placeStatusBar(StatusBarRecord& status)
{
    SendMessageW(status.bar, WM_SIZE, 0, 0);
    for (size_t field = 0; field < status.progress.size(); ++field)
        if (status.progress[field]) {
            RECT r;
            SendMessageW(status.bar, SB_GETRECT, field, reinterpret_cast<LPARAM>(&r));
            MoveWindow(status.progress[field], r.left + 1, r.top + 1, r.right - r.left - 2, r.bottom - r.top - 2, TRUE);
        }
}

void placeStatusBarsOf(int window)
{
    for (auto& [id, status] : state.statusBars)
        if (status.window == window)
            placeStatusBar(status);
}

bool isMouseDown(UINT message)
{
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN
        || message == WM_NCLBUTTONDOWN || message == WM_NCRBUTTONDOWN;
}

bool cursorMessage(int window, HWND frame, WPARAM wParam, LPARAM lParam)
{
    if (state.waitCursor) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return true;
    }
    // A click on an owner that a window it owns has disabled brings that one
    // back, so that it never seems lost behind its owner.
    if (LOWORD(lParam) == static_cast<WORD>(HTERROR) && isMouseDown(HIWORD(lParam))) {
        int owned = innermostOwnedBy(window);
        if (owned >= 0) {
            bringBack(state.windows[owned].frame);
            return true;
        }
    }
    if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) != frame)
        if (HCURSOR cursor = win32::controlCursor(reinterpret_cast<HWND>(wParam))) {
            SetCursor(cursor);
            return true;
        }
    return false;
}

void minimumTrackSize(const WindowRecord& record, MINMAXINFO* info)
{
    if (record.minimum.width <= 0 && record.minimum.height <= 0)
        return;
    Size frame = frameSizeFor(record.frame, record.minimum);
    info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, frame.width);
    info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, frame.height);
}

void rememberFocus(WindowRecord& record)
{
    HWND focus = GetFocus();
    if (focus && IsChild(record.frame, focus))
        record.lastFocus = focus;
}

// The control that gets the focus in a window shown for the first time: the
// first one the Tab key reaches, as in a dialog box.
HWND firstTabStop(HWND frame)
{
    for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        LONG style = GetWindowLongW(child, GWL_STYLE);
        if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED))
            return child;
    }
    return nullptr;
}

// Lets the window system finish placing a hidden window (a menu bar changed
// its size) before it is shown: a late answer could otherwise undo the
// maximised state under X11.
void settle()
{
    MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    win32::pump();
}

// The window id a frame was created with (kept in its user data, plus one).
int idOfFrame(HWND frame)
{
    return static_cast<int>(GetWindowLongPtrW(frame, GWLP_USERDATA)) - 1;
}

LRESULT CALLBACK frameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    int window = idOfFrame(frame);
    WindowRecord* record = find(window);
    LRESULT result = 0;
    if (record && win32::controlMessage(window, message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_CLOSE:   // closing is the program's decision
        win32::pushEvent({EventKind::CloseRequest, window, 0});
        return 0;
    case WM_COMMAND:
        if (lParam == 0 && HIWORD(wParam) == 0) {
            win32::pushEvent({EventKind::Menu, window, LOWORD(wParam)});
            return 0;
        }
        break;
    case WM_SIZE:
        placeStatusBarsOf(window);
        break;
    case WM_GETMINMAXINFO:
        if (record)
            minimumTrackSize(*record, reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_SETCURSOR:
        if (cursorMessage(window, frame, wParam, lParam))
            return TRUE;
        break;
    case WM_ACTIVATE:
        if (!record)
            break;
        if (LOWORD(wParam) == WA_INACTIVE) {
            rememberFocus(*record);
            break;
        }
        if (!record->lastFocus || !IsWindow(record->lastFocus) || !IsChild(frame, record->lastFocus))
            record->lastFocus = firstTabStop(frame);
        if (!record->lastFocus)
            break;
        SetFocus(record->lastFocus);
        return 0;
    default: break;
    }
    return DefWindowProcW(frame, message, wParam, lParam);
}

// The text of a menu entry: "&" is a character, not a mnemonic.
std::wstring menuText(const std::string& text)
{
    std::wstring result;
    for (wchar_t c : win32::fromCp1252(text)) {
        if (c == L'&')
            result.push_back(L'&');
        result.push_back(c);
    }
    return result;
}

} // namespace

void openWindow(const WindowSpec& opening)
{
    if (find(opening.id))
        closeWindow(opening.id);
    WindowRecord* owner = opening.owner == noOwner ? nullptr : find(opening.owner);
    DWORD style = styleOf(opening.style);
    RECT r{0, 0, std::max(opening.clientSize.width, 0), std::max(opening.clientSize.height, 0)};
    AdjustWindowRectEx(&r, style, FALSE, 0);
    HWND frame = CreateWindowExW(0, frameClass, win32::fromCp1252(opening.title).c_str(), style, 0, 0,
                                 r.right - r.left, r.bottom - r.top, owner ? owner->frame : nullptr, nullptr,
                                 win32::instance(), reinterpret_cast<void*>(static_cast<intptr_t>(opening.id) + 1));
    if (!frame)
        return;
    state.windows[opening.id] = WindowRecord{frame, owner ? opening.owner : noOwner, ++state.openings, -1,
                                             (opening.style & StyleSizable) == 0};
    SendMessageW(frame, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(win32::programIcon(true)));
    SendMessageW(frame, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(win32::programIcon(false)));
    fitFrame(frame, opening.clientSize);
    if (opening.centered)
        center(frame);
}

void showWindow(int window, WindowShow how)
{
    WindowRecord* record = find(window);
    if (!record)
        return;
    if (WindowRecord* owner = find(record->owner)) {
        rememberFocus(*owner);   // disabling the owner takes its focus away
        EnableWindow(owner->frame, FALSE);
    }
    settle();
    // Windows takes the first show of a process from the way the process was
    // started (normal, as a rule): a second call gets the state asked for.
    switch (how) {
    case WindowShow::Normal: ShowWindow(record->frame, SW_SHOWNORMAL); break;
    case WindowShow::Maximized:
        ShowWindow(record->frame, SW_SHOWMAXIMIZED);
        if (!IsZoomed(record->frame))
            ShowWindow(record->frame, SW_SHOWMAXIMIZED);
        break;
    case WindowShow::Minimized:
        ShowWindow(record->frame, SW_SHOWMINIMIZED);
        if (!IsIconic(record->frame))
            ShowWindow(record->frame, SW_SHOWMINIMIZED);
        break;
    }
    // The control with the keyboard focus shows it from the start, not only
    // after the first key.
    SendMessageW(record->frame, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    UpdateWindow(record->frame);
}

void closeWindow(int window)
{
    WindowRecord* record = find(window);
    if (!record)
        return;
    std::vector<int> owned;
    for (auto& [id, other] : state.windows)
        if (other.owner == window)
            owned.push_back(id);
    for (int id : owned)
        closeWindow(id);
    record = find(window);
    // The owner takes input again before this window goes, so that Windows
    // activates it next.
    if (WindowRecord* owner = find(record->owner))
        EnableWindow(owner->frame, TRUE);
    win32::forgetControlsOf(window);
    std::erase_if(state.statusBars, [window](const auto& entry) { return entry.second.window == window; });
    std::erase_if(state.menuItems, [window](const auto& entry) { return entry.second.first == window; });
    HWND frame = record->frame;
    state.windows.erase(window);
    DestroyWindow(frame);
}

bool windowExists(int window)
{
    return find(window) != nullptr;
}

void setWindowTitle(int window, const std::string& title)
{
    if (WindowRecord* record = find(window))
        SetWindowTextW(record->frame, win32::fromCp1252(title).c_str());
}

std::string windowTitle(int window)
{
    WindowRecord* record = find(window);
    return record ? win32::toCp1252(win32::windowText(record->frame)) : std::string();
}

Size clientSize(int window)
{
    WindowRecord* record = find(window);
    if (!record || IsIconic(record->frame))
        return {0, 0};
    RECT r;
    GetClientRect(record->frame, &r);
    return {r.right, r.bottom};
}

void hideWindow(int window)
{
    if (WindowRecord* record = find(window)) {
        record->hiddenShow = IsIconic(record->frame) ? SW_SHOWMINIMIZED
            : IsZoomed(record->frame)                ? SW_SHOWMAXIMIZED
                                                     : SW_SHOWNORMAL;
        ShowWindow(record->frame, SW_HIDE);
    }
}

void showAgain(int window)
{
    if (WindowRecord* record = find(window))
        ShowWindow(record->frame, record->hiddenShow);
}

void setDialogKeys(int window, int defaultButton)
{
    WindowRecord* record = find(window);
    if (!record)
        return;
    record->defaultButton = defaultButton;
    // Windows draws the button Enter presses with a heavier border.
    HWND button = win32::controlHwnd(defaultButton);
    if (button && win32::isPushButton(button))
        SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void setMinimumClientSize(int window, Size client)
{
    if (WindowRecord* record = find(window))
        record->minimum = client;
}

void enableWindow(int window, bool enabled)
{
    if (WindowRecord* record = find(window))
        EnableWindow(record->frame, enabled ? TRUE : FALSE);
}

// The focus goes back to the control that had it, where there is one.
void focusWindow(int window)
{
    WindowRecord* record = find(window);
    if (!record)
        return;
    SetForegroundWindow(record->frame);
    SetActiveWindow(record->frame);
    if (record->lastFocus && IsWindow(record->lastFocus) && IsChild(record->frame, record->lastFocus))
        SetFocus(record->lastFocus);
    else
        SetFocus(record->frame);
}

void activateWindow(int window)
{
    if (WindowRecord* record = find(window))
        bringBack(record->frame);
}

// ----- Menu bar -----

bool createMenuBar(int window, const std::vector<MenuEntry>& entries)
{
    WindowRecord* record = find(window);
    if (!record)
        return false;
    Size client = clientSize(window);
    HMENU bar = CreateMenu();
    if (!bar)
        return false;
    HMENU menu = nullptr;
    for (const MenuEntry& entry : entries) {
        if (entry.kind == MenuEntry::Menu) {
            menu = CreatePopupMenu();
            AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu), menuText(entry.text).c_str());
        } else if (menu && entry.kind == MenuEntry::Separator) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else if (menu) {
            AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(entry.id), menuText(entry.text).c_str());
            state.menuItems[entry.id] = {window, menu};
        }
    }
    HMENU old = GetMenu(record->frame);
    if (!SetMenu(record->frame, bar)) {
        DestroyMenu(bar);
        return false;
    }
    if (old)
        DestroyMenu(old);
    fitFrame(record->frame, client);
    return true;
}

void enableMenuItem(int item, bool enabled)
{
    auto it = state.menuItems.find(item);
    if (it != state.menuItems.end())
        EnableMenuItem(it->second.second, static_cast<UINT>(item), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool menuItemEnabled(int item)
{
    auto it = state.menuItems.find(item);
    if (it == state.menuItems.end())
        return false;
    UINT flags = GetMenuState(it->second.second, static_cast<UINT>(item), MF_BYCOMMAND);
    return flags != static_cast<UINT>(-1) && (flags & (MF_GRAYED | MF_DISABLED)) == 0;
}

// ----- Status bar -----

void createStatusBar(int window, int id, const std::vector<int>& fieldWidths)
{
    WindowRecord* record = find(window);
    if (!record)
        return;
    DWORD style = WS_CHILD | WS_VISIBLE | (record->fixedSize ? 0 : SBARS_SIZEGRIP);
    HWND bar = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, style, 0, 0, 0, 0, record->frame, nullptr,
                               win32::instance(), nullptr);
    if (!bar)
        return;
    SendMessageW(bar, WM_SETFONT, reinterpret_cast<WPARAM>(win32::controlFont()), FALSE);
    std::vector<int> edges;
    int right = 0;
    for (int width : fieldWidths)
        edges.push_back(right += width);
    SendMessageW(bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    state.statusBars[id] = StatusBarRecord{bar, window, std::vector<HWND>(fieldWidths.size(), nullptr)};
    placeStatusBar(state.statusBars[id]);
}

int statusBarHeight(int id)
{
    auto it = state.statusBars.find(id);
    if (it == state.statusBars.end())
        return 0;
    RECT r;
    GetWindowRect(it->second.bar, &r);
    return r.bottom - r.top;
}

namespace {

StatusBarRecord* statusOf(int id, int field)
{
    auto it = state.statusBars.find(id);
    if (it == state.statusBars.end() || field < 0 || field >= static_cast<int>(it->second.progress.size()))
        return nullptr;
    return &it->second;
}

} // namespace

void setStatusText(int id, int field, const std::string& text)
{
    StatusBarRecord* status = statusOf(id, field);
    if (!status)
        return;
    if (HWND progress = status->progress[static_cast<size_t>(field)])
        ShowWindow(progress, SW_HIDE);
    SendMessageW(status->bar, SB_SETTEXTW, static_cast<WPARAM>(field), reinterpret_cast<LPARAM>(win32::fromCp1252(text).c_str()));
}

void setStatusProgress(int id, int field, int percent)
{
    StatusBarRecord* status = statusOf(id, field);
    if (!status)
        return;
    HWND& progress = status->progress[static_cast<size_t>(field)];
    if (!progress) {
        progress = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD, 0, 0, 0, 0, status->bar, nullptr,
                                   win32::instance(), nullptr);
        SendMessageW(progress, PBM_SETRANGE32, 0, 100);
        placeStatusBar(*status);
    }
    SendMessageW(status->bar, SB_SETTEXTW, static_cast<WPARAM>(field), reinterpret_cast<LPARAM>(L""));
    SendMessageW(progress, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    ShowWindow(progress, SW_SHOWNA);
    UpdateWindow(progress);
}

// ----- Cursors and the mouse -----

namespace {

bool cursorOverProgram()
{
    POINT p;
    if (!GetCursorPos(&p))
        return false;
    HWND under = WindowFromPoint(p);
    return under && win32::windowOfHwnd(under) >= 0;
}

} // namespace

void showWaitCursor(bool on)
{
    bool changed = on != state.waitCursor;
    state.waitCursor = on;
    if (changed && cursorOverProgram())
        SetCursor(LoadCursorW(nullptr, on ? IDC_WAIT : IDC_ARROW));
}

Point mousePosition(int window)
{
    if (testing::active())
        return seam::scriptedMouse(window);
    WindowRecord* record = find(window);
    POINT p;
    if (!record || !IsWindowVisible(record->frame) || !GetCursorPos(&p))
        return {-1, -1};
    ScreenToClient(record->frame, &p);
    RECT r;
    GetClientRect(record->frame, &r);
    if (!PtInRect(&r, p))
        return {-1, -1};
    return {p.x, p.y};
}

// ----- For the rest of the layer -----

namespace win32 {

void registerWindowClass()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = frameProc;
    wc.hInstance = instance();
    wc.hIcon = programIcon(true);
    wc.hIconSm = programIcon(false);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = frameClass;
    RegisterClassExW(&wc);
}

HWND frameOf(int window)
{
    WindowRecord* record = find(window);
    return record ? record->frame : nullptr;
}

int windowOfHwnd(HWND hwnd)
{
    HWND root = hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr;
    if (!root)
        return -1;
    int id = idOfFrame(root);
    WindowRecord* record = find(id);
    return record && record->frame == root ? id : -1;
}

int innermostWindow()
{
    int innermost = -1, order = 0;
    for (auto& [id, record] : state.windows)
        if (record.order > order) {
            order = record.order;
            innermost = id;
        }
    return innermost;
}

HWND dialogOwner()
{
    if (HWND frame = frameOf(innermostWindow()))
        return frame;
    return GetActiveWindow();
}

void closeAllWindows()
{
    while (!state.windows.empty())
        closeWindow(state.windows.begin()->first);
    state.menuItems.clear();
    state.statusBars.clear();
}

// Enter presses the push button with the focus, else the default button;
// Escape does what the close box does. An open drop-down list keeps both.
bool dialogKey(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE))
        return false;
    int window = windowOfHwnd(msg.hwnd);
    WindowRecord* record = find(window);
    if (!record || record->defaultButton < 0)
        return false;
    HWND focus = GetFocus();
    HWND combo = focus ? GetAncestor(focus, GA_PARENT) : nullptr;
    if ((focus && SendMessageW(focus, CB_GETDROPPEDSTATE, 0, 0)) || (combo && SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)))
        return false;
    if (msg.wParam == VK_ESCAPE) {
        pushEvent({EventKind::CloseRequest, window, 0});
        return true;
    }
    int control = focus && isPushButton(focus) && windowOfHwnd(focus) == window ? controlOfHwnd(focus) : -1;
    pushEvent({EventKind::Control, window, control >= 0 ? control : record->defaultButton});
    return true;
}

std::string statusFieldText(int id, int field)
{
    StatusBarRecord* status = statusOf(id, field);
    if (!status)
        return {};
    LRESULT length = SendMessageW(status->bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(field), 0);
    std::wstring text(static_cast<size_t>(LOWORD(length)) + 1, L'\0');
    SendMessageW(status->bar, SB_GETTEXTW, static_cast<WPARAM>(field), reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(length));
    return toCp1252(text);
}

int statusFieldProgress(int id, int field)
{
    StatusBarRecord* status = statusOf(id, field);
    HWND progress = status ? status->progress[static_cast<size_t>(field)] : nullptr;
    if (!progress || !(GetWindowLongW(progress, GWL_STYLE) & WS_VISIBLE))
        return -1;
    return static_cast<int>(SendMessageW(progress, PBM_GETPOS, 0, 0));
}

Rect statusFieldRect(int id, int field)
{
    StatusBarRecord* status = statusOf(id, field);
    if (!status)
        return {0, 0, 0, 0};
    RECT r;
    SendMessageW(status->bar, SB_GETRECT, static_cast<WPARAM>(field), reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(status->bar, GetParent(status->bar), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

bool waitCursorShown()
{
    return state.waitCursor;
}

void triggerMenuItem(int item)
{
    auto it = state.menuItems.find(item);
    if (it == state.menuItems.end() || !menuItemEnabled(item))
        return;
    if (HWND frame = frameOf(it->second.first))
        SendMessageW(frame, WM_COMMAND, MAKEWPARAM(item, 0), 0);
}

// The window system gives the window this client size, below any minimum.
void resizeClient(int window, Size client)
{
    WindowRecord* record = find(window);
    if (!record)
        return;
    if (IsZoomed(record->frame) || IsIconic(record->frame))
        ShowWindow(record->frame, SW_RESTORE);
    record->minimum = {0, 0};
    fitFrame(record->frame, client);
}

} // namespace win32

} // namespace platform
