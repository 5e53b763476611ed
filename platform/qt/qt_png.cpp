// PNG files of off-screen images, encoded with libpng.
//
// The toolkit's own PNG writer tries every row filter at its default compression,
// which takes several times longer than drawing a graph. A graph is mostly flat
// colour with horizontal grid lines: the "up" filter and run-length compression
// suit it, at a fraction of the time and a file of about the same size.
#include "platform/file.h"
#include "platform/images.h"
#include "platform/qt/qt_internal.h"

#include <QImage>

#include <new>
#include <string>

#include <png.h>
#include <zlib.h>

namespace platform {

namespace {

// Failures go back to the caller through png_error, never as an exception
// through libpng.
void appendBytes(png_structp png, png_bytep data, size_t length)
{
    bool appended = true;
    try {
        static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
    } catch (const std::bad_alloc&) {
        appended = false;
    }
    if (!appended)
        png_error(png, "out of memory");
}

void noFlush(png_structp) {}

// The caller reports the failure; libpng says nothing of its own.
[[noreturn]] void failQuietly(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void warnQuietly(png_structp, png_const_charp) {}

// Writes an RGB32 image (0xffRRGGBB words) as PNG to `bytes`; false when libpng
// fails. libpng reports a failure by a long jump back into this frame, which
// skips destructors: nothing here but plain values and pointers.
bool writePng(png_structp png, png_infop info, const QImage& picture, std::string* bytes)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, bytes, appendBytes, noFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width()), static_cast<png_uint_32>(picture.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_level(png, 1);
    png_set_compression_strategy(png, Z_RLE);
    png_write_info(png, info);
    // In memory each pixel is the word 0xffRRGGBB; rows go out as R, G, B.
    if (QSysInfo::ByteOrder == QSysInfo::LittleEndian)
        png_set_bgr(png);
    png_set_filler(png, 0, QSysInfo::ByteOrder == QSysInfo::LittleEndian ? PNG_FILLER_AFTER : PNG_FILLER_BEFORE);
    for (int y = 0; y < picture.height(); ++y)
        png_write_row(png, picture.constScanLine(y));
    png_write_end(png, info);
    return true;
}

// The PNG bytes of an RGB32 image, or "" when libpng fails.
std::string encodePng(const QImage& picture)
{
    std::string bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, failQuietly, warnQuietly);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool written = info && writePng(png, info, picture, &bytes);
    png_destroy_write_struct(&png, &info);
    if (!written)
        bytes.clear();
    return bytes;
}

} // namespace

bool writeImagePng(int image, const std::string& path)
{
    QImage* picture = qt::imageOf(image);
    if (!picture)
        return false;
    // Encoded in memory first, so that only a whole file ever replaces the old one.
    const std::string bytes = encodePng(picture->convertToFormat(QImage::Format_RGB32));
    return !bytes.empty() && replaceFile(path, bytes);
}

} // namespace platform
