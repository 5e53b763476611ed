// Tests of the millisecond clock.
#include "platform/clock.h"

#include <gtest/gtest.h>

TEST(Clock, NeverGoesBackwardsAndAdvancesAcrossASleep)
{
    int64_t last = platform::milliseconds();
    for (int i = 0; i < 100000; ++i) {
        int64_t now = platform::milliseconds();
        ASSERT_GE(now, last);
        last = now;
    }

    int64_t before = platform::milliseconds();
    platform::sleepMilliseconds(20);
    EXPECT_GE(platform::milliseconds() - before, 20);
}
