#include "platform/console.h"

#include "platform/cp1252.h"

#include <cstdio>
#include <unistd.h>

namespace platform {

namespace {

std::string utf8Of(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const char32_t u = cp1252::unicodeOf(static_cast<unsigned char>(c));
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | u >> 6);
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | u >> 12);
            out += static_cast<char>(0x80 | (u >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

void print(std::FILE* stream, const std::string& text)
{
    const std::string bytes = utf8Of(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
}

} // namespace

void printOut(const std::string& text)
{
    print(stdout, text);
}

void printError(const std::string& text)
{
    print(stderr, text);
}

bool errorIsTerminal()
{
    return isatty(fileno(stderr)) != 0;
}

} // namespace platform
