#include "export/export.h"

#include "export/sheet.h"
#include "export/xlsx.h"
#include "platform/file.h"
#include "records/recordfile.h"

#include <new>

namespace xls {

namespace {

// The record file's name, else the exported file's, as UTF-8.
std::string documentTitle(const std::string& path, const std::string& title)
{
    return title.empty() ? records::fileTitleOf(path) : platform::utf8Of(title);
}

bool writeFile(const std::vector<records::Record>& records, const std::string& path, Format format,
               const ExportOptions& options)
{
    switch (format) {
    case Format::Xls:
        return platform::replaceFile(path, workbookBytes(records));
    case Format::Csv:
        return platform::replaceFile(path, csvText(records, options.csvStyle, options.fahrenheit));
    case Format::OpenMetrics:
        return platform::replaceFile(path, openMetricsText(records, options.series));
    case Format::LineProtocol:
        return platform::replaceFile(path, lineProtocolText(records, options.series));
    case Format::Xlsx:
        return platform::replaceFileThrough(path, [&](const std::string& temporary) {
            return writeXlsx(temporary, records, options.fahrenheit, documentTitle(path, options.title));
        });
    }
    return false;
}

} // namespace

ExportResult exportRecords(const std::vector<records::Record>& records, const std::string& path, Format format,
                           const ExportOptions& options)
{
    if (format == Format::Xls && !fitsOneSheet(records.size()))
        return ExportResult::TooManyForXls;
    if (format == Format::Xlsx && records.size() > maxXlsxRecords)
        return ExportResult::TooManyForXlsx;
    try {
        return writeFile(records, path, format, options) ? ExportResult::Written : ExportResult::NotWritten;
    } catch (const std::bad_alloc&) {
        return ExportResult::NotWritten;
    }
}

std::string exportFailureText(ExportResult result, const std::string& path)
{
    switch (result) {
    case ExportResult::TooManyForXls:
        return "Can't export more than 65535 records to one sheet";
    case ExportResult::TooManyForXlsx:
        return "Can't export more than 1048575 records to one sheet";
    case ExportResult::Written:
    case ExportResult::NotWritten:
        break;
    }
    return "Can't write " + platform::displayName(path);
}

} // namespace xls
