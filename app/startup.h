// startup.h: the program from start to end.
//
// startUp prepares all state and builds the main window; mainLoop (main_loop.h)
// then runs until "Exit" or the main window's close box; shutDown releases the
// platform. Nothing is saved or asked at exit: the settings are saved when they
// change, and the records in memory are discarded.
#pragma once

namespace app {

void startUp();
// Creates the program's fonts (readings, print title, graph); startUp does it,
// and so must anything that draws the graph without the windows.
void loadFonts();
void shutDown();

// startUp, mainLoop, shutDown; returns the exit code 0.
int run();

} // namespace app
