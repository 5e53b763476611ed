// The test seam on Win32: acting as the user, and readers. The script, answers and
// records are the shared ones of platform/seam.cpp.
// Acting as the user sends the controls the messages Windows itself sends them.
#include "platform/testing.h"

#include "platform/controls.h"
#include "platform/file.h"
#include "platform/images.h"
#include "platform/seam.h"
#include "platform/win32/internal.h"
#include "platform/window.h"

#include <commctrl.h>


namespace platform::testing {

namespace {

// The notification a control sends its frame, as the control itself sends it.
void notify(HWND control, WORD code)
{
    SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
}

void notifyScroll(HWND control, WORD code, int position)
{
    SendMessageW(GetParent(control), WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(control));
}

bool usable(HWND control)
{
    return control && IsWindowEnabled(control);
}

// A message as the thread's queue would deliver it, through the layer's own
// handling first.
void deliver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg{hwnd, message, wParam, lParam, GetTickCount(), {0, 0}};
    win32::dispatch(msg);
}

UINT virtualKey(Key key)
{
    switch (key) {
    case Key::Left: return VK_LEFT;
    case Key::Right: return VK_RIGHT;
    case Key::Home: return VK_HOME;
    case Key::End: return VK_END;
    case Key::PageUp: return VK_PRIOR;
    case Key::PageDown: return VK_NEXT;
    case Key::Enter: return VK_RETURN;
    case Key::Escape: return VK_ESCAPE;
    case Key::Plus: return VK_ADD;
    case Key::Minus: return VK_SUBTRACT;
    case Key::F4: return VK_F4;
    }
    return 0;
}

// The control's focus as the user's key finds it (an address control hands it
// to one of its fields). Keys for a disabled control reach nothing, as a
// person's would not.
HWND focusOn(HWND control)
{
    if (!usable(control))
        return nullptr;
    SetFocus(control);
    HWND focus = GetFocus();
    return focus && (focus == control || IsChild(control, focus)) ? focus : control;
}

// Puts the scripted mouse where a pointer event at (x, y) of `control` happens.
void moveMouseTo(HWND control, int x, int y)
{
    int window = win32::windowOfHwnd(control);
    POINT p{x, y};
    MapWindowPoints(control, win32::frameOf(window), &p, 1);
    seam::setScriptedMouse(window, {p.x, p.y});
}

} // namespace

// ----- Acting as the user -----

// Push buttons, options and links all notify with code 0 (BN_CLICKED, STN_CLICKED).
void click(int control)
{
    HWND hwnd = win32::controlHwnd(control);
    if (usable(hwnd))
        notify(hwnd, BN_CLICKED);
}

void chooseMenu(int item)
{
    win32::triggerMenuItem(item);
}

void requestClose(int window)
{
    if (HWND frame = win32::frameOf(window))
        SendMessageW(frame, WM_CLOSE, 0, 0);
}

namespace {

// Sets the track bar `control` (its window `hwnd`) to `position`, as far as its
// range allows, and tells its frame with `code` when the position changed.
void setTrackBarTelling(int control, HWND hwnd, int position, WORD code)
{
    int before = trackBarPosition(control);
    SendMessageW(hwnd, TBM_SETPOS, TRUE, position);
    int now = trackBarPosition(control);
    if (now != before)
        notifyScroll(hwnd, code, now);
}

} // namespace

// As the mouse does it: the thumb moves (if it does) and is let go.
void moveTrackBar(int control, int position)
{
    HWND hwnd = win32::controlHwnd(control);
    if (!usable(hwnd))
        return;
    setTrackBarTelling(control, hwnd, position, TB_THUMBTRACK);
    notifyScroll(hwnd, TB_ENDTRACK, 0);
}

// As Windows' accessibility interface sets a track bar: the new position, and
// the frame told with TB_THUMBPOSITION when it changed.
void setValueAccessibly(int control, int value)
{
    HWND hwnd = win32::controlHwnd(control);
    if (!usable(hwnd) || !win32::isTrackBar(hwnd))
        return;
    setTrackBarTelling(control, hwnd, value, TB_THUMBPOSITION);
}

void dragScrollBar(int control, int position)
{
    if (usable(win32::controlHwnd(control)))
        win32::moveScrollBar(control, position);
}

