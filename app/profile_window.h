// profile_window.h: the RH Profile window (profileButton).
#pragma once

namespace app {

// Opens the RH Profile window over the whole store (its range is reset to the
// first and last record at every opening), fills the profile, and runs the
// window's loop until "Ok" or a close request.
void openProfileWindow();

} // namespace app
