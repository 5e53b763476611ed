#include "app/window_loop.h"

#include "app/state.h"
#include "platform/events.h"
#include "platform/window.h"

namespace app {

void runWindowLoop(int window, int owner, const std::function<void(int control)>& onControl)
{
    while (state().closeRequested != 1) {
        platform::Event event = platform::waitEvent(-1);
        if (event.kind == platform::EventKind::CloseRequest)
            state().closeRequested = 1;
        else if (event.kind == platform::EventKind::Control && event.window == window)
            onControl(event.id);
    }
    endWindowLoop(window, owner);
}

void runDialog(int window, int owner, int defaultButton, const std::function<void(int control)>& onControl)
{
    platform::setDialogKeys(window, defaultButton);
    platform::showWindow(window, platform::WindowShow::Normal);
    runWindowLoop(window, owner, onControl);
}

void endWindowLoop(int window, int owner)
{
    platform::enableWindow(owner, true);
    platform::focusWindow(owner);
    platform::closeWindow(window);
    state().closeRequested = 0;
}

} // namespace app
