// export.h: exporting records to a spreadsheet file, with no window.
//
// The one export operation behind every front end: the "Export As Excel" command
// (command.h) and the command line call exportRecords with the records, the
// target path, the format and the options, and get the same bytes for the same
// arguments. Nothing here opens a window or a message box: the result says what
// happened, and exportFailureText gives the words to show for a failure.
//
// Formats:
// - Format::Xls: the BIFF2 sheet of sheet.h, byte for byte ("Temperature",
//   "Humidity", "Date_Time"; degrees Celsius whatever the options say). At most
//   maxExportRecords (65,535) records.
// - Format::Xlsx: the Excel Workbook of xlsx.h. At most maxXlsxRecords
//   (1,048,575) records.
// - Format::Csv: the CSV text of csv.h in options.csvStyle. No limit.
// - Format::OpenMetrics, Format::LineProtocol: the archives of timeseries.h for
//   Prometheus and InfluxDB, named by options.series. No limit.
// The .xlsx and CSV files have the columns of columns.h: time, temperature,
// humidity, dew point, absolute humidity, temperatures in options.fahrenheit.
//
// Writing: the file at `path` is replaced through a temporary file beside it and
// a rename (platform/file.h), so a failed export leaves the old file as it was
// and nothing behind. A store too large for the format is refused before anything is written.
//
// Typical use:
//     ExportResult result = exportRecords(records, "out.csv", Format::Csv, {CsvStyle::Spreadsheet, false});
//     if (result != ExportResult::Written)
//         show(exportFailureText(result, "out.csv"));
#pragma once

#include "export/csv.h"
#include "export/timeseries.h"
#include "records/store.h"

#include <optional>
#include <string>
#include <vector>

namespace xls {

enum class Format { Xls, Xlsx, Csv, OpenMetrics, LineProtocol };

struct ExportOptions {
    // The CSV style; only Format::Csv reads it.
    CsvStyle csvStyle = CsvStyle::Data;
    // Temperatures and dew points in degrees Fahrenheit; .xls ignores it.
    bool fahrenheit = false;
    // The .xlsx document title (Windows-1252): the name of the record file the
    // records come from; "" gives the exported file's name.
    std::string title;
    // The logger's name and the time zone; only the time-series formats read it.
    SeriesOptions series;
};

enum class ExportResult {
    Written,
    TooManyForXls,    // more than maxExportRecords records; nothing written
    TooManyForXlsx,   // more than maxXlsxRecords records; nothing written
    NotWritten,       // the file, the disk, libxlsxwriter or memory failed
};

// Writes `records` (oldest first) to `path` in `format`.
ExportResult exportRecords(const std::vector<records::Record>& records, const std::string& path, Format format,
                           const ExportOptions& options);

// The spreadsheet format a file name's extension names (.xls, .xlsx, .csv in
// any letter case), or none: the formats of the window's Export As Excel.
std::optional<Format> formatOfPath(const std::string& path);
// The time-series format of an extension .om or .lp (any letter case), or none:
// formats of the command line only.
std::optional<Format> archiveFormatOfPath(const std::string& path);

// The message for a result other than Written, in Windows-1252:
// "Can't export more than 65535 records to one sheet",
// "Can't export more than 1048575 records to one sheet", "Can't write " + path.
std::string exportFailureText(ExportResult result, const std::string& path);

} // namespace xls
