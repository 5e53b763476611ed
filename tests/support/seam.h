// seam.h: fixture for tests that use the platform layer in test mode.
//
// SetUp gives the test a fresh working directory, starts the platform layer and
// enters test mode; TearDown fails the test on any failure the layer saw (an
// unscripted dialog, an exhausted script) unless the test took them with
// takeFailures(), then shuts the layer down.
#pragma once

#include "support/workdir.h"

#include "platform/images.h"
#include "platform/platform.h"
#include "platform/testing.h"

#include <string>
#include <vector>

// The number of pixels of image `image` that differ from image `other`; -1 when
// their sizes differ.
inline int differingPixels(int image, int other)
{
    platform::Size size = platform::imageSize(image);
    if (size.width != platform::imageSize(other).width || size.height != platform::imageSize(other).height)
        return -1;
    int differing = 0;
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x)
            differing += platform::pixel(image, x, y) != platform::pixel(other, x, y);
    return differing;
}

class SeamTest : public WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        platform::init();
        platform::testing::begin();
    }

    void TearDown() override
    {
        for (size_t i = takenFailures; i < platform::testing::failures().size(); ++i)
            ADD_FAILURE() << "platform: " << platform::testing::failures()[i];
        platform::testing::end();
        platform::shutdown();
        WorkDirTest::TearDown();
    }

    // The failures seen so far, which TearDown then no longer reports.
    std::vector<std::string> takeFailures()
    {
        const auto& all = platform::testing::failures();
        std::vector<std::string> taken(all.begin() + static_cast<long>(takenFailures), all.end());
        takenFailures = all.size();
        return taken;
    }

private:
    size_t takenFailures = 0;
};
