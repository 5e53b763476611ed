// PNG files of off-screen images with libpng: written as the Qt backend writes
// them (the "up" filter and run-length compression suit a graph), and read for
// the program icon and the tests.
#include "platform/file.h"
#include "platform/images.h"
#include "platform/win32/internal.h"

#include <png.h>
#include <zlib.h>

#include <cstring>

namespace platform {

namespace {

void appendBytes(png_structp png, png_bytep data, size_t length)
{
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void noFlush(png_structp) {}

// The PNG bytes of a canvas (0x00RRGGBB words), or "" when libpng fails.
std::string encodePng(const win32::Canvas& c)
{
    std::string bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return bytes;
    }
    // libpng reports its failures by a long jump back here.
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return std::string();
    }
    png_set_write_fn(png, &bytes, appendBytes, noFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(c.width), static_cast<png_uint_32>(c.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_level(png, 1);
    png_set_compression_strategy(png, Z_RLE);
    png_write_info(png, info);
    // In memory each pixel is B, G, R and a spare byte.
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < c.height; ++y)
        png_write_row(png, reinterpret_cast<png_const_bytep>(c.bits + y * c.stride));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

struct Reader {
    const std::string& bytes;
    size_t at;
};

void readBytes(png_structp png, png_bytep data, size_t length)
{
    auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
    if (reader->bytes.size() - reader->at < length)
        png_error(png, "truncated");
    std::memcpy(data, reader->bytes.data() + reader->at, length);
    reader->at += length;
}

// Limits that keep a hostile header from asking for gigabytes.
constexpr png_uint_32 maxSide = 16384;

} // namespace

bool writeImagePng(int image, const std::string& path)
{
    std::optional<win32::Canvas> canvas = win32::canvasOf(image);
    if (!canvas)
        return false;
    // Encoded in memory first, so that only a whole file ever replaces the old one.
    const std::string bytes = encodePng(*canvas);
    return !bytes.empty() && replaceFile(path, bytes);
}

namespace win32 {

bool decodePng(const std::string& bytes, std::vector<uint32_t>& pixels, int& width, int& height)
{
    if (bytes.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8) != 0)
        return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    Reader reader{bytes, 0};
    std::vector<png_bytep> rows;   // before setjmp: a longjmp must not skip its destructor
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        pixels.clear();
        return false;
    }
    png_set_read_fn(png, &reader, readBytes);
    png_read_info(png, info);
    png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    if (w == 0 || h == 0 || w > maxSide || h > maxSide)
        png_error(png, "size");
    // Whatever the file holds becomes 8-bit B, G, R, A: the words 0xAARRGGBB.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    pixels.assign(static_cast<size_t>(w) * h, 0);
    rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y)
        rows[y] = reinterpret_cast<png_bytep>(pixels.data() + static_cast<size_t>(y) * w);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

} // namespace win32

} // namespace platform
