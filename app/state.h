// state.h: the application state of the shell, zeroed at start-up.
#pragma once

#include <cstdint>
#include <string>

namespace app {

struct AppState {
    // 1 ends the loop that is running: the main loop or the open secondary
    // window's loop. Every secondary window sets it back to 0 when it closes.
    int32_t closeRequested;
    // Size of the graph area in pixels, kept by updateLayout.
    int32_t graphWidth;
    int32_t graphHeight;
    // Mouse x in the main window's client area, or 0 away from the graph area.
    int32_t cursorColumn;
    // cursorColumn at the last redraw caused by the mouse.
    int32_t lastCursorColumn;
    // Position of the graph's scroll bar at the last redraw it caused.
    int32_t lastScrollPosition;
    // Wheel turns not yet making a whole notch (120), for zooming and scrolling.
    int32_t wheelZoomRest;
    int32_t wheelScrollRest;
    // A drag on the graph: where it began (client x) and the first record then.
    bool dragging;
    int32_t dragStartX;
    int32_t dragStartFirst;
    // The About window's text.
    std::string aboutText;
};

AppState& state();
// Puts every member back to zero or empty.
void resetState();

} // namespace app
