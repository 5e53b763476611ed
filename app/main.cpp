// Climadesk: opens its window and waits until it is closed.
#include "platform/events.h"
#include "platform/window.h"

int main()
{
    platform::init();
    platform::openWindow({0, platform::noOwner, "Climadesk", {800, 600}, false,
                          platform::StyleSizable | platform::StyleMinimizeBox | platform::StyleMaximizeBox});
    platform::showWindow(0, platform::WindowShow::Maximized);
    for (;;) {
        platform::Event e = platform::waitEvent(-1);
        if (e.kind == platform::EventKind::CloseRequest)
            break;
    }
    platform::shutdown();
    return 0;
}
