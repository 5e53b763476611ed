#include "app/about_window.h"

#include "app/ids.h"
#include "app/state.h"
#include "app/window_loop.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/window.h"

namespace app {

namespace {

void onAboutControl(int control)
{
    switch (control) {
    case webLink: platform::openWebAddress(projectWebAddress); break;
    case okButton: state().closeRequested = 1; break;
    default: break;
    }
}

void buildAboutWindow()
{
    const int w = aboutWindow;
    platform::openWindow({w, mainWindow, "About", {240, 290}, true, platform::StyleFixed});
    platform::createImageView(w, logoView, {20, 20, 200, 101});
    platform::setControlImage(logoView, logoImage);
    platform::setAccessibleName(logoView, "Climadesk logo");
    platform::createFrame(w, aboutFrame, "", {10, 140, 220, 140});
    platform::createText(w, aboutTextView, state().aboutText, {20, 150, 200, 100}, platform::Align::Center);
    platform::createHyperlink(w, webLink, projectWebAddressText, {20, 250, 100, 20});
    platform::createButton(w, okButton, "Ok", {160, 250, 60, 20});
}

} // namespace

void openAboutWindow()
{
    buildAboutWindow();
    runDialog(aboutWindow, mainWindow, okButton, onAboutControl);
}

} // namespace app
