// formats.cpp: the export format a file name's extension names.
#include "export/export.h"

#include "records/ascii.h"
#include "records/recordfile.h"

namespace xls {

namespace {

std::string lowerExtension(const std::string& path)
{
    const std::string title = records::fileTitleOf(path);
    const size_t dot = title.rfind('.');
    return dot == std::string::npos ? std::string() : records::lowerAscii(title.substr(dot));
}

} // namespace

std::optional<Format> formatOfPath(const std::string& path)
{
    const std::string extension = lowerExtension(path);
    if (extension == ".xls")
        return Format::Xls;
    if (extension == ".xlsx")
        return Format::Xlsx;
    if (extension == ".csv")
        return Format::Csv;
    return std::nullopt;
}

std::optional<Format> archiveFormatOfPath(const std::string& path)
{
    const std::string extension = lowerExtension(path);
    if (extension == ".om")
        return Format::OpenMetrics;
    if (extension == ".lp")
        return Format::LineProtocol;
    return std::nullopt;
}

} // namespace xls
