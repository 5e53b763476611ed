// Drop-down lists whose entries are made on demand.
//
// A combo box must hold every entry as an item, and adding a million items takes
// minutes. So the closed list is a combo box of one owner-drawn item that shows
// the selected entry, and the open list is a virtual list view (it asks for the
// text of each row it draws) in a pop-up below it, at most 20 rows high. The
// keyboard stays with the combo box, as with the list Windows opens: arrows,
// Enter, Escape, F4 and typing the start of an entry, which selects it.
#include "platform/controls.h"
#include "platform/win32/internal.h"

#include <commctrl.h>

#include <algorithm>
#include <cwctype>
#include <map>

namespace platform {

namespace {

constexpr int maxShownEntries = 20;    // rows of an open list
constexpr DWORD typeAheadPause = 1000; // milliseconds after which typing starts anew
const wchar_t popupClass[] = L"ClimadeskDropList";

struct DropList {
    int window = -1, id = -1;
    int count = 0;
    int selected = -1;
    std::function<std::string(int)> entryText;
    HWND popup = nullptr;   // the open list: a pop-up window holding a list view
    HWND list = nullptr;
    std::wstring shown;     // the text of the row the list view asked for last
    std::wstring typed;     // the start of an entry typed so far
    DWORD typedAt = 0;
    int firstMatch = 0;     // no entry before it begins with `typed`; -1: none does
};

std::map<HWND, DropList> lists;   // by combo box
bool popupClassRegistered = false;

DropList* listOfCombo(HWND combo)
{
    auto it = lists.find(combo);
    return it == lists.end() ? nullptr : &it->second;
}

DropList* listOfId(int id)
{
    HWND combo = win32::controlHwnd(id);
    return combo ? listOfCombo(combo) : nullptr;
}

HWND comboOf(const DropList& list)
{
    return win32::controlHwnd(list.id);
}

std::wstring entry(const DropList& list, int index)
{
    return list.entryText && index >= 0 && index < list.count ? win32::fromCp1252(list.entryText(index)) : std::wstring();
}

// The closed list shows its one item when an entry is selected, none otherwise.
void showSelection(DropList& list)
{
    HWND combo = comboOf(list);
    SendMessageW(combo, CB_SETCURSEL, list.selected >= 0 ? 0 : static_cast<WPARAM>(-1), 0);
    InvalidateRect(combo, nullptr, FALSE);
}

void select(DropList& list, int index, bool byUser)
{
    index = index >= 0 && index < list.count ? index : -1;
    bool changed = index != list.selected;
    list.selected = index;
    showSelection(list);
    if (byUser && changed)
        win32::pushEvent({EventKind::Control, list.window, list.id});
}

bool isOpen(const DropList& list)
{
    return list.popup && IsWindowVisible(list.popup);
}

int highlighted(const DropList& list)
{
    return static_cast<int>(SendMessageW(list.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void highlight(DropList& list, int index)
{
    index = std::clamp(index, 0, std::max(list.count - 1, 0));
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list.list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
    SendMessageW(list.list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

void close(DropList& list)
{
    if (isOpen(list))
        ShowWindow(list.popup, SW_HIDE);
}

// A choice in the open list is an event even when it is the entry selected
// already, as it is in the list Windows opens.
void choose(DropList& list, int index)
{
    close(list);
    if (index < 0 || index >= list.count)
        return;
    list.selected = index;
    showSelection(list);
    win32::pushEvent({EventKind::Control, list.window, list.id});
}

LRESULT notification(DropList& list, NMHDR& header)
{
    switch (header.code) {
    case LVN_GETDISPINFOW: {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
        if (item.mask & LVIF_TEXT) {
            list.shown = entry(list, item.iItem);
            item.pszText = list.shown.data();
        }
        return 0;
    }
    case NM_CLICK: {
        auto& click = reinterpret_cast<NMITEMACTIVATE&>(header);
        if (click.iItem >= 0)
            choose(list, click.iItem);
        return 0;
    }
    default: return 0;
    }
}

LRESULT CALLBACK popupProc(HWND popup, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;   // the window and its combo box keep the focus
    case WM_NOTIFY:
        for (auto& [combo, list] : lists)
            if (list.popup == popup)
                return notification(list, *reinterpret_cast<NMHDR*>(lParam));
        return 0;
    default: return DefWindowProcW(popup, message, wParam, lParam);
    }
}

void registerPopup()
{
    if (popupClassRegistered)
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DROPSHADOW;
    wc.lpfnWndProc = popupProc;
    wc.hInstance = win32::instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = popupClass;
    RegisterClassExW(&wc);
    popupClassRegistered = true;
}

// The list view never takes the focus: a click chooses, the keys stay with
// the combo box.
LRESULT CALLBACK listProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_MOUSEACTIVATE)
        return MA_NOACTIVATE;
    if (message == WM_SETFOCUS && wParam)
        SetFocus(reinterpret_cast<HWND>(wParam));
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

void makePopup(DropList& list, HWND combo)
{
    registerPopup();
    list.popup = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, popupClass, nullptr, WS_POPUP | WS_BORDER, 0, 0, 0, 0,
                                 GetAncestor(combo, GA_ROOT), nullptr, win32::instance(), nullptr);
    list.list = CreateWindowExW(0, WC_LISTVIEWW, nullptr,
                                WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_NOCOLUMNHEADER | LVS_SINGLESEL
                                    | LVS_SHOWSELALWAYS,
                                0, 0, 0, 0, list.popup, nullptr, win32::instance(), nullptr);
    SendMessageW(list.list, WM_SETFONT, reinterpret_cast<WPARAM>(win32::controlFont()), FALSE);
    SendMessageW(list.list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    SendMessageW(list.list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    SetWindowSubclass(list.list, listProc, 0, 0);
}

// Opens the list below the combo box (above it where the screen ends), as
// wide as the box and at most 20 rows high.
void open(DropList& list)
{
    HWND combo = comboOf(list);
    if (!list.popup)
        makePopup(list, combo);
    SendMessageW(list.list, LVM_SETITEMCOUNT, static_cast<WPARAM>(list.count), LVSICF_NOINVALIDATEALL);
    RECT box;
    GetWindowRect(combo, &box);
    int width = box.right - box.left;
    int rows = std::clamp(list.count, 1, maxShownEntries);
    DWORD view = static_cast<DWORD>(SendMessageW(list.list, LVM_APPROXIMATEVIEWRECT, static_cast<WPARAM>(rows), MAKELPARAM(-1, -1)));
    int height = HIWORD(view) + 2 * GetSystemMetrics(SM_CYBORDER);
    int inner = width - 2 * GetSystemMetrics(SM_CXBORDER);
    SendMessageW(list.list, LVM_SETCOLUMNWIDTH, 0, inner - (list.count > maxShownEntries ? GetSystemMetrics(SM_CXVSCROLL) : 0));
    MoveWindow(list.list, 0, 0, inner, HIWORD(view), FALSE);
    RECT screen;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    int top = box.bottom + height <= screen.bottom ? box.bottom : box.top - height;
    SetWindowPos(list.popup, HWND_TOPMOST, box.left, top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (list.count > 0)
        highlight(list, std::max(list.selected, 0));
}

// Letters A to Z in either case, as a person types them.
bool startsWith(const std::wstring& text, const std::wstring& start)
{
    if (text.size() < start.size())
        return false;
    for (size_t i = 0; i < start.size(); ++i)
        if (std::towupper(text[i]) != std::towupper(start[i]))
            return false;
    return true;
}

// Characters typed with pauses of less than a second make one text, and the
// first entry that begins with all of it is selected, unless the selected entry
// (the highlighted one in the open list) begins with it already. An entry that
// begins with the longer text begins with the shorter too, so the search goes
// on from where the last one stopped; only the entries it passes are made.
void typeAhead(DropList& list, wchar_t c)
{
    DWORD now = GetTickCount();
    if (list.typed.empty() || now - list.typedAt >= typeAheadPause) {
        list.typed.clear();
        list.firstMatch = 0;
    }
    list.typedAt = now;
    list.typed.push_back(c);
    while (list.firstMatch >= 0 && list.firstMatch < list.count && !startsWith(entry(list, list.firstMatch), list.typed))
        ++list.firstMatch;
    if (list.firstMatch >= list.count)
        list.firstMatch = -1;
    int current = isOpen(list) ? highlighted(list) : list.selected;
    if (list.firstMatch < 0 || (current >= 0 && startsWith(entry(list, current), list.typed)))
        return;
    list.selected = list.firstMatch;
    showSelection(list);
    if (isOpen(list))
        highlight(list, list.firstMatch);
    win32::pushEvent({EventKind::Control, list.window, list.id});
}

// A key on the open list moves its highlight; on the closed one the selection.
bool key(DropList& list, WPARAM vk)
{
    bool opened = isOpen(list);
    int current = opened ? highlighted(list) : list.selected;
    int target;
    switch (vk) {
    case VK_UP: target = current - 1; break;
    case VK_DOWN: target = current + 1; break;
    case VK_PRIOR: target = current - (maxShownEntries - 1); break;
    case VK_NEXT: target = current + (maxShownEntries - 1); break;
    case VK_HOME: target = 0; break;
    case VK_END: target = list.count - 1; break;
    case VK_F4:
        if (opened)
            close(list);
        else
            open(list);
        return true;
    case VK_RETURN:
        if (!opened)
            return false;
        choose(list, highlighted(list));
        return true;
    case VK_ESCAPE:
        if (!opened)
            return false;
        close(list);
        return true;
    default: return false;
    }
    if (list.count <= 0)
        return true;
    target = std::clamp(target, 0, list.count - 1);
    if (opened)
        highlight(list, target);
    else
        select(list, target, true);
    return true;
}

LRESULT CALLBACK comboProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    DropList* list = listOfCombo(combo);
    if (!list)
        return DefSubclassProc(combo, message, wParam, lParam);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetFocus(combo);
        if (isOpen(*list))
            close(*list);
        else
            open(*list);
        return 0;
    case WM_KEYDOWN:
        if (key(*list, wParam))
            return 0;
        break;
    case WM_SYSKEYDOWN:   // Alt+Down and Alt+Up open and close the list
        if (wParam == VK_DOWN || wParam == VK_UP) {
            key(*list, VK_F4);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam >= L' ') {
            typeAhead(*list, static_cast<wchar_t>(wParam));
            return 0;
        }
        break;
    case WM_MOUSEWHEEL:
        if (isOpen(*list))
            return SendMessageW(list->list, message, wParam, lParam);
        key(*list, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? VK_UP : VK_DOWN);
        return 0;
    case WM_KILLFOCUS: close(*list); break;
    case CB_GETDROPPEDSTATE: return isOpen(*list);
    case CB_SHOWDROPDOWN:
        if (wParam)
            open(*list);
        else
            close(*list);
        return TRUE;
    case WM_NCDESTROY: {
        HWND popup = list->popup;
        lists.erase(combo);
        if (popup)
            DestroyWindow(popup);
        break;
    }
    default: break;
    }
    return DefSubclassProc(combo, message, wParam, lParam);
}

int entryHeight()
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, win32::controlFont());
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight + 2;
}

} // namespace

void setDropDownEntries(int id, int count, std::function<std::string(int index)> entryText)
{
    DropList* list = listOfId(id);
    if (!list)
        return;
    close(*list);
    list->count = std::max(count, 0);
    list->entryText = std::move(entryText);
    list->selected = -1;
    list->typed.clear();
    HWND combo = comboOf(*list);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    if (list->count > 0)
        SendMessageW(combo, CB_ADDSTRING, 0, 0);
    showSelection(*list);
}

void selectDropDownEntry(int id, int index)
{
    if (DropList* list = listOfId(id))
        select(*list, index, false);
}

int selectedDropDownEntry(int id)
{
    DropList* list = listOfId(id);
    return list ? list->selected : -1;
}

namespace win32 {

void makeDropDown(HWND combo, int window, int id)
{
    DropList list;
    list.window = window;
    list.id = id;
    lists[combo] = std::move(list);
    SetWindowSubclass(combo, comboProc, 0, 0);
}

bool measureDropDown(MEASUREITEMSTRUCT& item)
{
    if (item.CtlType != ODT_COMBOBOX)
        return false;
    item.itemHeight = static_cast<UINT>(entryHeight());
    return true;
}

bool drawDropDown(const DRAWITEMSTRUCT& item)
{
    DropList* list = item.CtlType == ODT_COMBOBOX ? listOfCombo(item.hwndItem) : nullptr;
    if (!list)
        return false;
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    bool disabled = (item.itemState & ODS_DISABLED) != 0;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID != static_cast<UINT>(-1)) {
        std::wstring text = entry(*list, list->selected);
        SetBkMode(item.hDC, TRANSPARENT);
        SetTextColor(item.hDC, GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT r = item.rcItem;
        r.left += 2;
        DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
        DrawFocusRect(item.hDC, &item.rcItem);
    return true;
}

void chooseEntry(int id, int index)
{
    if (DropList* list = listOfId(id))
        choose(*list, index);
}

std::vector<std::string> dropDownTexts(int id)
{
    std::vector<std::string> texts;
    DropList* list = listOfId(id);
    if (list && list->entryText)
        for (int i = 0; i < list->count; ++i)
            texts.push_back(list->entryText(i));
    return texts;
}

int shownRows(int id)
{
    DropList* list = listOfId(id);
    if (!list)
        return 0;
    open(*list);
    RECT view, row{LVIR_BOUNDS, 0, 0, 0};
    GetClientRect(list->list, &view);
    SendMessageW(list->list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    close(*list);
    int height = row.bottom - row.top;
    return height > 0 ? view.bottom / height : 0;
}

bool openRows(int id, int& shown, int& first, int& last)
{
    DropList* list = listOfId(id);
    if (!list || !isOpen(*list))
        return false;
    shown = highlighted(*list);
    first = static_cast<int>(SendMessageW(list->list, LVM_GETTOPINDEX, 0, 0));
    int rows = static_cast<int>(SendMessageW(list->list, LVM_GETCOUNTPERPAGE, 0, 0));
    last = std::min(first + std::max(rows, 1), list->count) - 1;
    return true;
}

} // namespace win32

} // namespace platform
