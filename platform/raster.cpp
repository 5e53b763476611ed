// Rasterising into a plain pixel buffer, shared by the backends' images.
#include "platform/raster.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

namespace platform::raster {

namespace {

void plot(const Canvas& c, int x, int y, uint32_t value)
{
    if (x >= 0 && y >= 0 && x < c.width && y < c.height)
        c.bits[y * c.stride + x] = value;
}

// Transposes a 64 x 64 bit matrix in place (bit c of a[r] is element r, c):
// swaps ever smaller blocks across the diagonal, 32 x 32 down to 1 x 1.
void transpose64(uint64_t a[64])
{
    uint64_t m = 0x00000000FFFFFFFF;
    for (int j = 32; j != 0; j >>= 1, m ^= m << j)
        for (int k = 0; k < 64; k = ((k | j) + 1) & ~j) {
            uint64_t t = ((a[k] >> j) ^ a[k | j]) & m;
            a[k | j] ^= t;
            a[k] ^= t << j;
        }
}

// Fills the runs of set bits of `bits`, bit i being pixel x + i of `row`.
void fillRuns(const Canvas& c, long long row, long long x, uint64_t bits, uint32_t value)
{
    if (row < 0 || row >= c.height)
        return;
    uint32_t* line = c.bits + row * c.stride;
    while (bits != 0) {
        int from = std::countr_zero(bits);
        int to = from + std::countr_one(bits >> from);
        long long left = std::max<long long>(x + from, 0), right = std::min<long long>(x + to, c.width);
        if (left < right)
            std::fill(line + left, line + right, value);
        bits = to == 64 ? 0 : bits & (~uint64_t{0} << to);
    }
}

// Cuts a very long line down to the part that can touch the canvas (plus a
// pixel of margin), so that drawing it never walks billions of pixels. Lines of
// ordinary length are drawn exactly as given. False when nothing is left.
bool clipLongLine(const Canvas& c, int& x1, int& y1, int& x2, int& y2)
{
    constexpr long long longLine = 1 << 16;
    if (std::max(std::llabs(static_cast<long long>(x2) - x1), std::llabs(static_cast<long long>(y2) - y1)) <= longLine)
        return true;
    double t0 = 0, t1 = 1;
    double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {x1 + 1.0, c.width - x1 + 0.0, y1 + 1.0, c.height - y1 + 0.0};
    for (int i = 0; i < 4; ++i) {   // Liang-Barsky against [-1, w] x [-1, h]
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return false;
    int cx1 = static_cast<int>(std::lround(x1 + t0 * dx)), cy1 = static_cast<int>(std::lround(y1 + t0 * dy));
    x2 = static_cast<int>(std::lround(x1 + t1 * dx));
    y2 = static_cast<int>(std::lround(y1 + t1 * dy));
    x1 = cx1;
    y1 = cy1;
    return true;
}

} // namespace

void fillRect(const Canvas& c, int x, int y, int w, int h, uint32_t value)
{
    int left = std::max(x, 0), top = std::max(y, 0);
    int right = static_cast<int>(std::min<long long>(static_cast<long long>(x) + w, c.width));
    int bottom = static_cast<int>(std::min<long long>(static_cast<long long>(y) + h, c.height));
    for (int row = top; row < bottom && left < right; ++row) {
        uint32_t* line = c.bits + row * c.stride;
        std::fill(line + left, line + right, value);
    }
}

void fillMask(const Canvas& c, int x, int y, const uint64_t* mask, int columns, int words, uint32_t value)
{
    // Blocks of 64 columns by 64 rows, turned so that each row is a word: the
    // pixels are written row by row, in runs.
    uint64_t block[64];
    for (long long w = 0; w < words; ++w)
        for (long long left = 0; left < columns; left += 64) {
            uint64_t any = 0;
            for (long long i = 0; i < 64; ++i) {
                block[i] = left + i < columns ? mask[w * columns + left + i] : 0;
                any |= block[i];
            }
            if (any == 0)
                continue;
            transpose64(block);
            for (long long j = 0; j < 64; ++j)
                fillRuns(c, y + 64 * w + j, x + left, block[j], value);
        }
}

void drawLine(const Canvas& c, int x1, int y1, int x2, int y2, uint32_t value)
{
    // A line wholly beyond one side of the canvas draws nothing.
    if ((x1 < 0 && x2 < 0) || (y1 < 0 && y2 < 0) || (x1 >= c.width && x2 >= c.width) || (y1 >= c.height && y2 >= c.height))
        return;
    if (!clipLongLine(c, x1, y1, x2, y2))
        return;
    if (x1 == x2) {   // the common case of dense records: one column, as Bresenham plots it
        if (x1 < 0 || x1 >= c.width)
            return;
        int top = std::max(std::min(y1, y2), 0), bottom = std::min(std::max(y1, y2), c.height - 1);
        for (uint32_t* p = c.bits + top * c.stride + x1; top <= bottom; ++top, p += c.stride)
            *p = value;
        return;
    }
    long long dx = std::llabs(static_cast<long long>(x2) - x1), dy = -std::llabs(static_cast<long long>(y2) - y1);
    int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    long long error = dx + dy;
    int x = x1, y = y1;
    for (;;) {
        plot(c, x, y, value);
        if (x == x2 && y == y2)
            break;
        long long twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

} // namespace platform::raster
