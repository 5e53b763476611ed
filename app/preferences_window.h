// preferences_window.h: the Preferences window (Settings > Preferences).
//
// The user picks the two curve colours, the temperature scale and the plotting
// style. Every change is drawn on the graph and written to the settings file at
// once, so closing the window by its close box loses nothing; "Ok" saves once
// more and closes. A cancelled colour chooser changes and saves nothing. A
// settings file that cannot be written is not reported.
#pragma once

namespace app {

// Opens the Preferences window and runs its loop until "Ok" or a close request.
void openPreferencesWindow();

} // namespace app
