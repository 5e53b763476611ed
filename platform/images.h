// images.h: off-screen images, fonts and the drawing operations on them.
//
// Images are 24-bit colour pixel buffers addressed by id. Lines, rectangles and
// masks are rasterised here pixel by pixel, so every pixel they cover is known;
// all are clipped at the image border. Filling a whole image never copies the
// pixels it replaces, even while a control still shows them. Text is drawn by
// the toolkit in a font created by id; its top-left corner is placed at (x, y).
// Font sizes are points, turned into a pixel height of points * vertical screen
// dpi / 72.
#pragma once

#include "platform/platform.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Creates (or re-creates) image `id`, filled black. Sizes below 1 become 1.
void createImage(int id, int width, int height);
void freeImage(int id);
bool imageExists(int id);
Size imageSize(int id);

// Fills the pixels x .. x + w - 1, y .. y + h - 1.
void fillRect(int image, int x, int y, int w, int h, Color color);
// Fills the pixels of a mask of `columns` pixel columns from x, each column in
// `words` words of 64 rows from y: pixel (x + i, y + 64 * w + j) when bit j of
// mask[w * columns + i] is set. Painted in bands of 64 rows, so that the
// pixels a band touches stay in the caches.
void fillMask(int image, int x, int y, const uint64_t* mask, int columns, int words, Color color);
// One-pixel line, both end points included.
void drawLine(int image, int x1, int y1, int x2, int y2, Color color);
Color pixel(int image, int x, int y);
// Every pixel, rows top first, each as three bytes red, green, blue; empty for
// an image that does not exist.
std::vector<unsigned char> imageRgb(int image);
// Writes the image as the PNG file `path` through replaceFile (file.h): false,
// and no file or the old one intact, when it cannot.
bool writeImagePng(int image, const std::string& path);

void createFont(int id, const std::string& family, int points, bool bold);
// Pixel height of the font's characters (the points rule above).
int fontHeight(int font);
int textWidth(int font, const std::string& text);
// Text in `front` on an opaque `back` box as high as the font's line.
void drawText(int image, int font, int x, int y, const std::string& text, Color front, Color back);

// Decodes a JPEG held in memory into image `id`, created at the picture's size.
// Returns false (and leaves no image) when the data is not a JPEG it can read.
bool decodeJpeg(int id, const unsigned char* data, size_t size);

} // namespace platform
