#include "export/xlsx_check.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <string_view>

namespace xls {

namespace {

// Enough of a part's start to hold its XML declaration and root tag.
constexpr size_t headSize = 512;
// Enough of its end to hold the closing root tag.
constexpr size_t tailSize = 128;

// The name of the root element: the first tag that is no declaration.
std::string_view rootName(std::string_view head)
{
    size_t at = 0;
    while ((at = head.find('<', at)) != std::string_view::npos && head.substr(at + 1, 1) == "?")
        ++at;
    if (at == std::string_view::npos)
        return {};
    const size_t end = head.find_first_of(" \t\r\n/>", at + 1);
    return end == std::string_view::npos ? std::string_view() : head.substr(at + 1, end - at - 1);
}

bool endsWithClosingTag(std::string_view head, std::string_view tail)
{
    const std::string_view name = rootName(head);
    while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r'))
        tail.remove_suffix(1);
    return !name.empty() && tail.size() > name.size() + 3 &&
           tail.substr(tail.size() - name.size() - 3) == "</" + std::string(name) + ">";
}

// Reads the current part whole (closing it checks its CRC) and checks its end.
bool currentPartIsWhole(unzFile zip)
{
    if (unzOpenCurrentFile(zip) != UNZ_OK)
        return false;
    std::string head, tail;
    char chunk[65536];
    int got;
    while ((got = unzReadCurrentFile(zip, chunk, sizeof chunk)) > 0) {
        const std::string_view read(chunk, static_cast<size_t>(got));
        if (head.size() < headSize)
            head.append(read.substr(0, headSize - head.size()));
        tail.append(read);
        if (tail.size() > tailSize)
            tail.erase(0, tail.size() - tailSize);
    }
    const bool closed = unzCloseCurrentFile(zip) == UNZ_OK;
    return got == 0 && closed && endsWithClosingTag(head, tail);
}

} // namespace

bool xlsxIsWhole(const std::string& file)
{
    unzFile zip = unzOpen64(file.c_str());
    if (!zip)
        return false;
    bool whole = unzGoToFirstFile(zip) == UNZ_OK;
    while (whole) {
        whole = currentPartIsWhole(zip);
        const int next = unzGoToNextFile(zip);
        if (next == UNZ_END_OF_LIST_OF_FILE)
            break;
        whole = whole && next == UNZ_OK;
    }
    unzClose(zip);
    return whole;
}

} // namespace xls
