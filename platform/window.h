// window.h: top-level windows, the menu bar, status bars and cursors.
//
// A window is opened with the size of its client area: everything below the
// menu bar, a status bar included, as on Windows. Control coordinates are client
// coordinates. Every window shows the program icon. A window id names one open
// window at a time; opening an id that is open closes the old window first.
#pragma once

#include "platform/platform.h"

#include <string>
#include <vector>

namespace platform {

// Frame decorations, or-ed together. A close box and system menu are always there.
enum WindowStyle : unsigned {
    StyleFixed = 0,        // no sizing border, no minimise or maximise box
    StyleSizable = 1,      // sizing border
    StyleMinimizeBox = 2,
    StyleMaximizeBox = 4,
};

enum class WindowShow { Normal, Maximized, Minimized };

constexpr int noOwner = -1;

struct WindowSpec {
    int id;
    int owner;          // id of the owner window, or noOwner
    std::string title;
    Size clientSize;
    bool centered;      // centred on the screen; otherwise placed at (0, 0)
    unsigned style;     // WindowStyle bits
};

// Creates the window hidden; show it with showWindow.
void openWindow(const WindowSpec& opening);
void showWindow(int window, WindowShow how);
void closeWindow(int window);
bool windowExists(int window);

void setWindowTitle(int window, const std::string& title);
std::string windowTitle(int window);

// Client area size; zero or less is possible while the window is minimised.
Size clientSize(int window);

// Hides the window and remembers its state; showAgain restores that state.
void hideWindow(int window);
void showAgain(int window);

// Enter presses `defaultButton` (or the push button that has the focus) and
// Escape does what the close box does, in a window of the program's own that
// acts as a dialog. The main window has neither.
void setDialogKeys(int window, int defaultButton);
// The window cannot be made smaller than this client area.
void setMinimumClientSize(int window, Size client);

void enableWindow(int window, bool enabled);
void focusWindow(int window);
void activateWindow(int window);

// ----- Menu bar -----
// A menu table: a menu title starts a menu, items follow; an item with id -1 is a
// separator. Items carry no accelerators.
struct MenuEntry {
    enum Kind { Menu, Item, Separator } kind;
    int id;
    std::string text;
};

// Builds the menu bar of `window` from the table. Returns false if it cannot.
bool createMenuBar(int window, const std::vector<MenuEntry>& entries);
void enableMenuItem(int item, bool enabled);
bool menuItemEnabled(int item);

// ----- Status bar -----
// A status bar at the bottom of the client area with fields of fixed pixel widths.
void createStatusBar(int window, int id, const std::vector<int>& fieldWidths);
int statusBarHeight(int id);
void setStatusText(int id, int field, const std::string& text);
// Shows a progress bar (0 to 100) in `field`, in place of its text.
void setStatusProgress(int id, int field, int percent);

// ----- Cursors -----
// The wait cursor over every window of the program while `on`; the standard arrow
// again when switched off. Calls do not nest: one off ends any number of ons.
void showWaitCursor(bool on);

// Mouse position in the client area of `window`; x and y are -1 when the mouse is
// outside it.
struct Point {
    int x, y;
};
Point mousePosition(int window);

} // namespace platform
