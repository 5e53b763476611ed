#include "export/command.h"

#include "app/commands.h"
#include "app/settings.h"
#include "export/export.h"
#include "platform/dialogs.h"
#include "platform/file.h"
#include "records/ascii.h"
#include "records/store.h"

namespace xls {

namespace {

// The dialog's entries; the first stays the BIFF2 sheet, so an export the user
// does not change writes what it always did.
enum ExportPattern {
    XlsPattern,
    XlsxPattern,
    CsvPattern,
    CsvSpreadsheetPattern,
    AllFilesPattern,
};

const char* const exportPatterns = "Excel 97-2003 File (*.xls)|*.xls|"
                                   "Excel Workbook (*.xlsx)|*.xlsx|"
                                   "CSV (*.csv)|*.csv|"
                                   "CSV, semicolon and decimal comma (*.csv)|*.csv|"
                                   "All files (*.*)|*.*";

const char* const moreRecordsHint = "\n\nChoose Excel Workbook (*.xlsx) or CSV for more records.";

// The format of the chosen entry; "All files" writes the .xls.
Format formatOfPattern(int pattern)
{
    switch (pattern) {
    case XlsxPattern: return Format::Xlsx;
    case CsvPattern:
    case CsvSpreadsheetPattern: return Format::Csv;
    default: return Format::Xls;
    }
}

void reportFailure(ExportResult result, const std::string& path)
{
    std::string text = exportFailureText(result, path);
    if (result == ExportResult::TooManyForXls)
        text += moreRecordsHint;
    platform::messageBox("Error", text, platform::MessageIcon::Error);
}

} // namespace

std::string proposedExportPath(const std::string& lastSavePath)
{
    std::string path = lastSavePath.empty() ? platform::workingDirectory() : lastSavePath;
    std::string lower = records::lowerAscii(path);
    for (size_t at; (at = lower.find(".xls")) != std::string::npos;) {
        path.erase(at, 4);
        lower.erase(at, 4);
    }
    return path + ".xls";
}

ExportChoice exportChoice(const std::string& path, int pattern)
{
    ExportChoice choice;
    choice.format = formatOfPath(path).value_or(formatOfPattern(pattern));
    choice.csvStyle = pattern == CsvSpreadsheetPattern ? CsvStyle::Spreadsheet : CsvStyle::Data;
    return choice;
}

void exportAsExcel()
{
    const records::RecordStore& s = records::store();
    platform::FileChoice chosen =
        platform::saveFileDialog("Please choose file to save", proposedExportPath(s.lastSavePath), exportPatterns);
    if (chosen.path.empty())
        return;
    const ExportChoice choice = exportChoice(chosen.path, chosen.pattern);
    const ExportOptions options{choice.csvStyle, !app::settings().celsius, s.fileTitle, {}};
    app::setBusyCursor(true);
    const ExportResult result = exportRecords(s.records, chosen.path, choice.format, options);
    app::setBusyCursor(false);
    if (result != ExportResult::Written)
        reportFailure(result, chosen.path);
}

} // namespace xls
