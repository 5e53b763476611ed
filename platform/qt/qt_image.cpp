// Off-screen images, fonts and drawing. Rectangles and lines are rasterised here
// pixel by pixel; the toolkit only draws text.
#include "platform/images.h"
#include "platform/qt/qt_internal.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <map>

namespace platform {

namespace {

struct ImageState {
    std::map<int, QImage> images;
    // Per image, the buffer a control showed until it took a newer picture: a
    // fill of the whole image draws there instead of copying what it covers.
    std::map<int, QImage> spares;
    std::map<int, QFont> fonts;
};

ImageState state;

QRgb toQt(Color color)
{
    return qRgb(static_cast<int>(color & 0xFF), static_cast<int>(color >> 8 & 0xFF), static_cast<int>(color >> 16 & 0xFF));
}

Color fromQt(QRgb pixel)
{
    return rgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

// An image's pixels for one drawing operation: one detach, no call per pixel.
struct Canvas {
    QRgb* bits;
    qsizetype stride;
    int width, height;
};

Canvas canvasOf(QImage& image)
{
    return {reinterpret_cast<QRgb*>(image.bits()), image.bytesPerLine() / 4, image.width(), image.height()};
}

void plot(const Canvas& c, int x, int y, QRgb value)
{
    if (x >= 0 && y >= 0 && x < c.width && y < c.height)
        c.bits[y * c.stride + x] = value;
}

// Swaps an image whose pixels a control shares for its spare buffer (made anew
// when the control still holds that one too), so the fill about to cover every
// pixel copies none.
void takeSpare(int id, QImage& image)
{
    QImage& spare = state.spares[id];
    if (spare.size() != image.size() || spare.format() != image.format() || !spare.isDetached())
        spare = QImage(image.size(), image.format());
    std::swap(image, spare);
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
void fillRuns(const Canvas& c, long long row, long long x, uint64_t bits, QRgb value)
{
    if (row < 0 || row >= c.height)
        return;
    QRgb* line = c.bits + row * c.stride;
    while (bits != 0) {
        int from = std::countr_zero(bits);
        int to = from + std::countr_one(bits >> from);
        long long left = std::max<long long>(x + from, 0), right = std::min<long long>(x + to, c.width);
        if (left < right)
            std::fill(line + left, line + right, value);
        bits = to == 64 ? 0 : bits & (~uint64_t{0} << to);
    }
}

int screenDpiY()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(screen->logicalDotsPerInchY()) : 96;
}

const QFont* fontOf(int id)
{
    auto it = state.fonts.find(id);
    return it == state.fonts.end() ? nullptr : &it->second;
}

} // namespace

void createImage(int id, int width, int height)
{
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    image.fill(Qt::black);
    state.images[id] = image;
    state.spares.erase(id);
}

void freeImage(int id)
{
    state.images.erase(id);
    state.spares.erase(id);
}

bool imageExists(int id)
{
    return state.images.count(id) != 0;
}

Size imageSize(int id)
{
    QImage* image = qt::imageOf(id);
    return image ? Size{image->width(), image->height()} : Size{0, 0};
}

void fillRect(int id, int x, int y, int w, int h, Color color)
{
    QImage* image = qt::imageOf(id);
    if (!image)
        return;
    int left = std::max(x, 0), top = std::max(y, 0);
    int right = static_cast<int>(std::min<long long>(static_cast<long long>(x) + w, image->width()));
    int bottom = static_cast<int>(std::min<long long>(static_cast<long long>(y) + h, image->height()));
    QRgb value = toQt(color);
    if (top >= bottom || left >= right)
        return;
    if (left == 0 && top == 0 && right == image->width() && bottom == image->height() && !image->isDetached())
        takeSpare(id, *image);
    Canvas c = canvasOf(*image);
    for (int row = top; row < bottom; ++row) {
        QRgb* line = c.bits + row * c.stride;
        std::fill(line + left, line + right, value);
    }
}

void fillMask(int id, int x, int y, const uint64_t* mask, int columns, int words, Color color)
{
    QImage* image = qt::imageOf(id);
    if (!image)
        return;
    QRgb value = toQt(color);
    Canvas c = canvasOf(*image);
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

namespace {

// Cuts a very long line down to the part that can touch the image (plus a
// pixel of margin), so that drawing it never walks billions of pixels. Lines of
// ordinary length are drawn exactly as given. False when nothing is left.
bool clipLongLine(const QImage& image, int& x1, int& y1, int& x2, int& y2)
{
    constexpr long long longLine = 1 << 16;
    if (std::max(std::llabs(static_cast<long long>(x2) - x1), std::llabs(static_cast<long long>(y2) - y1)) <= longLine)
        return true;
    double t0 = 0, t1 = 1;
    double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {x1 + 1.0, image.width() - x1 + 0.0, y1 + 1.0, image.height() - y1 + 0.0};
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

// Bresenham's line from (x1, y1) to (x2, y2), both end points drawn.
void drawLine(int id, int x1, int y1, int x2, int y2, Color color)
{
    QImage* image = qt::imageOf(id);
    if (!image)
        return;
    // A line wholly beyond one side of the image draws nothing.
    if ((x1 < 0 && x2 < 0) || (y1 < 0 && y2 < 0) || (x1 >= image->width() && x2 >= image->width())
        || (y1 >= image->height() && y2 >= image->height()))
        return;
    if (!clipLongLine(*image, x1, y1, x2, y2))
        return;
    QRgb value = toQt(color);
    if (x1 == x2) {   // the common case of dense records: one column, as Bresenham plots it
        if (x1 < 0 || x1 >= image->width())
            return;
        Canvas c = canvasOf(*image);
        int top = std::max(std::min(y1, y2), 0), bottom = std::min(std::max(y1, y2), c.height - 1);
        for (QRgb* p = c.bits + top * c.stride + x1; top <= bottom; ++top, p += c.stride)
            *p = value;
        return;
    }
    long long dx = std::llabs(static_cast<long long>(x2) - x1), dy = -std::llabs(static_cast<long long>(y2) - y1);
    int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    long long error = dx + dy;
    int x = x1, y = y1;
    Canvas c = canvasOf(*image);
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

Color pixel(int id, int x, int y)
{
    QImage* image = qt::imageOf(id);
    if (!image || x < 0 || y < 0 || x >= image->width() || y >= image->height())
        return 0;
    return fromQt(image->pixel(x, y));
}

std::vector<unsigned char> imageRgb(int id)
{
    QImage* image = qt::imageOf(id);
    if (!image)
        return {};
    const QImage copy = image->convertToFormat(QImage::Format_RGB888);
    const size_t row = static_cast<size_t>(copy.width()) * 3;
    std::vector<unsigned char> bytes(row * static_cast<size_t>(copy.height()));
    for (int y = 0; y < copy.height(); ++y)
        std::copy_n(copy.constScanLine(y), row, bytes.begin() + static_cast<std::ptrdiff_t>(row * static_cast<size_t>(y)));
    return bytes;
}

void createFont(int id, const std::string& family, int points, bool bold)
{
    QFont font(qt::fromCp1252(family));
    font.setPixelSize(std::max(1, points * screenDpiY() / 72));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    // Crisp text like the screen fonts of the original target: every pixel is
    // either the front or the back colour.
    font.setStyleStrategy(QFont::NoAntialias);
    state.fonts[id] = font;
}

int fontHeight(int id)
{
    const QFont* font = fontOf(id);
    return font ? font->pixelSize() : 0;
}

int textWidth(int id, const std::string& text)
{
    const QFont* font = fontOf(id);
    return font ? QFontMetrics(*font).horizontalAdvance(qt::fromCp1252(text)) : 0;
}

void drawText(int id, int fontId, int x, int y, const std::string& text, Color front, Color back)
{
    QImage* image = qt::imageOf(id);
    const QFont* font = fontOf(fontId);
    if (!image || !font || text.empty())
        return;
    QFontMetrics metrics(*font);
    QString value = qt::fromCp1252(text);
    fillRect(id, x, y, metrics.horizontalAdvance(value), metrics.height(), back);
    QPainter painter(image);
    painter.setFont(*font);
    painter.setPen(QColor(toQt(front)));
    painter.drawText(x, y + metrics.ascent(), value);
}

namespace qt {

QImage* imageOf(int id)
{
    auto it = state.images.find(id);
    return it == state.images.end() ? nullptr : &it->second;
}

void forgetAllImages()
{
    state.images.clear();
    state.spares.clear();
    state.fonts.clear();
}

} // namespace qt

} // namespace platform
