// cp1252.h: Windows-1252 bytes and Unicode, for the platform files that convert
// the program's texts at the boundary. Never included outside platform/.
#pragma once

namespace platform::cp1252 {

// The character of a Windows-1252 byte; the five bytes the set leaves unset give
// their own value.
char16_t unicodeOf(unsigned char byte);
// The Windows-1252 byte of a UTF-16 unit; "?" for characters the set lacks.
char byteOf(char16_t unit);

} // namespace platform::cp1252