void typeAddress(int control, const std::string& text)
{
    HWND hwnd = win32::controlHwnd(control);
    if (usable(hwnd) && controlVisible(control))
        win32::enterAddress(control, text);
}

void chooseDropDownEntry(int control, int index)
{
    if (usable(win32::controlHwnd(control)))
        win32::chooseEntry(control, index);
}

void resizeWindow(int window, Size client)
{
    win32::resizeClient(window, client);
}

void setMousePosition(int window, int x, int y)
{
    seam::setScriptedMouse(window, {x, y});
    win32::wake();
}

void sendKey(int control, Key key)
{
    HWND hwnd = win32::controlHwnd(control);
    if (!hwnd)
        return;
    HWND target = focusOn(hwnd);
    if (!target)
        return;
    UINT vk = virtualKey(key);
    UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    deliver(target, WM_KEYDOWN, vk, 1 | static_cast<LPARAM>(scan) << 16);
    deliver(GetFocus() ? GetFocus() : target, WM_KEYUP, vk, 1 | static_cast<LPARAM>(scan) << 16 | 3LL << 30);
}

void sendWheel(int control, int x, int y, int delta, unsigned modifiers, WheelAxis axis)
{
    HWND hwnd = win32::controlHwnd(control);
    if (!hwnd)
        return;
    moveMouseTo(hwnd, x, y);
    POINT screen{x, y};
    ClientToScreen(hwnd, &screen);
    WORD keys = static_cast<WORD>((modifiers & ModifierShift ? MK_SHIFT : 0) | (modifiers & ModifierControl ? MK_CONTROL : 0));
    // Windows counts a tilt to the right as positive.
    int sent = axis == WheelVertical ? delta : -delta;
    deliver(hwnd, axis == WheelVertical ? WM_MOUSEWHEEL : WM_MOUSEHWHEEL, MAKEWPARAM(keys, static_cast<short>(sent)),
            MAKELPARAM(screen.x, screen.y));
}

