// raster.h: rectangles, bit masks and one-pixel lines drawn into a buffer of
// 32-bit pixels, for the backends' off-screen images, so that both give the same
// pixels. The caller turns the colour into its buffer's word. Never included
// outside platform/.
#pragma once

#include <cstdint>

namespace platform::raster {

// A buffer of `height` rows of `width` pixels, `stride` words apart, top row
// first.
struct Canvas {
    uint32_t* bits;
    long long stride;
    int width, height;
};

// Each draws only what falls inside the canvas.
// The `w` x `h` rectangle at (x, y).
void fillRect(const Canvas& c, int x, int y, int w, int h, uint32_t value);
// The set bits of `mask`, laid out as for platform::fillMask (images.h).
void fillMask(const Canvas& c, int x, int y, const uint64_t* mask, int columns, int words, uint32_t value);
// Bresenham's line from (x1, y1) to (x2, y2), both end points drawn.
void drawLine(const Canvas& c, int x1, int y1, int x2, int y2, uint32_t value);

} // namespace platform::raster
