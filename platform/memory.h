// memory.h: hints about how the program uses its memory.
//
// A hint never changes what the memory holds, and nothing fails when the
// system ignores it.
#pragma once

#include <cstddef>

namespace platform {

// Asks for large pages (2 MiB where the system has them) for the whole pages
// inside `bytes` bytes from `start`, a buffer about to be filled from its
// start to its end: filling then takes a few page faults instead of one per 4 KiB.
void adviseLargePages(void* start, size_t bytes);

} // namespace platform
