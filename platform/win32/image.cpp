// Off-screen images as DIB sections, fonts and drawing. Rectangles, masks and
// lines are rasterised here pixel by pixel into the section's own memory, by the
// same rules as the Qt backend, so both give the same pixels; GDI draws only text.
#include "platform/images.h"
#include "platform/win32/internal.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <map>

namespace platform {

namespace {

struct ImageRecord {
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;   // what the DC held before the section
    HDC dc = nullptr;
    win32::Canvas canvas{};
};

struct FontRecord {
    HFONT font;
    int pixels;
};

struct ImageState {
    std::map<int, ImageRecord> images;
    std::map<int, FontRecord> fonts;
    HDC measuring = nullptr;   // selects fonts for their metrics
};

ImageState state;

uint32_t wordOf(Color color)
{
    return (color & 0xFF) << 16 | (color & 0xFF00) | (color >> 16 & 0xFF);
}

ImageRecord* find(int id)
{
    auto it = state.images.find(id);
    return it == state.images.end() ? nullptr : &it->second;
}

void release(ImageRecord& record)
{
    SelectObject(record.dc, record.previous);
    DeleteDC(record.dc);
    DeleteObject(record.bitmap);
}

// The pixels for one drawing operation; GDI's pending text is written first.
win32::Canvas* canvasFor(int id)
{
    ImageRecord* record = find(id);
    if (!record)
        return nullptr;
    GdiFlush();
    return &record->canvas;
}

void plot(const win32::Canvas& c, int x, int y, uint32_t value)
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
void fillRuns(const win32::Canvas& c, long long row, long long x, uint64_t bits, uint32_t value)
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

// Cuts a very long line down to the part that can touch the image (plus a
// pixel of margin), so that drawing it never walks billions of pixels. Lines of
// ordinary length are drawn exactly as given. False when nothing is left.
bool clipLongLine(const win32::Canvas& c, int& x1, int& y1, int& x2, int& y2)
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

const FontRecord* fontOf(int id)
{
    auto it = state.fonts.find(id);
    return it == state.fonts.end() ? nullptr : &it->second;
}

HDC measuringDc()
{
    if (!state.measuring)
        state.measuring = CreateCompatibleDC(nullptr);
    return state.measuring;
}

TEXTMETRICW metricsOf(HFONT font)
{
    HDC dc = measuringDc();
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    return metrics;
}

int widthOf(HFONT font, const std::wstring& text)
{
    HDC dc = measuringDc();
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    return size.cx;
}

} // namespace

void createImage(int id, int width, int height)
{
    freeImage(id);
    ImageRecord record;
    uint32_t* bits = nullptr;
    width = std::max(width, 1);
    height = std::max(height, 1);
    record.bitmap = win32::createDib(width, height, &bits);
    if (!record.bitmap)
        return;
    record.dc = CreateCompatibleDC(nullptr);
    record.previous = SelectObject(record.dc, record.bitmap);
    record.canvas = {bits, width, width, height};   // a new section is all zeros: black
    state.images[id] = record;
}

void freeImage(int id)
{
    if (ImageRecord* record = find(id)) {
        release(*record);
        state.images.erase(id);
    }
}

bool imageExists(int id)
{
    return find(id) != nullptr;
}

Size imageSize(int id)
{
    ImageRecord* record = find(id);
    return record ? Size{record->canvas.width, record->canvas.height} : Size{0, 0};
}

void fillRect(int id, int x, int y, int w, int h, Color color)
{
    win32::Canvas* c = canvasFor(id);
    if (!c)
        return;
    int left = std::max(x, 0), top = std::max(y, 0);
    int right = static_cast<int>(std::min<long long>(static_cast<long long>(x) + w, c->width));
    int bottom = static_cast<int>(std::min<long long>(static_cast<long long>(y) + h, c->height));
    uint32_t value = wordOf(color);
    for (int row = top; row < bottom && left < right; ++row) {
        uint32_t* line = c->bits + row * c->stride;
        std::fill(line + left, line + right, value);
    }
}

void fillMask(int id, int x, int y, const uint64_t* mask, int columns, int words, Color color)
{
    win32::Canvas* c = canvasFor(id);
    if (!c)
        return;
    uint32_t value = wordOf(color);
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
                fillRuns(*c, y + 64 * w + j, x + left, block[j], value);
        }
}

