// about_window.h: the About window (Help > About...).
//
// Shows the logo, the program's about text and a link to the project's web page,
// which opens in the default browser on every click while the window stays open.
// A browser that does not start is not reported.
#pragma once

namespace app {

// The project's web page, opened by the link, and the address the link shows
// (short enough for the link's 100 pixels). A placeholder under example.com
// until the project has a page of its own.
constexpr const char* projectWebAddress = "https://www.example.com/";
constexpr const char* projectWebAddressText = "www.example.com";

// Opens the About window and runs its loop until "Ok" or a close request.
void openAboutWindow();

} // namespace app
