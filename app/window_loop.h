// window_loop.h: the loop every secondary window runs until it closes.
//
// A secondary window (RH Profile, Preferences, About, Input Time, Download,
// Monitor) is modal by loop: while its loop runs, the events of other windows are
// dropped and a close request from any window ends this loop only.
#pragma once

#include <functional>

namespace app {

// Waits for events until closeRequested is set. A close request from any window
// sets it; a control event of `window` goes to `onControl`; all else is dropped.
// Then enables `owner`, gives it the focus, closes `window` and clears
// closeRequested.
void runWindowLoop(int window, int owner, const std::function<void(int control)>& onControl);

// Shows `window` with Enter pressing `defaultButton` and Escape acting as its
// close box, then runs its loop as runWindowLoop does.
void runDialog(int window, int owner, int defaultButton, const std::function<void(int control)>& onControl);

// The last step of a secondary window: enable and focus the window it was opened
// from, close it, and clear closeRequested.
void endWindowLoop(int window, int owner);

} // namespace app
