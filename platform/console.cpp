#include "platform/console.h"

#include "platform/cp1252.h"

#include <cstdio>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>
#else
#include <unistd.h>
#endif

namespace platform {

#ifdef _WIN32

namespace {

std::string utf8OfWide(const wchar_t* wide)
{
    int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(std::max(length, 1)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
    text.pop_back();   // the terminating zero
    return text;
}

} // namespace

void useUtf8Arguments(int& argc, char**& argv)
{
    static std::vector<std::string> texts;
    static std::vector<char*> pointers;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return;
    for (int i = 0; i < count; ++i)
        texts.push_back(utf8OfWide(wide[i]));
    LocalFree(wide);
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    argc = count;
    argv = pointers.data();
}

#else

void useUtf8Arguments(int&, char**&)
{
}

#endif

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

#ifdef _WIN32
// A console gets the text itself, whatever its code page: false when `stream` is
// no console.
bool writeConsole(std::FILE* stream, const std::string& bytes)
{
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (!GetConsoleMode(handle, &mode))
        return false;
    int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return true;
}
#endif

// `text` is UTF-8: the program's own texts have been through consoleText.
void print(std::FILE* stream, const std::string& text)
{
#ifdef _WIN32
    if (writeConsole(stream, text))
        return;
    // A pipe or a file gets the bytes Linux gives, "\n" line ends included.
    _setmode(_fileno(stream), _O_BINARY);
#endif
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
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

} // namespace platform
