// events.h: the one event queue of the program.
//
// Toolkit signals become events {kind, window, id} in one FIFO. pollEvent pumps
// the toolkit once and pops an event without waiting; waitEvent pumps and waits
// at most `ms` milliseconds (forever when ms < 0). A loop that wakes without an
// event gets an event of kind None. Mouse moves over the main window wake a
// waiting loop, so callers that track the mouse see it move without delay.
// Wheel, drag and key events come only from the control given to watchPointer.
#pragma once

namespace platform {

enum class EventKind {
    None,          // nothing happened (time-out or a wake-up)
    CloseRequest,  // the window's close box or system menu
    Control,       // id = the control
    Menu,          // id = the menu item
    // Pointer and keys of the watched control (watchPointer, below):
    Wheel,         // id = WheelAxis; x, y; delta; modifiers
    MousePress,    // the left button went down over the control; x, y
    MouseDrag,     // the mouse moved while that button is held; x, y
    MouseRelease,  // the left button went up; x, y
    Key,           // id = NavigationKey; modifiers
};

// A wheel turns about its axis: the ordinary wheel is vertical; a tilted wheel
// or a sideways touchpad stroke is horizontal.
enum WheelAxis { WheelVertical = 0, WheelHorizontal = 1 };

// The keys that move through a picture; other keys stay with the controls.
enum NavigationKey {
    KeyLeft = 1,
    KeyRight = 2,
    KeyPageUp = 3,
    KeyPageDown = 4,
    KeyHome = 5,
    KeyEnd = 6,
    KeyPlus = 7,    // "+" (also "=", the same key unshifted, and the keypad's)
    KeyMinus = 8,   // "-" (also the keypad's)
};

// Modifier keys held during a wheel turn or a key press, or-ed together.
enum Modifier : unsigned { ModifierShift = 1, ModifierControl = 2 };

struct Event {
    EventKind kind;
    int window;
    int id;
    // Pointer events: the mouse in the window's client area.
    int x = 0, y = 0;
    // Wheel: eighths of a degree, 120 per notch (a touchpad sends less at a time);
    // positive away from the user, or to the left on the horizontal axis.
    int delta = 0;
    unsigned modifiers = 0;
};

Event pollEvent();
Event waitEvent(int ms);

// The window whose mouse moves wake waitEvent (the main window).
void setMouseWakeWindow(int window);

// Makes control `control` deliver its pointer and keys as events of its window:
// wheel turns over it, left-button presses on it with the drag that follows
// until the release (wherever the mouse goes meanwhile), and the navigation keys
// pressed anywhere in its window unless a track bar there takes them itself.
// The toolkit then does nothing else with them. One control at a time; -1 stops.
void watchPointer(int control);

// Sleeps `ms` milliseconds while the windows go on painting (a progress bar keeps
// moving); what the user does meanwhile waits and is delivered afterwards. For
// the pauses of a long operation that runs inside one event's handling. Without
// the toolkit (a command run with no window) it simply sleeps.
void sleepPainting(int ms);

} // namespace platform
