// check.h: the fuzz targets' assertion. A property that does not hold aborts with
// the failed expression, so libFuzzer reports the input as a crash and keeps it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                           \
    do {                                                                                \
        if (!(condition)) {                                                             \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__,   \
                         #condition);                                                   \
            std::abort();                                                               \
        }                                                                               \
    } while (0)
