// export.cpp: `climadesk export IN.log OUT.xls|OUT.xlsx|OUT.csv`, through the
// same export operation as File > Export As Excel (export/export.h).
#include "cli/cli.h"
#include "cli/commands.h"

#include "export/export.h"
#include "platform/console.h"
#include "platform/file.h"
#include "records/commands.h"

namespace cli {

int exportFile(const ExportOptions& options)
{
    records::RecordSeries series;
    if (!readInput(options.input, series))
        return exitFailed;
    const xls::ExportOptions chosen{options.csvStyle == "spreadsheet" ? xls::CsvStyle::Spreadsheet : xls::CsvStyle::Data,
                                    options.fahrenheit,
                                    platform::displayName(records::fileTitleOf(options.input))};
    // The parser has checked that the name has one of the three extensions.
    const xls::ExportResult result =
        xls::exportRecords(series.records, options.output, *xls::formatOfPath(options.output), chosen);
    if (result != xls::ExportResult::Written) {
        platform::printError(xls::exportFailureText(result, platform::displayName(options.output)) + "\n");
        return exitFailed;
    }
    return exitDone;
}

} // namespace cli
