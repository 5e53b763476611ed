// Controls by identifier, on the standard and common controls of Windows placed
// at client coordinates of their frame. Their notifications reach the frame's
// window procedure, which hands them to controlMessage below.
#include "platform/controls.h"
#include "platform/images.h"
#include "platform/seam.h"
#include "platform/testing.h"
#include "platform/win32/internal.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

namespace platform {

namespace {

const wchar_t imageViewClass[] = L"ClimadeskImage";

enum class Kind { Frame, Text, Button, Option, CheckBox, TrackBar, ScrollBar, ImageView, List, DropDown, Address, Number, Link };

// What a track bar has told of the user's action under way: each action ends
// with TB_ENDTRACK, and losing the mouse capture sends one more.
struct TrackAction {
    bool dragged = false;       // the handle was dragged, or clicked
    bool raised = false;        // an event was raised for it already
    bool losingCapture = false; // the extra TB_ENDTRACK is under way
};

struct ControlRecord {
    HWND hwnd;
    int window;
    Kind kind;
    int group = 0;                  // options
    int scrollMaximum = 0;          // the scroll bar's range as the program set it
    int scrollPage = 0;
    int image = -1;                 // image display: the image it shows
    HBITMAP buttonBitmap = nullptr; // image button: its own copy of the picture
    bool hover = false;             // link under the mouse
    bool settingAddress = false;    // the program's own change of an address
    TrackAction track;              // track bar: the user's action under way
    std::string accessibleName;
};

struct ControlState {
    std::map<int, ControlRecord> controls;
    ScrollHook scrollHook = nullptr;
    bool imageClassRegistered = false;
};

ControlState state;

ControlRecord* find(int id)
{
    auto it = state.controls.find(id);
    return it == state.controls.end() ? nullptr : &it->second;
}

ControlRecord* find(int id, Kind kind)
{
    ControlRecord* record = find(id);
    return record && record->kind == kind ? record : nullptr;
}

// The check of an option or a check box, both BUTTON controls.
void setButtonChecked(int id, Kind kind, bool checked)
{
    if (ControlRecord* record = find(id, kind))
        SendMessageW(record->hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool buttonChecked(int id, Kind kind)
{
    ControlRecord* record = find(id, kind);
    return record && SendMessageW(record->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

ControlRecord* recordOf(HWND hwnd)
{
    for (auto& [id, record] : state.controls)
        if (record.hwnd == hwnd)
            return &record;
    return nullptr;
}

int idOf(const ControlRecord& record)
{
    for (auto& [id, other] : state.controls)
        if (&other == &record)
            return id;
    return -1;
}

void releaseRecord(ControlRecord& record)
{
    if (record.buttonBitmap)
        DeleteObject(record.buttonBitmap);
    record.buttonBitmap = nullptr;
}

// ----- The image display: paints the pixels of its image as they are -----

LRESULT CALLBACK imageViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        ControlRecord* record = recordOf(hwnd);
        HDC source = record ? win32::imageDc(record->image) : nullptr;
        if (source) {
            Size size = imageSize(record->image);
            BitBlt(dc, 0, 0, size.width, size.height, source, 0, 0, SRCCOPY);
        }
        EndPaint(hwnd, &paint);
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return 1;   // the picture covers it: no flicker
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void registerImageView()
{
    if (state.imageClassRegistered)
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = imageViewProc;
    wc.hInstance = win32::instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = imageViewClass;
    RegisterClassExW(&wc);
    state.imageClassRegistered = true;
}

// ----- Link and drop-down behaviour beyond the standard controls -----

LRESULT CALLBACK linkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    ControlRecord* record = message == WM_MOUSEMOVE || message == WM_MOUSELEAVE ? recordOf(hwnd) : nullptr;
    if (record) {
        bool over = message == WM_MOUSEMOVE;
        if (over && !record->hover) {
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hwnd, 0};
            TrackMouseEvent(&track);
        }
        if (over != record->hover) {
            record->hover = over;
            InvalidateRect(hwnd, nullptr, TRUE);
        }
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// An address field refuses, with a beep, a character that cannot make an
// address: anything but digits and dots, and a digit that would make a number
// above 255. The control itself moves on at a dot.
LRESULT CALLBACK addressPartProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_CHAR && wParam >= L' ' && wParam != L'.') {
        std::wstring part = win32::windowText(edit);
        DWORD from = 0, to = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        part.replace(std::min<size_t>(from, part.size()), to > from ? to - from : 0, 1, static_cast<wchar_t>(wParam));
        bool digit = wParam >= L'0' && wParam <= L'9';
        if (!digit || part.size() > 3 || std::stoi(part) > 255) {
            win32::beep();
            return 0;
        }
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

// What a number field may hold on the way to a number: a leading minus, up to
// five digits, and a point (or the comma that becomes it) with one digit after it.
bool numberForm(const std::wstring& text)
{
    auto digit = [&text](size_t i) { return i < text.size() && text[i] >= L'0' && text[i] <= L'9'; };
    size_t i = !text.empty() && text[0] == L'-' ? 1 : 0;
    for (int digits = 0; digits < 5 && digit(i); ++digits)
        ++i;
    if (i < text.size() && (text[i] == L'.' || text[i] == L','))
        i += digit(i + 1) ? 2 : 1;
    return i == text.size();
}

bool editsText(UINT message, WPARAM wParam)
{
    return message == WM_CHAR || message == WM_PASTE || message == WM_CUT || message == WM_CLEAR || message == WM_UNDO
        || message == EM_UNDO || (message == WM_KEYDOWN && wParam == VK_DELETE);
}

// A number field lets the edit control make each change, then judges what it
// left: a text that cannot become such a number is taken back with a beep, and
// a comma becomes the point the program writes in every locale.
LRESULT CALLBACK numberFieldProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (!editsText(message, wParam))
        return DefSubclassProc(edit, message, wParam, lParam);
    std::wstring before = win32::windowText(edit);
    DWORD from = 0, to = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
    std::wstring after = win32::windowText(edit);
    if (after == before)
        return result;
    if (!numberForm(after)) {
        SetWindowTextW(edit, before.c_str());
        SendMessageW(edit, EM_SETSEL, from, to);
        win32::beep();
    } else if (after.find(L',') != std::wstring::npos) {
        std::replace(after.begin(), after.end(), L',', L'.');
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        SetWindowTextW(edit, after.c_str());
        SendMessageW(edit, EM_SETSEL, from, to);
    }
    return result;
}

BOOL CALLBACK guardAddressPart(HWND edit, LPARAM)
{
    SetWindowSubclass(edit, addressPartProc, 0, 0);
    return TRUE;
}

// The address control selects its first field whenever it takes the focus.
// When the focus comes back with its window (activation), the caret stands at
// the end of the field instead, as in any other edit field; a Tab still
// selects.
LRESULT CALLBACK addressFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message != WM_SETFOCUS)
        return DefSubclassProc(field, message, wParam, lParam);
    HWND before = reinterpret_cast<HWND>(wParam);
    bool fromWindow = before && GetAncestor(before, GA_ROOT) == GetAncestor(field, GA_ROOT);
    LRESULT result = DefSubclassProc(field, message, wParam, lParam);
    HWND part = GetFocus();
    if (!fromWindow && part && IsChild(field, part)) {
        LRESULT end = GetWindowTextLengthW(part);
        SendMessageW(part, EM_SETSEL, static_cast<WPARAM>(end), end);
    }
    return result;
}

// The four edit fields of an address control, left to right.
std::vector<HWND> addressParts(HWND field)
{
    std::vector<HWND> parts;
    for (HWND edit = FindWindowExW(field, nullptr, L"Edit", nullptr); edit; edit = FindWindowExW(field, edit, L"Edit", nullptr))
        parts.push_back(edit);
    std::sort(parts.begin(), parts.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    return parts;
}

// ----- Creating controls -----

// Frames lie behind every control: a new child window goes to the bottom of
// its siblings, and one below a frame would be hidden by it.
void lowerFramesOf(int window)
{
    for (auto& [id, record] : state.controls)
        if (record.kind == Kind::Frame && record.window == window)
            SetWindowPos(record.hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// A frame paints the window's background inside it too: the window leaves its
// controls out of its own erase, so that the graph never flickers.
LRESULT CALLBACK frameBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// A track bar that loses the mouse capture ends the action once more.
LRESULT CALLBACK trackBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    ControlRecord* record = message == WM_CAPTURECHANGED ? recordOf(hwnd) : nullptr;
    if (!record)
        return DefSubclassProc(hwnd, message, wParam, lParam);
    record->track.losingCapture = true;
    LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    record->track.losingCapture = false;
    return result;
}

// Places a new control and registers it under `id`, replacing an old one.
ControlRecord* place(int window, int id, Kind kind, const wchar_t* className, DWORD style, DWORD exStyle, Rect r,
                     const std::wstring& text = std::wstring())
{
    if (ControlRecord* old = find(id)) {
        releaseRecord(*old);
        DestroyWindow(old->hwnd);
        state.controls.erase(id);
    }
    HWND frame = win32::frameOf(window);
    if (!frame)
        return nullptr;
    HWND hwnd = CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
                                r.x, r.y, r.width, r.height, frame, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)),
                                win32::instance(), nullptr);
    if (!hwnd)
        return nullptr;
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(kind == Kind::Link ? win32::linkFont() : win32::controlFont()), FALSE);
    ControlRecord& record = state.controls[id];
    record = ControlRecord{};
    record.hwnd = hwnd;
    record.window = window;
    record.kind = kind;
    lowerFramesOf(window);
    return &record;
}

DWORD alignmentOf(Align align)
{
    switch (align) {
    case Align::Left: return SS_LEFT;
    case Align::Right: return SS_RIGHT;
    case Align::Center: return SS_CENTER;
    }
    return SS_LEFT;
}

// Button captions: "&" is a character, not a mnemonic.
std::wstring captionOf(const std::string& text)
{
    std::wstring result;
    for (wchar_t c : win32::multiLine(text)) {
        if (c == L'&')
            result.push_back(L'&');
        result.push_back(c);
    }
    return result;
}

std::wstring withoutMnemonics(const std::wstring& caption)
{
    std::wstring result;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size() && caption[i + 1] == L'&')
            ++i;
        result.push_back(caption[i]);
    }
    return result;
}

