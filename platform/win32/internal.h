// internal.h: state shared by the files of the Win32 backend of the platform
// layer. Never included outside platform/win32/.
#pragma once

#include "platform/events.h"
#include "platform/platform.h"
#include "platform/raster.h"
#include "platform/window.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::win32 {

// ----- Text (text.cpp) -----
// The program's Windows-1252 texts and the wide-character API.
std::wstring fromCp1252(const std::string& text);
std::string toCp1252(const std::wstring& text);
// "\r\n" becomes "\n", the one line break the program's readers see.
std::wstring multiLine(const std::string& text);
// File paths are UTF-8 on Windows, so that a name in any script survives.
std::wstring fromPath(const std::string& path);
std::string toPath(const std::wstring& path);
// The text of a window (GetWindowTextW).
std::wstring windowText(HWND hwnd);

// ----- Start-up (app.cpp) -----
HINSTANCE instance();
// The dialog font of the controls (8 points, as the layouts assume).
HFONT controlFont();
HFONT linkFont();
HICON programIcon(bool large);
int screenDpiY();
// Every message the program's loops take goes through here: the keys the layer
// turns into events first, then the dialog keys (Tab), then the window.
void dispatch(MSG& msg);
// Hands every waiting message to its window.
void pump();

// ----- Windows (window.cpp) -----
HWND frameOf(int window);
// The window id of a frame or of anything inside it, or -1.
int windowOfHwnd(HWND hwnd);
int innermostWindow();
// The frame a dialog box should be owned by: the innermost window.
HWND dialogOwner();
void closeAllWindows();
void registerWindowClass();
// Enter and Escape in a window with dialog keys; true when taken.
bool dialogKey(const MSG& msg);
std::string statusFieldText(int id, int field);
int statusFieldProgress(int id, int field);   // -1 when no bar shows
Rect statusFieldRect(int id, int field);
bool waitCursorShown();
void triggerMenuItem(int item);   // as if chosen; nothing while disabled
void resizeClient(int window, Size client);

// ----- Controls (controls.cpp) -----
HWND controlHwnd(int id);
// The control id of `hwnd`, or -1 when it is none of the program's controls.
int controlOfHwnd(HWND hwnd);
// WM_COMMAND, WM_NOTIFY, WM_HSCROLL, WM_DRAWITEM and friends of a frame's
// controls; true when the message was the controls' and `result` is set.
bool controlMessage(int window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
// The cursor over control `hwnd` (the hand over a link); nullptr for the default.
HCURSOR controlCursor(HWND hwnd);
void beep();
void forgetControlsOf(int window);
void forgetAllControls();
void runScrollHook(int window, int scrollBar);
struct ScrollSettings {
    int minimum, maximum, page, position;
};
ScrollSettings scrollSettings(int id);
// Sets a scroll bar's position as the user's action does: the hook sees a change.
void moveScrollBar(int id, int position);
bool isTrackBar(HWND hwnd);
bool isPushButton(HWND hwnd);
// Readers for the tests.
std::string accessibleNameOf(int id);
// Puts `text` ("a.b.c.d", fields may be missing) into an address field as one
// edit of the user's: one control event.
void enterAddress(int id, const std::string& text);

// ----- Drop-down lists (dropdown.cpp) -----
// Makes a combo box of the drop-down list kind into the program's list of
// entries made on demand.
void makeDropDown(HWND combo, int window, int id);
// The combo box messages of the frame; false when they are no drop-down's.
bool measureDropDown(MEASUREITEMSTRUCT& item);
bool drawDropDown(const DRAWITEMSTRUCT& item);
// As the user's choice in the open list: selects and raises the event.
void chooseEntry(int id, int index);
std::vector<std::string> dropDownTexts(int id);
// Opens the list, counts the rows it shows at once, closes it.
int shownRows(int id);
// The open list's highlighted row and the first and last rows it shows; false
// while the list is closed.
bool openRows(int id, int& highlighted, int& first, int& last);

// ----- Input (input.cpp) -----
// The navigation keys and pointer of the watched control; true when taken.
bool watchedInput(const MSG& msg);

// ----- Images (image.cpp) -----
// A DIB section's pixels: 0x00RRGGBB words, top row first.
using Canvas = raster::Canvas;
// The image's DC (its DIB section selected) and its pixels; nullptr / no value
// when there is no such image.
HDC imageDc(int id);
std::optional<Canvas> canvasOf(int id);
// A new DIB section of `width` x `height`, its pixels in `bits`.
HBITMAP createDib(int width, int height, uint32_t** bits);
void forgetAllImages();

// ----- PNG files (png.cpp) -----
// Decodes PNG bytes into 0xAARRGGBB words, top row first; false when they are
// no PNG it can read.
bool decodePng(const std::string& bytes, std::vector<uint32_t>& pixels, int& width, int& height);

// ----- Events (app.cpp) -----
void pushEvent(Event event);
// Ends a wait without an event (mouse moves over the wake window).
void wake();

} // namespace platform::win32
