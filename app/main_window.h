// main_window.h: the main window with its menu bar, status bar and controls.
#pragma once

namespace app {

// Opens the main window (800 x 600 client area at (0, 0), shown maximised), builds
// its menu bar (a window without one goes on), its five-field status bar, and the
// controls of the left column and the graph area in their creation order.
void buildMainWindow();

} // namespace app
