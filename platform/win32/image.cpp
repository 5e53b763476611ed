// Off-screen images as DIB sections, fonts and drawing. Rectangles, masks and
// lines are rasterised by raster.h into the section's own memory, as in the Qt
// backend, so both give the same pixels; GDI draws only text.
#include "platform/images.h"
#include "platform/raster.h"
#include "platform/win32/internal.h"

#include <algorithm>
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
    if (win32::Canvas* c = canvasFor(id))
        raster::fillRect(*c, x, y, w, h, wordOf(color));
}

void fillMask(int id, int x, int y, const uint64_t* mask, int columns, int words, Color color)
{
    if (win32::Canvas* c = canvasFor(id))
        raster::fillMask(*c, x, y, mask, columns, words, wordOf(color));
}

void drawLine(int id, int x1, int y1, int x2, int y2, Color color)
{
    if (win32::Canvas* c = canvasFor(id))
        raster::drawLine(*c, x1, y1, x2, y2, wordOf(color));
}

Color pixel(int id, int x, int y)
{
    win32::Canvas* c = canvasFor(id);
    if (!c || x < 0 || y < 0 || x >= c->width || y >= c->height)
        return 0;
    uint32_t word = c->bits[y * c->stride + x];
    return rgb(static_cast<int>(word >> 16 & 0xFF), static_cast<int>(word >> 8 & 0xFF), static_cast<int>(word & 0xFF));
}

std::vector<unsigned char> imageRgb(int id)
{
    win32::Canvas* c = canvasFor(id);
    if (!c)
        return {};
    std::vector<unsigned char> bytes;
    bytes.reserve(static_cast<size_t>(c->width) * static_cast<size_t>(c->height) * 3);
    for (int y = 0; y < c->height; ++y) {
        for (int x = 0; x < c->width; ++x) {
            const uint32_t word = c->bits[y * c->stride + x];
            bytes.push_back(static_cast<unsigned char>(word >> 16 & 0xFF));
            bytes.push_back(static_cast<unsigned char>(word >> 8 & 0xFF));
            bytes.push_back(static_cast<unsigned char>(word & 0xFF));
        }
    }
    return bytes;
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
