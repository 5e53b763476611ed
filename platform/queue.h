// queue.h: the backend's event queue, for the platform files both backends
// share. Never included outside platform/.
#pragma once

#include "platform/events.h"

namespace platform::queue {

// Appends `event` to the queue pollEvent and waitEvent pop, and wakes a waiting
// loop.
void push(Event event);

} // namespace platform::queue
