// memory.cpp: transparent huge pages on Linux; no hint on Windows.
#include "platform/memory.h"

#include <cstdint>
#ifndef _WIN32
#include <sys/mman.h>
#endif

namespace platform {

void adviseLargePages(void* start, size_t bytes)
{
#if defined(MADV_HUGEPAGE)
    constexpr uintptr_t largePage = uintptr_t{1} << 21;
    const uintptr_t first = (reinterpret_cast<uintptr_t>(start) + largePage - 1) & ~(largePage - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(start) + bytes) & ~(largePage - 1);
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    (void)start;
    (void)bytes;
#endif
}

} // namespace platform