// Bresenham's line from (x1, y1) to (x2, y2), both end points drawn.
void drawLine(int id, int x1, int y1, int x2, int y2, Color color)
{
    win32::Canvas* canvas = canvasFor(id);
    if (!canvas)
        return;
    const win32::Canvas& c = *canvas;
    // A line wholly beyond one side of the image draws nothing.
    if ((x1 < 0 && x2 < 0) || (y1 < 0 && y2 < 0) || (x1 >= c.width && x2 >= c.width) || (y1 >= c.height && y2 >= c.height))
        return;
    if (!clipLongLine(c, x1, y1, x2, y2))
        return;
    uint32_t value = wordOf(color);
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

Color pixel(int id, int x, int y)
{
    win32::Canvas* c = canvasFor(id);
    if (!c || x < 0 || y < 0 || x >= c->width || y >= c->height)
        return 0;
    uint32_t word = c->bits[y * c->stride + x];
    return rgb(static_cast<int>(word >> 16 & 0xFF), static_cast<int>(word >> 8 & 0xFF), static_cast<int>(word & 0xFF));
}

void createFont(int id, const std::string& family, int points, bool bold)
{
    auto it = state.fonts.find(id);
    if (it != state.fonts.end()) {
        DeleteObject(it->second.font);
        state.fonts.erase(it);
    }
    int pixels = std::max(1, points * win32::screenDpiY() / 72);
    // Crisp text like the screen fonts of the original target: every pixel is
    // either the front or the back colour.
    HFONT font = CreateFontW(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH,
                             win32::fromCp1252(family).c_str());
    if (font)
        state.fonts[id] = FontRecord{font, pixels};
}

int fontHeight(int id)
{
    const FontRecord* font = fontOf(id);
    return font ? font->pixels : 0;
}

int textWidth(int id, const std::string& text)
{
    const FontRecord* font = fontOf(id);
    return font ? widthOf(font->font, win32::fromCp1252(text)) : 0;
}

void drawText(int id, int fontId, int x, int y, const std::string& text, Color front, Color back)
{
    ImageRecord* image = find(id);
    const FontRecord* font = fontOf(fontId);
    if (!image || !font || text.empty())
        return;
    std::wstring value = win32::fromCp1252(text);
    TEXTMETRICW metrics = metricsOf(font->font);
    fillRect(id, x, y, widthOf(font->font, value), metrics.tmHeight, back);
    HGDIOBJ old = SelectObject(image->dc, font->font);
    SetBkMode(image->dc, TRANSPARENT);
    SetTextColor(image->dc, static_cast<COLORREF>(front & 0xFFFFFF));   // both red in the low byte
    SetTextAlign(image->dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
    TextOutW(image->dc, x, y, value.c_str(), static_cast<int>(value.size()));
    SelectObject(image->dc, old);
    GdiFlush();
}

namespace win32 {

HBITMAP createDib(int width, int height, uint32_t** bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;   // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    *bits = static_cast<uint32_t*>(memory);
    return bitmap;
}

HDC imageDc(int id)
{
    ImageRecord* record = find(id);
    return record ? record->dc : nullptr;
}

std::optional<Canvas> canvasOf(int id)
{
    Canvas* c = canvasFor(id);
    return c ? std::optional<Canvas>(*c) : std::nullopt;
}

void forgetAllImages()
{
    for (auto& [id, record] : state.images)
        release(record);
    state.images.clear();
    for (auto& [id, font] : state.fonts)
        DeleteObject(font.font);
    state.fonts.clear();
}

} // namespace win32

} // namespace platform
