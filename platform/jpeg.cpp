// JPEG decoding with libjpeg from memory (jpeg_mem_src). Errors longjmp back
// here instead of ending the process, so bad data gives false.
#include "platform/images.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace platform {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void onError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void ignoreMessage(j_common_ptr) {}

// Copies one decoded RGB scan line of `width` pixels into row `y` of the image,
// through the drawing operations every backend has: one fill for each run of equal
// pixels.
void copyRow(int id, int y, int width, const unsigned char* rgbRow)
{
    auto colorAt = [rgbRow](int x) {
        return rgb(rgbRow[3 * x], rgbRow[3 * x + 1], rgbRow[3 * x + 2]);
    };
    for (int x = 0; x < width;) {
        Color color = colorAt(x);
        int end = x + 1;
        while (end < width && colorAt(end) == color)
            ++end;
        fillRect(id, x, y, end - x, 1, color);
        x = end;
    }
}

// Limits that keep a hostile header from asking for gigabytes.
constexpr JDIMENSION maxSide = 16384;

} // namespace

bool decodeJpeg(int id, const unsigned char* data, size_t size)
{
    if (!data || size == 0)
        return false;
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    std::vector<unsigned char> row;   // before setjmp: a longjmp must not skip its destructor
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.output_message = ignoreMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        freeImage(id);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (info.image_width > maxSide || info.image_height > maxSide)
        onError(reinterpret_cast<j_common_ptr>(&info));
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    createImage(id, static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    int width = static_cast<int>(info.output_width);
    row.resize(static_cast<size_t>(info.output_width) * 3);
    while (info.output_scanline < info.output_height) {
        unsigned char* rows[] = {row.data()};
        int y = static_cast<int>(info.output_scanline);
        jpeg_read_scanlines(&info, rows, 1);
        copyRow(id, y, width, row.data());
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace platform
