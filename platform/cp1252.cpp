// Bytes 0x80-0x9F are the Windows-1252 additions; every other byte is its
// Latin-1 code point.
#include "platform/cp1252.h"

#include <array>
#include <cstddef>

namespace platform::cp1252 {

namespace {

// Unicode for 0x80..0x9F; 0 marks the five bytes that Windows-1252 leaves unset.
constexpr std::array<char16_t, 32> highControls = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

} // namespace

char16_t unicodeOf(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F && highControls[byte - 0x80] != 0)
        return highControls[byte - 0x80];
    return byte;
}

char byteOf(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return static_cast<char>(unit);
    for (size_t i = 0; i < highControls.size(); ++i)
        if (highControls[i] == unit)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace platform::cp1252