void sendMouse(int control, MouseStep step, int x, int y)
{
    HWND hwnd = win32::controlHwnd(control);
    if (!hwnd)
        return;
    moveMouseTo(hwnd, x, y);
    UINT message = step == MouseStep::Press ? WM_LBUTTONDOWN : step == MouseStep::Move ? WM_MOUSEMOVE : WM_LBUTTONUP;
    deliver(hwnd, message, step == MouseStep::Release ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
}

void typeText(int control, const std::string& text)
{
    HWND hwnd = win32::controlHwnd(control);
    if (!hwnd || !focusOn(hwnd))
        return;
    for (wchar_t c : win32::fromCp1252(text)) {
        HWND target = GetFocus() ? GetFocus() : hwnd;
        deliver(target, WM_CHAR, c, 1);
    }
}

// Only an edit control has a text to select; an address control's fields are
// typed into as they stand.
void retypeText(int control, const std::string& text)
{
    HWND hwnd = win32::controlHwnd(control);
    wchar_t className[8] = {};
    if (hwnd && GetClassNameW(hwnd, className, 8) && lstrcmpiW(className, L"Edit") == 0) {
        focusOn(hwnd);
        SendMessageW(hwnd, EM_SETSEL, 0, -1);
    }
    typeText(control, text);
}

void pumpFor(int ms)
{
    DWORD start = GetTickCount();
    for (DWORD elapsed = 0; elapsed < static_cast<DWORD>(ms); elapsed = GetTickCount() - start) {
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(ms) - elapsed, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        win32::pump();
    }
}

unsigned long long nativeWindowId(int window)
{
    return reinterpret_cast<uintptr_t>(win32::frameOf(window));
}

// The focus may sit in a part of a control (a field of an address control).
int focusedControl()
{
    HWND focus = GetFocus();
    int control = win32::controlOfHwnd(focus);
    return control >= 0 || !focus ? control : win32::controlOfHwnd(GetParent(focus));
}

bool focusShown()
{
    HWND focus = GetFocus();
    return focus && (SendMessageW(focus, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
}

int openDropDownRows(int control)
{
    return win32::shownRows(control);
}

OpenList openList(int control)
{
    OpenList shown{-1, -1, -1};
    if (!win32::openRows(control, shown.highlighted, shown.first, shown.last))
        return {-1, -1, -1};
    return shown;
}

// ----- Readers -----

namespace {

std::wstring itemText(HWND list, int row, int column)
{
    std::vector<wchar_t> buffer(1024, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer.data();
}

int columnCount(HWND list)
{
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

} // namespace

std::vector<std::string> listRows(int control)
{
    std::vector<std::string> rows;
    HWND list = win32::controlHwnd(control);
    if (!list)
        return rows;
    int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        LVITEMW given{};
        given.mask = LVIF_PARAM;
        given.iItem = row;
        SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&given));
        int columns = std::min(static_cast<int>(given.lParam), columnCount(list));
        std::wstring cells;
        for (int column = 0; column < columns; ++column)
            cells += (column ? L"\n" : L"") + itemText(list, row, column);
        rows.push_back(win32::toCp1252(cells));
    }
    return rows;
}

std::vector<std::string> listColumnTitles(int control)
{
    std::vector<std::string> titles;
    HWND list = win32::controlHwnd(control);
    if (!list)
        return titles;
    for (int column = 0; column < columnCount(list); ++column) {
        std::vector<wchar_t> buffer(256, L'\0');
        LVCOLUMNW info{};
        info.mask = LVCF_TEXT;
        info.pszText = buffer.data();
        info.cchTextMax = static_cast<int>(buffer.size());
        SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
        titles.push_back(win32::toCp1252(buffer.data()));
    }
    return titles;
}

std::vector<std::string> dropDownEntries(int control)
{
    return win32::dropDownTexts(control);
}

std::string statusText(int statusBar, int field)
{
    return win32::statusFieldText(statusBar, field);
}

int statusProgress(int statusBar, int field)
{
    return win32::statusFieldProgress(statusBar, field);
}

ScrollInfo scrollInfo(int control)
{
    win32::ScrollSettings s = win32::scrollSettings(control);
    return {s.minimum, s.maximum, s.page, s.position};
}

std::string accessibleName(int control)
{
    return win32::accessibleNameOf(control);
}

std::string windowAccessibleName(int window)
{
    return windowTitle(window);
}

bool windowVisible(int window)
{
    HWND frame = win32::frameOf(window);
    return frame && IsWindowVisible(frame);
}

bool windowEnabled(int window)
{
    HWND frame = win32::frameOf(window);
    return frame && IsWindowEnabled(frame);
}

bool waitCursorShown()
{
    return win32::waitCursorShown();
}

bool hasIcon(int window)
{
    HWND frame = win32::frameOf(window);
    return frame && SendMessageW(frame, WM_GETICON, ICON_BIG, 0) != 0;
}

bool saveImagePng(int image, const std::string& path)
{
    return writeImagePng(image, path);
}

bool loadImagePng(int image, const std::string& path)
{
    freeImage(image);
    std::string bytes;
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    if (!readFile(path, bytes) || !win32::decodePng(bytes, pixels, width, height))
        return false;
    createImage(image, width, height);
    std::optional<win32::Canvas> c = win32::canvasOf(image);
    if (!c)
        return false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            c->bits[y * c->stride + x] = pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF;
    return true;
}

namespace {

// What the screen shows of the window `frame` in `area` (window coordinates of
// GetWindowDC when `whole`, else client coordinates), into image `image`.
bool grab(HWND frame, bool whole, int image)
{
    RedrawWindow(frame, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT r;
    if (whole) {
        GetWindowRect(frame, &r);
        OffsetRect(&r, -r.left, -r.top);
    } else {
        GetClientRect(frame, &r);
    }
    createImage(image, r.right, r.bottom);
    HDC source = whole ? GetWindowDC(frame) : GetDC(frame);
    HDC target = win32::imageDc(image);
    bool ok = source && target && BitBlt(target, 0, 0, r.right, r.bottom, source, 0, 0, SRCCOPY);
    ReleaseDC(frame, source);
    GdiFlush();
    return ok;
}

constexpr int scratchImage = -1000;   // an id the program never uses

} // namespace

bool saveWindowPng(int window, const std::string& path)
{
    HWND frame = win32::frameOf(window);
    bool ok = frame && grab(frame, true, scratchImage) && writeImagePng(scratchImage, path);
    freeImage(scratchImage);
    return ok;
}

void grabClient(int window, int image)
{
    if (HWND frame = win32::frameOf(window)) {
        freeImage(image);
        grab(frame, false, image);
    }
}

Rect statusFieldRect(int statusBar, int field)
{
    return win32::statusFieldRect(statusBar, field);
}

} // namespace platform::testing
