// xserver.h: a real X desktop for the tests that offscreen cannot answer.
//
// startDesktop() starts Xvfb on a free display with the openbox window manager
// and points DISPLAY and the toolkit's platform at it; it must run before the
// platform layer starts (once per test process). stopDesktop() ends both.
// x11() runs an X11 tool (xprop, xdotool, wmctrl, xwininfo) on that display
// and returns what it printed.
#pragma once

#include <string>
#include <vector>

namespace desktop {

// True when the desktop runs; otherwise `why` says what failed.
bool startDesktop(std::string& why);
void stopDesktop();

std::string x11(const std::string& command);

// Windows from the bottom of the stack to the top (_NET_CLIENT_LIST_STACKING).
std::vector<unsigned long long> stacking();
unsigned long long activeWindow();
// The owner a window names in WM_TRANSIENT_FOR; 0 when none.
unsigned long long transientFor(unsigned long long window);

struct Frame {
    int x, y;            // top-left corner of the frame on the screen
    int width, height;   // the client window inside it
};
Frame frameOf(unsigned long long window);

} // namespace desktop
