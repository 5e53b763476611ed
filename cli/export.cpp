// export.cpp: `climadesk export IN.log OUT.xls|OUT.xlsx|OUT.csv|OUT.om|OUT.lp`,
// through the same export operation as File > Export As Excel (export/export.h).
#include "cli/cli.h"
#include "cli/commands.h"

#include "export/export.h"
#include "platform/console.h"
#include "serve/loggers.h"
#include "platform/file.h"
#include "records/recordfile.h"

namespace cli {

int exportFile(const ExportOptions& options)
{
    // The parser has checked that the name has one of the five extensions.
    const xls::Format format = xls::formatOfPath(options.output).value_or(
        xls::archiveFormatOfPath(options.output).value_or(xls::Format::Csv));
    const bool archive = format == xls::Format::OpenMetrics || format == xls::Format::LineProtocol;
    if (archive) {
        const std::string why = options.logger.empty() ? "a .om or .lp archive needs the logger's name"
                                                       : serve::checkLoggerName(options.logger);
        if (!why.empty()) {
            platform::printError("--logger NAME: " + why + "\n");
            return exitUsage;
        }
    }
    records::RecordSeries series;
    if (!readInput(options.input, series))
        return exitFailed;
    const xls::ExportOptions chosen{
        options.csvStyle == "spreadsheet" ? xls::CsvStyle::Spreadsheet : xls::CsvStyle::Data, options.fahrenheit,
        platform::displayName(records::fileTitleOf(options.input)), {options.logger, options.utcOffset}};
    const xls::ExportResult result = xls::exportRecords(series.records, options.output, format, chosen);
    if (result == xls::ExportResult::NotWritten) {
        sayCannotWrite(options.output);
        return exitFailed;
    }
    if (result != xls::ExportResult::Written) {
        platform::printError(platform::consoleText(xls::exportFailureText(result, options.output)) + "\n");
        return exitFailed;
    }
    return exitDone;
}

} // namespace cli
