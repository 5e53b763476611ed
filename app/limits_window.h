// limits_window.h: the Limits window (Settings > Limits).
//
// For each of the four limits a check box and a number field with one decimal
// (temperatures in the scale in force, humidity in RH% as the graph writes it),
// and the delay in minutes. "Ok" checks what was typed: a number that is not
// one, a low limit above its high one, a humidity outside 0 to 100 or a delay
// that is not a whole number of minutes is refused in a message box, and the
// window stays open with nothing saved. Otherwise the limits are kept, saved and drawn on the
// graph, and the window closes. The close box and Escape discard what was typed.
#pragma once

namespace app {

// Opens the Limits window and runs its loop until "Ok" is accepted or a close
// request.
void openLimitsWindow();

} // namespace app
