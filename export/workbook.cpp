// workbook.cpp: the BIFF2 records, written through a small little-endian emitter.
#include "export/workbook.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>

namespace xls {

namespace {

// ---- Little-endian emitter -------------------------------------------------

constexpr size_t maxCountedText = 255;

void putU8(std::string& out, uint8_t value)
{
    out.push_back(static_cast<char>(value));
}

void putU16(std::string& out, uint16_t value)
{
    putU8(out, static_cast<uint8_t>(value & 0xFF));
    putU8(out, static_cast<uint8_t>(value >> 8));
}

// IEEE 754 double, low byte first, whatever the host's byte order.
void putF64(std::string& out, double value)
{
    const auto bits = std::bit_cast<uint64_t>(value);
    for (int shift = 0; shift < 64; shift += 8)
        putU8(out, static_cast<uint8_t>(bits >> shift));
}

// The part of `text` that a one-byte count can describe.
std::string_view countable(std::string_view text)
{
    return text.substr(0, std::min(text.size(), maxCountedText));
}

// One count byte, then the text (already countable).
void putCountedText(std::string& out, std::string_view text)
{
    putU8(out, static_cast<uint8_t>(text.size()));
    out.append(text);
}

void putRecordHead(std::string& out, RecordId id, size_t bodyLength)
{
    putU16(out, id);
    putU16(out, static_cast<uint16_t>(bodyLength));
}

// Row, column and the three attribute bytes that open every cell record.
void putCellHead(std::string& out, int32_t row, int32_t column, CellAttributes attributes)
{
    putU16(out, cellIndex(row));
    putU16(out, cellIndex(column));
    putU8(out, attributes.protection);
    putU8(out, static_cast<uint8_t>(attributes.fontBits + attributes.formatIndex));
    putU8(out, attributes.alignment);
}

// Bytes added to `out` since it was `start` long.
int32_t writtenSince(const std::string& out, size_t start)
{
    return static_cast<int32_t>(out.size() - start);
}

// A record whose body is one counted text (HEADER, FOOTER, FORMAT).
int32_t appendTextRecord(std::string& image, RecordId id, std::string_view text)
{
    const size_t start = image.size();
    const std::string_view body = countable(text);
    putRecordHead(image, id, body.size() + 1);
    putCountedText(image, body);
    return writtenSince(image, start);
}

// The format table; texts are the exact bytes spreadsheet programs expect.
constexpr std::string_view formatTable[formatTableSize] = {
    R"(General)",
    R"(0)",
    R"(0.00)",
    R"(#,##0)",
    R"(#,##0.00)",
    R"(#,##0\ "$";\-#,##0\ "$")",
    R"(#,##0\ "$";[Red]\-#,##0\ "$")",
    R"(#,##0.00\ "$";\-#,##0.00\ "$")",
    R"(#,##0.00\ "$";[Red]\-#,##0.00\ "$")",
    R"(0%)",
    R"(0.00%)",
    R"(0.00E+00)",
    R"(yyyy-mm-dd)",
    R"(dd/\ mmm\ yy)",
    R"(dd/\ mmm)",
    R"(mmm\ yy)",
    R"(h:mm\ AM/PM)",
    R"(h:mm:ss\ AM/PM)",
    R"(hh:mm)",
    R"(hh:mm:ss)",
    R"(dd/mm/yy\ hh:mm)",
    R"(##0.0E+0)",
    R"(mm:ss)",
    R"(@)",
};

// BUILTINFMTCOUNT says 23 although 24 FORMAT records follow; readers accept it
// and every file the program has written says the same.
constexpr uint16_t builtinFormatCount = 23;

// ---- Date conversion -------------------------------------------------------

// The decimal integer at the start of `field`; 0 when it holds none.
int32_t integerField(std::string_view field)
{
    int32_t value = 0;
    std::from_chars(field.data(), field.data() + field.size(), value);
    return value;
}

// The decimal floating value at the start of `field`; 0 when it holds none.
double floatingField(std::string_view field)
{
    double value = 0.0;
    std::from_chars(field.data(), field.data() + field.size(), value);
    return value;
}

bool isWhole(double value)
{
    return value == std::trunc(value);
}

bool isLeapYear(double year)
{
    return isWhole(year / 4) && (!isWhole(year / 100) || isWhole(year / 400));
}

// Ordinal day of (month, day) in its year, 1 January being 1; month 1 .. 12.
int32_t dayOfYear(bool leap, int32_t month, int32_t day)
{
    static constexpr int32_t daysBeforeMonth[12] = {0,   31,  59,  90,  120, 151,
                                                    181, 212, 243, 273, 304, 334};
    const int32_t leapDay = leap && month > 2 ? 1 : 0;
    return daysBeforeMonth[month - 1] + leapDay + day;
}

} // namespace

// ---- Sheet records ---------------------------------------------------------

// BOF: BIFF version 2, document type 0x000A; then the format table.
int32_t appendBof(std::string& image)
{
    const size_t start = image.size();
    putRecordHead(image, BofRecord, 4);
    putU16(image, 0x0002);
    putU16(image, 0x000A);
    appendFormatTable(image);
    return writtenSince(image, start);
}

// BUILTINFMTCOUNT, then one FORMAT record per table entry.
int32_t appendFormatTable(std::string& image)
{
    const size_t start = image.size();
    putRecordHead(image, BuiltinFormatCountRecord, 2);
    putU16(image, builtinFormatCount);
    for (std::string_view text : formatTable)
        appendTextRecord(image, FormatRecord, text);
    return writtenSince(image, start);
}

// PRINTGRIDLINES
int32_t appendPrintGridlines(std::string& image, int32_t on)
{
    const size_t start = image.size();
    putRecordHead(image, PrintGridlinesRecord, 2);
    putU16(image, on != 0 ? 1 : 0);
    return writtenSince(image, start);
}

// LEFTMARGIN, RIGHTMARGIN, TOPMARGIN or BOTTOMMARGIN
int32_t appendMargin(std::string& image, int32_t kind, int32_t inches)
{
    const bool known = kind >= LeftMarginRecord && kind <= BottomMarginRecord;
    const RecordId id = known ? static_cast<RecordId>(kind) : LeftMarginRecord;
    const size_t start = image.size();
    putRecordHead(image, id, 8);
    putF64(image, static_cast<double>(inches));
    return writtenSince(image, start);
}

// FONT
int32_t appendFont(std::string& image, std::string_view name, int32_t points, uint8_t style)
{
    const size_t start = image.size();
    const std::string_view shown = countable(name);
    putRecordHead(image, FontRecord, shown.size() + 5);
    putU16(image, static_cast<uint16_t>(points * 20));
    putU8(image, style);
    putU8(image, 0);
    putCountedText(image, shown);
    return writtenSince(image, start);
}

// COLWIDTH
int32_t appendColumnWidth(std::string& image, int32_t firstColumn, int32_t lastColumn,
                          int32_t characters)
{
    const size_t start = image.size();
    putRecordHead(image, ColumnWidthRecord, 4);
    putU8(image, static_cast<uint8_t>(firstColumn - 1));
    putU8(image, static_cast<uint8_t>(lastColumn - 1));
    putU16(image, static_cast<uint16_t>(characters * 256));
    return writtenSince(image, start);
}

// DEFAULTROWHEIGHT
int32_t appendDefaultRowHeight(std::string& image, int32_t points)
{
    const size_t start = image.size();
    putRecordHead(image, DefaultRowHeightRecord, 2);
    putU16(image, static_cast<uint16_t>(points * 20));
    return writtenSince(image, start);
}

// HEADER
int32_t appendHeader(std::string& image, std::string_view text)
{
    return appendTextRecord(image, HeaderRecord, text);
}

// FOOTER
int32_t appendFooter(std::string& image, std::string_view text)
{
    return appendTextRecord(image, FooterRecord, text);
}

// EOF
int32_t appendEof(std::string& image)
{
    const size_t start = image.size();
    putRecordHead(image, EofRecord, 0);
    return writtenSince(image, start);
}

// ---- Cell records ----------------------------------------------------------

// LABEL
int32_t appendLabelCell(std::string& image, std::string_view text, int32_t row, int32_t column,
                        CellAttributes attributes)
{
    const size_t start = image.size();
    const std::string_view shown = countable(text);
    putRecordHead(image, LabelRecord, shown.size() + 8);
    putCellHead(image, row, column, attributes);
    putCountedText(image, shown);
    return writtenSince(image, start);
}

// NUMBER
int32_t appendNumberCell(std::string& image, double value, int32_t row, int32_t column,
                         CellAttributes attributes)
{
    const size_t start = image.size();
    putRecordHead(image, NumberRecord, 15);
    putCellHead(image, row, column, attributes);
    putF64(image, value);
    return writtenSince(image, start);
}

// NUMBER holding a serial date
int32_t appendDateCell(std::string& image, std::string_view dateText, int32_t row,
                       int32_t column, CellAttributes attributes)
{
    return appendNumberCell(image, serialDate(dateText), row, column, attributes);
}

// ---- Conversions -----------------------------------------------------------

uint16_t cellIndex(int32_t number)
{
    return static_cast<uint16_t>(number - 1);
}

double serialDate(std::string_view dateText)
{
    if (dateText.size() < 14)
        return 0.0;
    const double year = floatingField(dateText.substr(0, 4));
    const int32_t month = integerField(dateText.substr(4, 2));
    const int32_t day = integerField(dateText.substr(6, 2));
    const int32_t hour = integerField(dateText.substr(8, 2));
    const int32_t minute = integerField(dateText.substr(10, 2));
    const int32_t second = integerField(dateText.substr(12, 2));
    if (year < 1900 || year > 2100 || month < 1 || month > 12 || day < 1 || day > 31)
        return 0.0;
    const bool leap = isLeapYear(year);
    // 365.25 days a year, truncated, is one short in common years: the added 1
    // makes up for it (and for the 1900 leap day spreadsheets count).
    double serial = std::trunc((year - 1900) * 365.25 + dayOfYear(leap, month, day));
    if (!leap)
        serial += 1;
    return serial + (hour * 3600 + minute * 60 + second) / 86400.0;
}

} // namespace xls
