// Off-screen images, fonts and drawing. Rectangles, masks and lines are
// rasterised by raster.h into the image's own pixels; the toolkit only draws text.
#include "platform/images.h"
#include "platform/qt/qt_internal.h"
#include "platform/raster.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>
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
raster::Canvas canvasOf(QImage& image)
{
    return {reinterpret_cast<uint32_t*>(image.bits()), image.bytesPerLine() / 4, image.width(), image.height()};
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
    bool whole = x <= 0 && y <= 0 && static_cast<long long>(x) + w >= image->width()
                 && static_cast<long long>(y) + h >= image->height();
    if (whole && !image->isDetached())
        takeSpare(id, *image);
    raster::fillRect(canvasOf(*image), x, y, w, h, toQt(color));
}

void fillMask(int id, int x, int y, const uint64_t* mask, int columns, int words, Color color)
{
    QImage* image = qt::imageOf(id);
    if (image)
        raster::fillMask(canvasOf(*image), x, y, mask, columns, words, toQt(color));
}

void drawLine(int id, int x1, int y1, int x2, int y2, Color color)
{
    QImage* image = qt::imageOf(id);
    if (image)
        raster::drawLine(canvasOf(*image), x1, y1, x2, y2, toQt(color));
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
