// navigation.h: moving through the records with the mouse and the keys.
//
// Over the graph area (x >= 200, y <= graphHeight): a wheel notch away from the
// user zooms in one level, towards the user out one (levels 1 to 20), keeping the
// record under the mouse there; with Shift, or on a horizontal wheel, a notch
// scrolls a tenth of the page (at least one record), away or left towards the
// oldest records. Touchpads' smaller turns add up to notches. Pressing the left
// button and moving pans: the record grabbed stays under the mouse. Keys of the
// main window: Left and Right move one record, Page Up and Page Down one page,
// Home and End to the oldest and the newest window, "+" and "-" one level in
// and out, anchored at the mouse over the plot, else at the plot's middle.
// Nothing moves while the store is empty.
#pragma once

#include "platform/events.h"

namespace app {

void turnWheel(const platform::Event& event);
void pressMouse(const platform::Event& event);
void dragMouse(const platform::Event& event);
void releaseMouse(const platform::Event& event);
void pressKey(int key);

} // namespace app
