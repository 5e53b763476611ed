#include "platform/console.h"

#include "platform/cp1252.h"

#include <cstdio>
#include <unistd.h>

namespace platform {

std::string consoleText(const std::string& text)
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

namespace {

void print(std::FILE* stream, const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
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

bool outputWritten()
{
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
}

bool errorIsTerminal()
{
    return isatty(fileno(stderr)) != 0;
}

} // namespace platform
