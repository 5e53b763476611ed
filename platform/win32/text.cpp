// Windows-1252 texts and UTF-8 paths at the boundary of the wide-character API.
#include "platform/cp1252.h"
#include "platform/file.h"
#include "platform/win32/internal.h"

namespace platform::win32 {

std::wstring fromCp1252(const std::string& text)
{
    std::wstring result;
    result.reserve(text.size());
    for (char c : text)
        result.push_back(static_cast<wchar_t>(cp1252::unicodeOf(static_cast<unsigned char>(c))));
    return result;
}

std::string toCp1252(const std::wstring& text)
{
    std::string result;
    result.reserve(text.size());
    for (wchar_t c : text)
        result.push_back(cp1252::byteOf(static_cast<char16_t>(c)));
    return result;
}

std::wstring multiLine(const std::string& text)
{
    std::wstring result;
    for (wchar_t c : fromCp1252(text))
        if (c != L'\r')
            result.push_back(c);
    return result;
}

std::wstring fromPath(const std::string& path)
{
    if (path.empty())
        return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), wide.data(), n);
    return wide;
}

std::string toPath(const std::wstring& path)
{
    if (path.empty())
        return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), narrow.data(), n, nullptr, nullptr);
    return narrow;
}

std::wstring windowText(HWND hwnd)
{
    int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int got = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

} // namespace platform::win32

namespace platform {

std::string displayName(const std::string& path)
{
    return win32::toCp1252(win32::fromPath(path));
}

std::string utf8Of(const std::string& text)
{
    return win32::toPath(win32::fromCp1252(text));
}

} // namespace platform
