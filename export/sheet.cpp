// sheet.cpp: lays out the export sheet with the workbook writer.
#include "export/sheet.h"

#include "export/workbook.h"
#include "records/datemask.h"

namespace xls {

namespace {

// Every cell: font 1 (Arial 10 pt bold), left-aligned, unprotected.
constexpr CellAttributes plainCell{0x40, 1, 0, 0};
// Date cells use the table's "mmm\ yy" format.
constexpr CellAttributes dateCell{0x40, 1, 0, 15};

constexpr int32_t temperatureColumn = 1;
constexpr int32_t humidityColumn = 2;
constexpr int32_t timeColumn = 3;
constexpr int32_t firstRecordRow = 2;

// Size of the sheet without records, and what each record adds (three NUMBERs).
constexpr size_t fixedBytes = 628;
constexpr size_t bytesPerRecord = 57;

// Gridlines, margins, fonts, column widths and row height, header and footer.
void appendPageSetup(std::string& image)
{
    appendPrintGridlines(image, 1);
    appendMargin(image, TopMarginRecord, 2);
    appendMargin(image, LeftMarginRecord, 2);
    appendMargin(image, RightMarginRecord, 2);
    appendMargin(image, BottomMarginRecord, 2);
    appendFont(image, "Arial", 10, 0);
    appendFont(image, "Arial", 10, FontBold);
    appendFont(image, "Arial", 24, FontBold | FontUnderlined);
    appendFont(image, "Courier", 18, FontItalic);
    appendColumnWidth(image, temperatureColumn, temperatureColumn, 30);
    appendColumnWidth(image, humidityColumn, humidityColumn, 30);
    appendColumnWidth(image, timeColumn, timeColumn, 50);
    appendDefaultRowHeight(image, 24);
    appendHeader(image, "Kestrion");
    appendFooter(image, "Kestrion");
}

void appendHeaderRow(std::string& image)
{
    appendLabelCell(image, "Temperature", 1, temperatureColumn, plainCell);
    appendLabelCell(image, "Humidity", 1, humidityColumn, plainCell);
    appendLabelCell(image, "Date_Time", 1, timeColumn, plainCell);
}

// One row: degrees Celsius, percent RH, serial date.
void appendRecordRow(std::string& image, const records::Record& record, int32_t row)
{
    appendNumberCell(image, record.temperature / 10.0, row, temperatureColumn, plainCell);
    appendNumberCell(image, record.humidity / 10.0, row, humidityColumn, plainCell);
    const std::string dateText = records::formatTime("%yyyy%mm%dd%hh%ii%ss", record.time);
    appendDateCell(image, dateText, row, timeColumn, dateCell);
}

} // namespace

bool fitsOneSheet(std::size_t recordCount)
{
    return recordCount <= static_cast<std::size_t>(maxExportRecords);
}

std::string workbookBytes(const std::vector<records::Record>& records)
{
    if (!fitsOneSheet(records.size()))
        return {};
    std::string image;
    image.reserve(fixedBytes + bytesPerRecord * records.size());
    appendBof(image);
    appendPageSetup(image);
    appendHeaderRow(image);
    int32_t row = firstRecordRow;
    for (const records::Record& record : records)
        appendRecordRow(image, record, row++);
    appendEof(image);
    return image;
}

} // namespace xls
