#include "app/startup.h"

#include "analysis/statistics.h"
#include "app/ids.h"
#include "app/main_loop.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "app/state.h"
#include "assets/assets.h"
#include "device/link.h"
#include "graph/graph.h"
#include "graph/timewindow.h"
#include "platform/controls.h"
#include "platform/events.h"
#include "platform/images.h"
#include "records/store.h"

namespace app {

namespace {

// Eight lines, each ended by a line feed; lines 3, 4 and 8 are empty.
const char* const aboutLines =
    "Climadesk\n"
    "Version 1.0\n"
    "\n"
    "\n"
    "Contact your Ostrel distributor for:  \n"
    "- special version of this software\n"
    "- new upgrade\n"
    "\n";

void createImages()
{
    platform::createImage(humiditySwatch, 20, 10);
    platform::createImage(temperatureSwatch, 20, 10);
    platform::createImage(logoImage, 200, 101);
}

void decodeLogo()
{
    assets::Blob logo = assets::logoJpeg();
    platform::decodeJpeg(logoImage, logo.data, logo.size);
}

} // namespace

void loadFonts()
{
    platform::createFont(readingFont, "Arial", 40, true);
    platform::createFont(printTitleFont, "Arial", 20, true);
    platform::createFont(graphFont, "Arial", 10, true);
}

void startUp()
{
    resetState();
    platform::init();
    records::resetStore();
    state().aboutText = aboutLines;
    device::startLink();
    loadFonts();
    createImages();
    loadSettings(settingsFileName);
    graph::paintSwatches();
    graph::resetTimeWindow();
    buildMainWindow();
    analysis::refreshStatistics();
    platform::setScrollHook(mainWindowCallback);
    platform::setMouseWakeWindow(mainWindow);
    decodeLogo();
}

void shutDown()
{
    platform::setScrollHook(nullptr);
    platform::shutdown();
}

int run()
{
    startUp();
    mainLoop();
    shutDown();
    return 0;
}

} // namespace app
