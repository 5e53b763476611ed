// testing.h: the test seam. Tests drive the real program the way a person does.
//
// begin() switches the layer into test mode. Then:
//
// ----- Scripted steps -----
// post(event) and post(callable) append to a script. Whenever a loop of the
// program asks for an event (pollEvent, waitEvent) and no real event is pending,
// the next script step is taken: an event is delivered as if the toolkit had sent
// it; a callable runs (it may click controls, choose menu items, check state) and
// the loop goes on asking. So a check runs after everything before it has been
// handled. A waitEvent with an empty script and no event fails the test
// (failures()) and delivers a close request of the innermost window instead of
// hanging.
//
// ----- Scripted dialogs -----
// Every modal dialog takes the next scripted answer instead of opening. A dialog
// without an answer, or with an answer of another kind, is recorded in
// failures() with its kind and title, and is treated as cancelled.
//
// ----- Readers -----
// Message boxes, opened web addresses and the last dialog's request are recorded;
// the readers of controls.h, window.h and images.h work offscreen as they are.
#pragma once

#include "platform/dialogs.h"
#include "platform/events.h"
#include "platform/platform.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform::testing {

// Enters test mode and forgets every script, answer and record.
void begin();
// Leaves test mode.
void end();
bool active();

void post(Event event);
void post(std::function<void()> step);

// ----- Acting as the user (call them inside a posted step) -----
void click(int control);                      // push button, option, hyperlink
void chooseMenu(int item);                    // ignored while the item is disabled
void requestClose(int window);                // the close box
void moveTrackBar(int control, int position); // a drag that ends at `position`
// An assistive tool (a screen reader, voice control) sets the value of a
// control through the toolkit's accessibility interface: a track bar's position.
void setValueAccessibly(int control, int value);
void dragScrollBar(int control, int position);
void typeAddress(int control, const std::string& text);
void chooseDropDownEntry(int control, int index);
// The window system gives the window this client size, ignoring its minimum
// size as some window managers do (tiling ones).
void resizeWindow(int window, Size client);
// The mouse position that mousePosition() reports; (-1, -1) for outside.
void setMousePosition(int window, int x, int y);
// Real input to a control's widget, through the toolkit's own handling: the key
// is pressed and released with the control focused.
// While a popup is open (a drop-down's list), keys go to it instead.
enum class Key { Left, Right, Home, End, PageUp, PageDown, Enter, Escape, Plus, Minus, F4 };
void sendKey(int control, Key key);
// Real pointer events at (x, y) in a control's own coordinates, each first
// moving the mouse there: a wheel turn (120 a notch, positive away from the
// user), and the steps of a left-button drag.
void sendWheel(int control, int x, int y, int delta, unsigned modifiers = 0, WheelAxis axis = WheelVertical);
enum class MouseStep { Press, Move, Release };
void sendMouse(int control, MouseStep step, int x, int y);
// Types `text` (Windows-1252) into a control, one key event a character, each
// with the key a person presses for it (the space bar for a blank).
void typeText(int control, const std::string& text);
// Selects all of an edit field's text and types `text` over it, as typeText.
void retypeText(int control, const std::string& text);

// Lets the toolkit and the window system work for `ms` milliseconds, user input
// included; what reaches the program's queue meanwhile stays queued. For tests
// against a real X server and window manager.
void pumpFor(int ms);
// The window system's id of a window (the X11 window), for outside tools.
unsigned long long nativeWindowId(int window);

// The pointer events of a watched control (events.h), as the toolkit would queue
// them; each first moves the mouse to (x, y) of `window`'s client area.
void turnWheel(int window, int x, int y, int delta, unsigned modifiers = 0, WheelAxis axis = WheelVertical);
void pressMouse(int window, int x, int y);
void dragMouse(int window, int x, int y);
void releaseMouse(int window, int x, int y);
// A navigation key pressed in `window`.
void pressKey(int window, NavigationKey key, unsigned modifiers = 0);

// ----- Dialog answers -----
void answerOpenFile(const std::string& path, int pattern = 0);  // "" cancels
void answerSaveFile(const std::string& path, int pattern = 0);  // "" cancels
void answerColor(std::optional<Color> color);
// Confirms the print dialog and prints to a PDF file at `pdfPath` (PostScript
// under Wine, whose only printer driver writes that); "" cancels.
void answerPrint(const std::string& pdfPath);

// ----- Records -----
struct Message {
    std::string title;
    std::string text;
    MessageIcon icon;
};
const std::vector<Message>& messages();
const std::vector<std::string>& openedWebAddresses();

struct DialogRequest {
    std::string kind;     // "open file", "save file", "colour", "print"
    std::string title;
    std::string folder;   // starting folder, file dialogs only
    std::string fileName; // proposed file name, file dialogs only
    std::string patterns;
};
// The most recent dialog the program asked for.
const DialogRequest& lastDialog();

// Test failures seen by the layer (unscripted dialogs, an exhausted script).
const std::vector<std::string>& failures();

// ----- Readers not needed by the program itself -----
std::vector<std::string> listRows(int control);          // cells joined by "\n"
std::vector<std::string> listColumnTitles(int control);
std::vector<std::string> dropDownEntries(int control);
std::string statusText(int statusBar, int field);
int statusProgress(int statusBar, int field);            // -1 when no bar shows
struct ScrollInfo {
    int minimum, maximum, page, position;
};
ScrollInfo scrollInfo(int control);
std::string accessibleName(int control);
// Beeps since begin(): the program refused something the user did, or warned.
int beeps();
// The control with the keyboard focus, or -1; whether its ring shows.
int focusedControl();
bool focusShown();
// Opens a drop-down's list, counts the rows it shows at once, closes it.
int openDropDownRows(int control);
// The open list of a drop-down: the highlighted row and the first and last rows
// it shows; all -1 while the list is closed.
struct OpenList {
    int highlighted, first, last;
};
OpenList openList(int control);
std::string windowAccessibleName(int window);
bool windowVisible(int window);
bool windowEnabled(int window);
bool waitCursorShown();
bool hasIcon(int window);
// Writes image `id` (images.h) to a PNG file, to look at what was drawn.
bool saveImagePng(int image, const std::string& path);
// Reads a PNG file into image `id` (images.h), created at the picture's size;
// false (and no image) when the file is no PNG it can read.
bool loadImagePng(int image, const std::string& path);
// Writes a picture of window `id` as it is drawn to a PNG file.
bool saveWindowPng(int window, const std::string& path);
// The window's client area as it is drawn, into image `image` (images.h),
// created or replaced with the client's size.
void grabClient(int window, int image);
// Where a status-bar field stands, in its window's client coordinates.
Rect statusFieldRect(int statusBar, int field);

} // namespace platform::testing
