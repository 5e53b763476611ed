#include "export/xlsx_copy.h"

#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <algorithm>
#include <string_view>

namespace xls {

namespace {

// Enough of a part's start to hold its XML declaration and root tag.
constexpr size_t headSize = 512;
// Enough of its end to hold the closing root tag.
constexpr size_t tailSize = 128;
// Room for the part names of a workbook.
constexpr size_t maxNameSize = 256;
constexpr uLong zip32Limit = 0xFFFFFFFFu;

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

zip_fileinfo copiedInfo(const unz_file_info64& info)
{
    zip_fileinfo copied{};
    copied.dosDate = info.dosDate;
    copied.internal_fa = info.internal_fa;
    copied.external_fa = info.external_fa;
    return copied;
}

// Copies the current part's stored bytes as they are, with their CRC and size.
bool copyCurrentPart(unzFile zip, zipFile copy, const char* name, const unz_file_info64& info)
{
    int method = 0, level = 0;
    if (unzOpenCurrentFile2(zip, &method, &level, 1) != UNZ_OK)
        return false;
    const zip_fileinfo copied = copiedInfo(info);
    bool ok = zipOpenNewFileInZip2_64(copy, name, &copied, nullptr, 0, nullptr, 0, nullptr, method, level, 1,
                                      info.uncompressed_size >= zip32Limit) == ZIP_OK;
    char chunk[65536];
    int got = 0;
    while (ok && (got = unzReadCurrentFile(zip, chunk, sizeof chunk)) > 0)
        ok = zipWriteInFileInZip(copy, chunk, static_cast<unsigned>(got)) == ZIP_OK;
    ok = ok && got == 0 && zipCloseFileInZipRaw64(copy, info.uncompressed_size, info.crc) == ZIP_OK;
    return unzCloseCurrentFile(zip) == UNZ_OK && ok;
}

bool writePart(zipFile copy, const char* name, const unz_file_info64& info, const std::string& text)
{
    const zip_fileinfo copied = copiedInfo(info);
    return zipOpenNewFileInZip64(copy, name, &copied, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                 Z_DEFAULT_COMPRESSION, 0) == ZIP_OK &&
           zipWriteInFileInZip(copy, text.data(), static_cast<unsigned>(text.size())) == ZIP_OK &&
           zipCloseFileInZip(copy) == ZIP_OK;
}

bool copyPart(unzFile zip, zipFile copy, const std::string& partName, const std::string& partText)
{
    char name[maxNameSize];
    unz_file_info64 info;
    if (unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK ||
        info.size_filename >= sizeof name)
        return false;
    if (name == partName)
        return writePart(copy, name, info, partText);
    return currentPartIsWhole(zip) && copyCurrentPart(zip, copy, name, info);
}

bool copyParts(unzFile zip, zipFile copy, const std::string& partName, const std::string& partText)
{
    bool ok = unzGoToFirstFile(zip) == UNZ_OK;
    while (ok) {
        ok = copyPart(zip, copy, partName, partText);
        const int next = unzGoToNextFile(zip);
        if (next == UNZ_END_OF_LIST_OF_FILE)
            break;
        ok = ok && next == UNZ_OK;
    }
    return ok;
}

} // namespace

bool copyXlsx(const std::string& from, const std::string& to, const std::string& partName,
              const std::string& partText)
{
    unzFile zip = unzOpen64(from.c_str());
    if (!zip)
        return false;
    zipFile copy = zipOpen64(to.c_str(), APPEND_STATUS_CREATE);
    bool ok = copy && copyParts(zip, copy, partName, partText);
    ok = copy && zipClose(copy, nullptr) == ZIP_OK && ok;
    unzClose(zip);
    return ok;
}

} // namespace xls