bool hasCaption(Kind kind)
{
    return kind == Kind::Button || kind == Kind::Option || kind == Kind::CheckBox || kind == Kind::Frame;
}

std::string addressText(uint32_t address)
{
    return std::to_string(address & 0xFF) + "." + std::to_string(address >> 8 & 0xFF) + "."
        + std::to_string(address >> 16 & 0xFF) + "." + std::to_string(address >> 24 & 0xFF);
}

// The program keeps the first octet in the low byte; the control in the high one.
DWORD toControlAddress(uint32_t address)
{
    return MAKEIPADDRESS(address & 0xFF, address >> 8 & 0xFF, address >> 16 & 0xFF, address >> 24 & 0xFF);
}

uint32_t fromControlAddress(DWORD value)
{
    return static_cast<uint32_t>(FIRST_IPADDRESS(value)) | static_cast<uint32_t>(SECOND_IPADDRESS(value)) << 8
        | static_cast<uint32_t>(THIRD_IPADDRESS(value)) << 16 | static_cast<uint32_t>(FOURTH_IPADDRESS(value)) << 24;
}

// ----- Notifications -----

void checkOption(ControlRecord& chosen)
{
    for (auto& [id, record] : state.controls)
        if (record.kind == Kind::Option && record.window == chosen.window && record.group == chosen.group)
            SendMessageW(record.hwnd, BM_SETCHECK, &record == &chosen ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool commandMessage(int window, WPARAM wParam, LPARAM lParam)
{
    ControlRecord* record = recordOf(reinterpret_cast<HWND>(lParam));
    if (!record || record->window != window)
        return false;
    int id = idOf(*record);
    WORD code = HIWORD(wParam);
    bool raise = false;
    switch (record->kind) {
    case Kind::Button: raise = code == BN_CLICKED; break;
    case Kind::Option:
        raise = code == BN_CLICKED;
        if (raise)
            checkOption(*record);
        break;
    case Kind::CheckBox:
        raise = code == BN_CLICKED;
        if (raise)
            SendMessageW(record->hwnd, BM_SETCHECK, checkBoxChecked(id) ? BST_UNCHECKED : BST_CHECKED, 0);
        break;
    case Kind::Link: raise = code == STN_CLICKED; break;
    case Kind::Address: raise = code == EN_CHANGE && !record->settingAddress; break;
    default: break;
    }
    if (raise)
        win32::pushEvent({EventKind::Control, window, id});
    return true;
}

int scrollTarget(const ControlRecord& record, WORD code)
{
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(record.hwnd, SB_CTL, &info);
    int page = std::max(static_cast<int>(info.nPage), 1);
    switch (code) {
    case SB_LINELEFT: return info.nPos - 1;
    case SB_LINERIGHT: return info.nPos + 1;
    case SB_PAGELEFT: return info.nPos - page;
    case SB_PAGERIGHT: return info.nPos + page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return info.nTrackPos;
    case SB_LEFT: return info.nMin;
    case SB_RIGHT: return info.nMax;
    default: return info.nPos;
    }
}

// One event for each change of the value that the user makes, and one for an
// action that leaves it: a key or a click on the trough raises its move and no
// end; a drag its moves and its end; a release of the handle and an assistive
// tool's TB_THUMBPOSITION one. The program's own TBM_SETPOS notifies nothing.
bool trackBarRaises(ControlRecord& record, WORD code)
{
    TrackAction& action = record.track;
    bool raise;
    switch (code) {
    case TB_ENDTRACK:
        raise = action.dragged || (!action.raised && !action.losingCapture);
        action.dragged = action.raised = false;
        return raise;
    case TB_THUMBTRACK: action.dragged = true; return true;
    case TB_THUMBPOSITION:
        if (GetCapture() != record.hwnd)
            return true;   // set from outside, not by the mouse: an action of its own
        action.dragged = true;   // the release: its TB_ENDTRACK follows
        return false;
    default: action.raised = true; return true;
    }
}

bool scrollMessage(int window, WPARAM wParam, LPARAM lParam)
{
    ControlRecord* record = recordOf(reinterpret_cast<HWND>(lParam));
    if (!record || record->window != window)
        return false;
    if (record->kind == Kind::TrackBar) {
        if (trackBarRaises(*record, LOWORD(wParam)))
            win32::pushEvent({EventKind::Control, window, idOf(*record)});
    } else if (record->kind == Kind::ScrollBar)
        win32::moveScrollBar(idOf(*record), scrollTarget(*record, LOWORD(wParam)));
    return true;
}

} // namespace

void createFrame(int window, int id, const std::string& caption, Rect r)
{
    ControlRecord* record = place(window, id, Kind::Frame, L"BUTTON", BS_GROUPBOX, 0, r, captionOf(caption));
    if (!record)
        return;
    record->accessibleName = caption;
    SetWindowSubclass(record->hwnd, frameBoxProc, 0, 0);
}

void createText(int window, int id, const std::string& text, Rect r, Align align)
{
    if (place(window, id, Kind::Text, L"STATIC", alignmentOf(align) | SS_NOPREFIX, 0, r))
        setText(id, text);
}

void createButton(int window, int id, const std::string& text, Rect r)
{
    if (place(window, id, Kind::Button, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, r))
        setText(id, text);
}

void createImageButton(int window, int id, int image, Rect r)
{
    if (place(window, id, Kind::Button, L"BUTTON", BS_PUSHBUTTON | BS_BITMAP | WS_TABSTOP, 0, r))
        setControlImage(id, image);
}

void createOption(int window, int id, const std::string& text, Rect r, int group)
{
    if (ControlRecord* record = place(window, id, Kind::Option, L"BUTTON", BS_RADIOBUTTON | WS_TABSTOP, 0, r)) {
        record->group = group;
        setText(id, text);
    }
}

void setOptionChecked(int id, bool checked)
{
    setButtonChecked(id, Kind::Option, checked);
}

bool optionChecked(int id)
{
    return buttonChecked(id, Kind::Option);
}

// The box toggles on the click's notification, as options check there.
void createCheckBox(int window, int id, const std::string& text, Rect r)
{
    if (place(window, id, Kind::CheckBox, L"BUTTON", BS_CHECKBOX | WS_TABSTOP, 0, r))
        setText(id, text);
}

void setCheckBoxChecked(int id, bool checked)
{
    setButtonChecked(id, Kind::CheckBox, checked);
}

bool checkBoxChecked(int id)
{
    return buttonChecked(id, Kind::CheckBox);
}

void createTrackBar(int window, int id, Rect r, int minimum, int maximum)
{
    ControlRecord* record = place(window, id, Kind::TrackBar, TRACKBAR_CLASSW,
                                  TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | WS_TABSTOP, 0, r);
    if (!record)
        return;
    SendMessageW(record->hwnd, TBM_SETRANGEMIN, FALSE, minimum);
    SendMessageW(record->hwnd, TBM_SETRANGEMAX, TRUE, maximum);
    SendMessageW(record->hwnd, TBM_SETTICFREQ, 1, 0);
    SendMessageW(record->hwnd, TBM_SETLINESIZE, 0, 1);
    SendMessageW(record->hwnd, TBM_SETPAGESIZE, 0, 1);
    SetWindowSubclass(record->hwnd, trackBarProc, 0, 0);
}

void setTrackBarPosition(int id, int position)
{
    if (ControlRecord* record = find(id, Kind::TrackBar))
        SendMessageW(record->hwnd, TBM_SETPOS, TRUE, position);
}

int trackBarPosition(int id)
{
    ControlRecord* record = find(id, Kind::TrackBar);
    return record ? static_cast<int>(SendMessageW(record->hwnd, TBM_GETPOS, 0, 0)) : 0;
}

void createScrollBar(int window, int id, Rect r)
{
    if (ControlRecord* record = place(window, id, Kind::ScrollBar, L"SCROLLBAR", SBS_HORZ, 0, r)) {
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
        SetScrollInfo(record->hwnd, SB_CTL, &info, TRUE);
        record->scrollMaximum = 99;
        record->scrollPage = 10;
    }
}

// Windows itself keeps the position within minimum .. maximum - page + 1.
void setScrollRange(int id, int minimum, int maximum, int page)
{
    ControlRecord* record = find(id, Kind::ScrollBar);
    if (!record)
        return;
    record->scrollMaximum = maximum;
    record->scrollPage = page;
    int before = GetScrollPos(record->hwnd, SB_CTL);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, minimum, maximum, static_cast<UINT>(std::max(page, 0)), 0, 0};
    SetScrollInfo(record->hwnd, SB_CTL, &info, TRUE);
    if (GetScrollPos(record->hwnd, SB_CTL) != before)
        win32::runScrollHook(record->window, id);
}

