// events.h: the one event queue of the program.
//
// Toolkit signals become events {kind, window, id} in one FIFO. pollEvent pumps
// the toolkit once and pops an event without waiting; waitEvent pumps and waits
// at most `ms` milliseconds (forever when ms < 0). A loop that wakes without an
// event gets an event of kind None. Mouse moves over the main window wake a
// waiting loop, so callers that track the mouse see it move without delay.
#pragma once

namespace platform {

enum class EventKind {
    None,          // nothing happened (time-out or a wake-up)
    CloseRequest,  // the window's close box or system menu
    Control,       // id = the control
    Menu,          // id = the menu item
};

struct Event {
    EventKind kind;
    int window;
    int id;
};

Event pollEvent();
Event waitEvent(int ms);

// The window whose mouse moves wake waitEvent (the main window).
void setMouseWakeWindow(int window);

// Sleeps `ms` milliseconds while the windows go on painting (a progress bar keeps
// moving); what the user does meanwhile waits and is delivered afterwards. For
// the pauses of a long operation that runs inside one event's handling. Without
// the toolkit (a command run with no window) it simply sleeps.
void sleepPainting(int ms);

} // namespace platform
