// main_window.h: the main window with its menu bar, status bar and controls.
#pragma once

namespace app {

// The layout of the client area: the left column, the graph right of it, and
// the graph's scroll bar below the graph.
constexpr int leftColumnWidth = 200;
constexpr int leftColumnHeight = 430;   // down to the foot of the time-scale frame
constexpr int scrollBarHeight = 20;

// Opens the main window (800 x 600 client area at (0, 0), shown maximised), builds
// its menu bar (a window without one goes on), its five-field status bar, and the
// controls of the left column and the graph area in their creation order.
void buildMainWindow();

} // namespace app