void setScrollPosition(int id, int position)
{
    win32::moveScrollBar(id, position);
}

int scrollPosition(int id)
{
    ControlRecord* record = find(id, Kind::ScrollBar);
    return record ? GetScrollPos(record->hwnd, SB_CTL) : 0;
}

void setScrollHook(ScrollHook hook)
{
    state.scrollHook = hook;
}

void createImageView(int window, int id, Rect r)
{
    registerImageView();
    place(window, id, Kind::ImageView, imageViewClass, 0, 0, r);
}

void setControlImage(int id, int image)
{
    ControlRecord* record = find(id);
    Size size = imageSize(image);
    if (!record || !imageExists(image))
        return;
    if (record->kind == Kind::ImageView) {
        record->image = image;
        SetWindowPos(record->hwnd, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(record->hwnd, nullptr, FALSE);
    } else if (record->kind == Kind::Button) {
        // The button keeps a picture of its own: the image may change or go.
        uint32_t* bits = nullptr;
        HBITMAP copy = win32::createDib(size.width, size.height, &bits);
        std::optional<win32::Canvas> source = win32::canvasOf(image);
        if (!copy || !source)
            return;
        GdiFlush();
        for (int y = 0; y < size.height; ++y)
            std::copy_n(source->bits + y * source->stride, size.width, bits + static_cast<long long>(y) * size.width);
        SendMessageW(record->hwnd, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(copy));
        releaseRecord(*record);
        record->buttonBitmap = copy;
    }
}

void createReportList(int window, int id, Rect r)
{
    ControlRecord* record = place(window, id, Kind::List, WC_LISTVIEWW,
                                  LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, WS_EX_CLIENTEDGE, r);
    if (record)
        SendMessageW(record->hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

void setListColumns(int id, const std::vector<std::string>& titles, const std::vector<int>& widths)
{
    ControlRecord* record = find(id, Kind::List);
    if (!record)
        return;
    while (SendMessageW(record->hwnd, LVM_DELETECOLUMN, 0, 0)) {
    }
    for (size_t i = 0; i < titles.size(); ++i) {
        std::wstring title = win32::fromCp1252(titles[i]);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = title.data();
        column.cx = i < widths.size() ? widths[i] : 50;
        column.iSubItem = static_cast<int>(i);
        SendMessageW(record->hwnd, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
}

void insertListRow(int id, int position, const std::string& cells)
{
    ControlRecord* record = find(id, Kind::List);
    if (!record)
        return;
    int count = static_cast<int>(SendMessageW(record->hwnd, LVM_GETITEMCOUNT, 0, 0));
    std::wstring all = win32::fromCp1252(cells);
    // The row remembers how many cells it was given, as the readers see it.
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = std::clamp(position, 0, count);
    item.lParam = static_cast<LPARAM>(std::count(all.begin(), all.end(), L'\n') + 1);
    size_t start = 0;
    for (int column = 0;; ++column) {
        size_t end = all.find(L'\n', start);
        std::wstring cell = all.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        item.iSubItem = column;
        item.pszText = cell.data();
        if (column == 0) {
            item.iItem = static_cast<int>(SendMessageW(record->hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
            item.mask = LVIF_TEXT;
        } else {
            SendMessageW(record->hwnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(item.iItem), reinterpret_cast<LPARAM>(&item));
        }
        if (end == std::wstring::npos || item.iItem < 0)
            break;
        start = end + 1;
    }
}

void clearList(int id)
{
    if (ControlRecord* record = find(id, Kind::List))
        SendMessageW(record->hwnd, LVM_DELETEALLITEMS, 0, 0);
}

void createDropDown(int window, int id, Rect r)
{
    if (ControlRecord* record = place(window, id, Kind::DropDown, WC_COMBOBOXW,
                                      CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | WS_VSCROLL | WS_TABSTOP, 0, r))
        win32::makeDropDown(record->hwnd, window, id);
}

void createAddressField(int window, int id, Rect r)
{
    if (ControlRecord* record = place(window, id, Kind::Address, WC_IPADDRESSW, WS_TABSTOP, 0, r)) {
        EnumChildWindows(record->hwnd, guardAddressPart, 0);
        SetWindowSubclass(record->hwnd, addressFieldProc, 0, 0);
    }
}

void alignTextWithField(int labelId, int fieldId)
{
    ControlRecord* label = find(labelId, Kind::Text);
    ControlRecord* field = find(fieldId, Kind::Address);
    if (!label || !field)
        return;
    // The address control centres its edit fields; a static text draws at its top.
    HWND edit = FindWindowExW(field->hwnd, nullptr, L"Edit", nullptr);
    if (!edit)
        return;
    RECT editRect, labelRect;
    GetWindowRect(edit, &editRect);
    GetWindowRect(label->hwnd, &labelRect);
    HWND frame = GetParent(label->hwnd);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&editRect), 2);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&labelRect), 2);
    int top = std::max<int>(editRect.top, labelRect.top);
    SetWindowPos(label->hwnd, nullptr, labelRect.left, top, labelRect.right - labelRect.left,
                 labelRect.bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void setAddress(int id, uint32_t value)
{
    ControlRecord* record = find(id, Kind::Address);
    if (!record)
        return;
    record->settingAddress = true;
    SendMessageW(record->hwnd, IPM_SETADDRESS, 0, static_cast<LPARAM>(toControlAddress(value)));
    record->settingAddress = false;
}

uint32_t address(int id)
{
    ControlRecord* record = find(id, Kind::Address);
    if (!record)
        return 0;
    DWORD value = 0;
    SendMessageW(record->hwnd, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&value));
    return fromControlAddress(value);
}

void createNumberField(int window, int id, Rect r)
{
    if (ControlRecord* record = place(window, id, Kind::Number, L"EDIT", ES_RIGHT | ES_AUTOHSCROLL | WS_TABSTOP,
                                      WS_EX_CLIENTEDGE, r))
        SetWindowSubclass(record->hwnd, numberFieldProc, 0, 0);
}

void createHyperlink(int window, int id, const std::string& text, Rect r)
{
    if (ControlRecord* record = place(window, id, Kind::Link, L"STATIC", SS_LEFT | SS_NOTIFY | SS_NOPREFIX, 0, r)) {
        SetWindowSubclass(record->hwnd, linkProc, 0, 0);
        setText(id, text);
    }
}

void setText(int id, const std::string& text)
{
    ControlRecord* record = find(id);
    if (!record || record->kind == Kind::Address)
        return;
    std::wstring value = hasCaption(record->kind) ? captionOf(text) : win32::multiLine(text);
    SetWindowTextW(record->hwnd, value.c_str());
    record->accessibleName = win32::toCp1252(win32::multiLine(text));
}

std::string text(int id)
{
    ControlRecord* record = find(id);
    if (!record)
        return {};
    switch (record->kind) {
    case Kind::Text:
    case Kind::Number:
    case Kind::Link: return win32::toCp1252(win32::windowText(record->hwnd));
    case Kind::Button:
    case Kind::Option:
    case Kind::CheckBox:
    case Kind::Frame: return win32::toCp1252(withoutMnemonics(win32::windowText(record->hwnd)));
    case Kind::Address:
        return SendMessageW(record->hwnd, IPM_ISBLANK, 0, 0) ? std::string() : addressText(address(id));
    default: return {};
    }
}

void enableControl(int id, bool enabled)
{
    if (ControlRecord* record = find(id))
        EnableWindow(record->hwnd, enabled ? TRUE : FALSE);
}

bool controlEnabled(int id)
{
    ControlRecord* record = find(id);
    return record && IsWindowEnabled(record->hwnd);
}

void showControl(int id, bool visible)
{
    if (ControlRecord* record = find(id))
        ShowWindow(record->hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

bool controlVisible(int id)
{
    ControlRecord* record = find(id);
    return record && (GetWindowLongW(record->hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void moveControl(int id, Rect r)
{
    if (ControlRecord* record = find(id))
        MoveWindow(record->hwnd, r.x, r.y, r.width, r.height, TRUE);
}

Rect controlRect(int id)
{
    ControlRecord* record = find(id);
    if (!record)
        return {0, 0, 0, 0};
    RECT r;
    GetWindowRect(record->hwnd, &r);
    MapWindowPoints(nullptr, GetParent(record->hwnd), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

bool controlExists(int id)
{
    return find(id) != nullptr;
}

// Kept for the readers; Windows takes a control's name from its caption.
void setAccessibleName(int id, const std::string& name)
{
    if (ControlRecord* record = find(id))
        record->accessibleName = name;
}

namespace win32 {

HWND controlHwnd(int id)
{
    ControlRecord* record = find(id);
    return record ? record->hwnd : nullptr;
}

int controlOfHwnd(HWND hwnd)
{
    ControlRecord* record = hwnd ? recordOf(hwnd) : nullptr;
    return record ? idOf(*record) : -1;
}

bool controlMessage(int window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_COMMAND:
        result = 0;
        return lParam != 0 && commandMessage(window, wParam, lParam);
    case WM_HSCROLL:
        result = 0;
        return lParam != 0 && scrollMessage(window, wParam, lParam);
    case WM_MEASUREITEM:
        result = TRUE;
        return measureDropDown(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_DRAWITEM:
        result = TRUE;
        return drawDropDown(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        // Texts, captions and track bars stand on the window's own background.
        ControlRecord* record = recordOf(reinterpret_cast<HWND>(lParam));
        if (!record)
            return false;
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        if (record->kind == Kind::Link) {
            SetTextColor(dc, record->hover ? RGB(255, 0, 0) : RGB(0, 0, 0));
            SetBkMode(dc, TRANSPARENT);
        }
        result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        return true;
    }
    default: return false;
    }
}

HCURSOR controlCursor(HWND hwnd)
{
    ControlRecord* record = recordOf(hwnd);
    return record && record->kind == Kind::Link ? LoadCursorW(nullptr, IDC_HAND) : nullptr;
}

void beep()
{
    if (testing::active())
        seam::countBeep();
    else
        MessageBeep(MB_OK);
}

void forgetControlsOf(int window)
{
    for (auto it = state.controls.begin(); it != state.controls.end();) {
        if (it->second.window == window) {
            releaseRecord(it->second);
            it = state.controls.erase(it);
        } else {
            ++it;
        }
    }
}

void forgetAllControls()
{
    for (auto& [id, record] : state.controls) {
        releaseRecord(record);
        DestroyWindow(record.hwnd);
    }
    state.controls.clear();
}

void runScrollHook(int window, int scrollBar)
{
    if (state.scrollHook)
        state.scrollHook(window, scrollBar);
}

ScrollSettings scrollSettings(int id)
{
    ControlRecord* record = find(id, Kind::ScrollBar);
    if (!record)
        return {0, 0, 0, 0};
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(record->hwnd, SB_CTL, &info);
    return {info.nMin, record->scrollMaximum, record->scrollPage, info.nPos};
}

void moveScrollBar(int id, int position)
{
    ControlRecord* record = find(id, Kind::ScrollBar);
    if (!record)
        return;
    int before = GetScrollPos(record->hwnd, SB_CTL);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, position, 0};
    SetScrollInfo(record->hwnd, SB_CTL, &info, TRUE);
    if (GetScrollPos(record->hwnd, SB_CTL) != before)
        runScrollHook(record->window, id);
}

std::string accessibleNameOf(int id)
{
    ControlRecord* record = find(id);
    return record ? record->accessibleName : std::string();
}

void enterAddress(int id, const std::string& text)
{
    ControlRecord* record = find(id, Kind::Address);
    if (!record)
        return;
    std::vector<HWND> parts = addressParts(record->hwnd);
    record->settingAddress = true;
    size_t start = 0;
    for (HWND part : parts) {
        size_t dot = start == std::string::npos ? std::string::npos : text.find('.', start);
        std::string value = start == std::string::npos ? std::string() : text.substr(start, dot == std::string::npos ? dot : dot - start);
        SetWindowTextW(part, win32::fromCp1252(value).c_str());
        start = dot == std::string::npos ? dot : dot + 1;
    }
    record->settingAddress = false;
    pushEvent({EventKind::Control, record->window, id});
}

bool isTrackBar(HWND hwnd)
{
    ControlRecord* record = recordOf(hwnd);
    return record && record->kind == Kind::TrackBar;
}

bool isPushButton(HWND hwnd)
{
    ControlRecord* record = recordOf(hwnd);
    return record && record->kind == Kind::Button;
}

} // namespace win32

} // namespace platform
