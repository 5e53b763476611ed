// main_loop.h: the main loop, its layout and mouse tracking, and its dispatch.
//
// Each pass keeps the graph area sized to the window, follows the mouse column for
// the graph cursor, then takes at most one event (waiting at most 50 ms, so an
// idle program sleeps) and dispatches it by menu item or control. Commands run to
// their end inside the pass; those with a window of their own run its loop.
#pragma once

#include "platform/window.h"

#include <cstdint>

namespace app {

// Runs passes until closeRequested is 1.
void mainLoop();

// Keeps the graph image, the graph view and the scroll bar sized to the client
// area; redraws the graph when the size changed and is positive.
void updateLayout();

// True for a point of the main window's client area over the graph area:
// right of the left column (x >= 200) and not below the graph (y <= graphHeight).
bool inGraphArea(platform::Point p);

// The mouse x in the main window's client area, or 0 when the mouse is left of
// the graph area (x < 200), below the graph (y > graphHeight) or outside.
int32_t mouseColumn();

// Sees every change of a scroll bar's position; redraws the graph when the
// graph's scroll bar moved to a position not drawn yet.
void mainWindowCallback(int window, int scrollBar);

} // namespace app
