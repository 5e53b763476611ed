// workbook.h: the workbook writer, which assembles a BIFF2 worksheet stream (the
// Excel 2.x record set) in memory, one record at a time.
//
// The stream is a flat sequence of records with no compound-document container:
// each record is a 2-byte identifier, a 2-byte body length (both little-endian)
// and the body. Every append* function adds exactly one record (appendBof a fixed
// group) to the end of `image` and returns the number of bytes it added.
//
// Units: rows and columns are 1-based here (row 1, column 1 is the top-left
// cell) and stored 0-based. Fonts and row heights are in points, column widths in
// characters, margins in whole inches. Texts are single bytes written as given,
// preceded by a one-byte count.
//
// Nothing here fails. A text longer than 255 bytes cannot be counted in one byte:
// only its first 255 bytes are written, with the count 255, so the record stays
// well-formed, and the returned size says what was really written. Row and column
// numbers must lie in 1 .. 65536 (COLWIDTH columns in 1 .. 256); others wrap.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace xls {

// Identifiers of the records this writer produces; no other kind is ever written.
enum RecordId : uint16_t {
    NumberRecord = 0x0003,
    LabelRecord = 0x0004,
    BofRecord = 0x0009,
    EofRecord = 0x000A,
    HeaderRecord = 0x0014,
    FooterRecord = 0x0015,
    FormatRecord = 0x001E,
    BuiltinFormatCountRecord = 0x001F,
    ColumnWidthRecord = 0x0024,
    DefaultRowHeightRecord = 0x0025,
    LeftMarginRecord = 0x0026,
    RightMarginRecord = 0x0027,
    TopMarginRecord = 0x0028,
    BottomMarginRecord = 0x0029,
    PrintGridlinesRecord = 0x002B,
    FontRecord = 0x0031,
};

// FONT style bits.
enum FontStyle : uint8_t {
    FontBold = 0x01,
    FontItalic = 0x02,
    FontUnderlined = 0x04,
    FontStruckOut = 0x08,
};

// The three attribute bytes every cell record carries, from four parts.
struct CellAttributes {
    // Font index already shifted into bits 7-6 (0x40 is font 1).
    uint8_t fontBits = 0;
    // Bits 2-0 horizontal alignment (0 general, 1 left, 2 centred, 3 right,
    // 4 filled); bits 3-6 borders; bit 7 shaded.
    uint8_t alignment = 0;
    // Bits 5-0 XF index, bit 6 not locked, bit 7 formula hidden.
    uint8_t protection = 0;
    // Position in the format table, 0 .. 63; added to fontBits.
    uint8_t formatIndex = 0;
};

// Number of FORMAT records appendFormatTable writes.
constexpr int formatTableSize = 24;

// ---- Sheet records ---------------------------------------------------------

// BOF (BIFF version 2, document type 0x000A), then the format table.
int32_t appendBof(std::string& image);
// BUILTINFMTCOUNT (23) and the 24 FORMAT records of the fixed format table.
int32_t appendFormatTable(std::string& image);
// PRINTGRIDLINES: 1 when `on` is not zero, else 0.
int32_t appendPrintGridlines(std::string& image, int32_t on);
// One margin record; `kind` is Left/Right/Top/BottomMarginRecord, any other
// value writes LEFTMARGIN.
int32_t appendMargin(std::string& image, int32_t kind, int32_t inches);
// FONT: height points * 20 twips, FontStyle bits.
int32_t appendFont(std::string& image, std::string_view name, int32_t points, uint8_t style);
// COLWIDTH for columns first .. last, `characters` wide (kept to 16 bits in 1/256).
int32_t appendColumnWidth(std::string& image, int32_t firstColumn, int32_t lastColumn,
                          int32_t characters);
// DEFAULTROWHEIGHT in points.
int32_t appendDefaultRowHeight(std::string& image, int32_t points);
// HEADER: the text printed at the top of every page.
int32_t appendHeader(std::string& image, std::string_view text);
// FOOTER: the text printed at the bottom of every page.
int32_t appendFooter(std::string& image, std::string_view text);
// EOF: ends the stream.
int32_t appendEof(std::string& image);

// ---- Cell records ----------------------------------------------------------

// LABEL: a text cell.
int32_t appendLabelCell(std::string& image, std::string_view text, int32_t row, int32_t column,
                        CellAttributes attributes);
// NUMBER: a 64-bit floating-point cell (never INTEGER).
int32_t appendNumberCell(std::string& image, double value, int32_t row, int32_t column,
                         CellAttributes attributes);
// NUMBER holding serialDate(dateText).
int32_t appendDateCell(std::string& image, std::string_view dateText, int32_t row,
                       int32_t column, CellAttributes attributes);

// ---- Conversions -----------------------------------------------------------

// The stored 0-based index of a 1-based row or column number.
uint16_t cellIndex(int32_t number);
// The serial day number (1900 date system, time of day as the fraction) of a
// "yyyymmddhhiiss" text. 0.0 when the text is shorter than 14 characters, the
// year lies outside 1900 .. 2100, the month outside 1 .. 12 or the day outside
// 1 .. 31; hour, minute and second are not checked. Exact from 1901 to 2099.
double serialDate(std::string_view dateText);

} // namespace xls
