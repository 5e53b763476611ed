// Workbook writer and export sheet: every record byte for byte, the date serials,
// the sheet layout, the one-sheet limit and a golden file.
//
// The golden file golden/three_records.xls is the sheet of goldenRecords() below.
// After an intended change of the output, regenerate it with
//     CLIMADESK_REGENERATE_GOLDEN=1 build/tests/export_tests --gtest_filter='*Golden*'
// (the test then rewrites the file and reports itself skipped), check the new
// bytes with the record walk below and commit the file.
#include "export/sheet.h"
#include "export/workbook.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using records::Record;

constexpr xls::CellAttributes plainCell{0x40, 1, 0, 0};

// 15 March 2024 12:00:00 as seconds since 1970.
constexpr int32_t march15Noon = 1710504000;

std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int value : values)
        out.push_back(static_cast<char>(value));
    return out;
}

// The eight little-endian bytes of a double's bit pattern, given in hex.
std::string f64Bytes(uint64_t bits)
{
    std::string out;
    for (int shift = 0; shift < 64; shift += 8)
        out.push_back(static_cast<char>((bits >> shift) & 0xFF));
    return out;
}

unsigned readU16(const std::string& image, size_t offset)
{
    return static_cast<uint8_t>(image[offset]) | static_cast<uint8_t>(image[offset + 1]) << 8;
}

double readF64(const std::string& image, size_t offset)
{
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = bits << 8 | static_cast<uint8_t>(image[offset + static_cast<size_t>(i)]);
    return std::bit_cast<double>(bits);
}

// One record as found in a stream.
struct Found {
    unsigned id;
    std::string body;
};

// Splits a stream into its records: each length field must lead exactly to the
// next record head and the last record must be EOF, else nullopt.
std::optional<std::vector<Found>> walkRecords(const std::string& image)
{
    std::vector<Found> found;
    size_t pos = 0;
    while (pos + 4 <= image.size()) {
        const unsigned length = readU16(image, pos + 2);
        if (pos + 4 + length > image.size())
            return std::nullopt;
        found.push_back({readU16(image, pos), image.substr(pos + 4, length)});
        pos += 4 + length;
    }
    if (pos != image.size() || found.empty() || found.back().id != xls::EofRecord)
        return std::nullopt;
    return found;
}

std::vector<unsigned> idsOf(const std::vector<Found>& found)
{
    std::vector<unsigned> ids;
    for (const Found& record : found)
        ids.push_back(record.id);
    return ids;
}

// A NUMBER cell's row index, column index and value.
struct Cell {
    unsigned row;
    unsigned column;
    double value;
};

Cell numberCell(const Found& record)
{
    EXPECT_EQ(record.id, xls::NumberRecord);
    EXPECT_EQ(record.body.size(), 15u);
    return {readU16(record.body, 0), readU16(record.body, 2), readF64(record.body, 7)};
}

// ---- Records ---------------------------------------------------------------

TEST(WorkbookWriter, BofGroupHoldsTheExactFormatTable)
{
    // Texts and counts as spreadsheet programs know the table.
    const std::vector<std::string> texts = {
        R"(General)", R"(0)", R"(0.00)", R"(#,##0)", R"(#,##0.00)",
        R"(#,##0\ "$";\-#,##0\ "$")", R"(#,##0\ "$";[Red]\-#,##0\ "$")",
        R"(#,##0.00\ "$";\-#,##0.00\ "$")", R"(#,##0.00\ "$";[Red]\-#,##0.00\ "$")",
        R"(0%)", R"(0.00%)", R"(0.00E+00)", R"(yyyy-mm-dd)", R"(dd/\ mmm\ yy)",
        R"(dd/\ mmm)", R"(mmm\ yy)", R"(h:mm\ AM/PM)", R"(h:mm:ss\ AM/PM)", R"(hh:mm)",
        R"(hh:mm:ss)", R"(dd/mm/yy\ hh:mm)", R"(##0.0E+0)", R"(mm:ss)", R"(@)"};
    const std::vector<size_t> counts = {7, 1, 4, 5, 8, 23, 28, 29, 34, 2, 5, 8,
                                        10, 12, 8, 7, 11, 14, 5, 8, 15, 8, 5, 1};

    std::string image;
    EXPECT_EQ(xls::appendBof(image), 392);
    ASSERT_EQ(image.size(), 392u);
    EXPECT_EQ(image.substr(0, 19), bytes({0x09, 0x00, 0x04, 0x00, 0x02, 0x00, 0x0A, 0x00,
                                          0x1F, 0x00, 0x02, 0x00, 0x17, 0x00,
                                          0x1E, 0x00, 0x08, 0x00, 0x07}));
    EXPECT_EQ(image.substr(19, 7), "General");

    image += bytes({0x0A, 0x00, 0x00, 0x00});
    const auto found = walkRecords(image);
    ASSERT_TRUE(found);
    ASSERT_EQ(found->size(), 2u + 24u + 1u);
    for (size_t i = 0; i < 24; ++i) {
        const Found& format = (*found)[2 + i];
        EXPECT_EQ(format.id, xls::FormatRecord) << i;
        ASSERT_EQ(format.body.size(), counts[i] + 1) << i;
        EXPECT_EQ(static_cast<uint8_t>(format.body[0]), counts[i]) << i;
        EXPECT_EQ(format.body.substr(1), texts[i]) << i;
    }

    // On its own, after earlier content, the table is appended and sized alike.
    std::string later = "abc";
    EXPECT_EQ(xls::appendFormatTable(later), 6 + 378);
    EXPECT_EQ(later.substr(0, 3), "abc");
    EXPECT_EQ(later.substr(3), image.substr(8, 384));
}

TEST(WorkbookWriter, PageRecordsMatchTheirLayouts)
{
    std::string image;
    EXPECT_EQ(xls::appendFont(image, "Arial", 24, 5), 14);
    EXPECT_EQ(image, bytes({0x31, 0x00, 0x0A, 0x00, 0xE0, 0x01, 0x05, 0x00, 0x05}) + "Arial");

    image.clear();
    EXPECT_EQ(xls::appendColumnWidth(image, 3, 3, 50), 8);
    EXPECT_EQ(image, bytes({0x24, 0x00, 0x04, 0x00, 0x02, 0x02, 0x00, 0x32}));
    // The width keeps its low 16 bits: 300 * 256 = 0x12C00.
    image.clear();
    xls::appendColumnWidth(image, 1, 2, 300);
    EXPECT_EQ(image, bytes({0x24, 0x00, 0x04, 0x00, 0x00, 0x01, 0x00, 0x2C}));

    image.clear();
    EXPECT_EQ(xls::appendDefaultRowHeight(image, 24), 6);
    EXPECT_EQ(image, bytes({0x25, 0x00, 0x02, 0x00, 0xE0, 0x01}));

    image.clear();
    EXPECT_EQ(xls::appendHeader(image, "Kestrion"), 13);
    EXPECT_EQ(xls::appendFooter(image, "Kestrion"), 13);
    EXPECT_EQ(image, bytes({0x14, 0x00, 0x09, 0x00, 0x08}) + "Kestrion" +
                         bytes({0x15, 0x00, 0x09, 0x00, 0x08}) + "Kestrion");

    image.clear();
    EXPECT_EQ(xls::appendEof(image), 4);
    EXPECT_EQ(image, bytes({0x0A, 0x00, 0x00, 0x00}));
}

TEST(WorkbookWriter, GridlinesAreOneOrZero)
{
    for (int32_t on : {7, 1, -1, 0}) {
        std::string image;
        EXPECT_EQ(xls::appendPrintGridlines(image, on), 6);
        EXPECT_EQ(image, bytes({0x2B, 0x00, 0x02, 0x00, on != 0 ? 1 : 0, 0x00})) << on;
    }
}

TEST(WorkbookWriter, MarginKindsAndTheLeftMarginFallback)
{
    const std::string twoInches = f64Bytes(0x4000000000000000);
    const std::vector<std::pair<int32_t, int>> kinds = {
        {0x0026, 0x26}, {0x0027, 0x27}, {0x0028, 0x28}, {0x0029, 0x29},
        {0x0025, 0x26}, {0x002A, 0x26}, {0, 0x26},      {-1, 0x26}, {0x10027, 0x26}};
    for (const auto& [kind, id] : kinds) {
        std::string image;
        EXPECT_EQ(xls::appendMargin(image, kind, 2), 12);
        EXPECT_EQ(image, bytes({id, 0x00, 0x08, 0x00}) + twoInches) << kind;
    }
}

TEST(WorkbookWriter, CellsCarryIndicesAttributesAndValues)
{
    std::string image;
    EXPECT_EQ(xls::appendNumberCell(image, 21.5, 2, 1, plainCell), 19);
    EXPECT_EQ(image, bytes({0x03, 0x00, 0x0F, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x40, 0x01}) +
                         f64Bytes(0x4035800000000000));

    image.clear();
    EXPECT_EQ(xls::appendLabelCell(image, "Temperature", 1, 1, plainCell), 23);
    EXPECT_EQ(image, bytes({0x04, 0x00, 0x13, 0x00, 0x00, 0x00, 0x00, 0x00,
                            0x00, 0x40, 0x01, 0x0B}) + "Temperature");

    // Date format 15 joins font 1 in attribute byte 1; the other two are copied.
    image.clear();
    EXPECT_EQ(xls::appendDateCell(image, "20240315120000", 40000, 3, {0x40, 0x83, 0x41, 15}), 19);
    EXPECT_EQ(image, bytes({0x03, 0x00, 0x0F, 0x00, 0x3F, 0x9C, 0x02, 0x00, 0x41, 0x4F, 0x83}) +
                         f64Bytes(0x40E626D000000000));

    EXPECT_EQ(xls::cellIndex(1), 0u);
    EXPECT_EQ(xls::cellIndex(40000), 39999u);
    EXPECT_EQ(xls::cellIndex(65536), 65535u);
}

TEST(WorkbookWriter, LongTextsAreCutTo255Bytes)
{
    const std::string longText(300, 'x');
    const std::string kept(255, 'x');

    std::string image;
    EXPECT_EQ(xls::appendLabelCell(image, longText, 1, 1, plainCell), 12 + 255);
    EXPECT_EQ(readU16(image, 2), 263u);
    EXPECT_EQ(static_cast<uint8_t>(image[11]), 255);
    EXPECT_EQ(image.substr(12), kept);

    image.clear();
    EXPECT_EQ(xls::appendHeader(image, longText), 5 + 255);
    EXPECT_EQ(readU16(image, 2), 256u);
    EXPECT_EQ(static_cast<uint8_t>(image[4]), 255);
    EXPECT_EQ(image.substr(5), kept);

    image.clear();
    EXPECT_EQ(xls::appendFont(image, longText, 10, 0), 9 + 255);
    EXPECT_EQ(readU16(image, 2), 260u);
    EXPECT_EQ(static_cast<uint8_t>(image[8]), 255);

    // Exactly 255 is still whole.
    image.clear();
    EXPECT_EQ(xls::appendFooter(image, kept), 5 + 255);
    image += bytes({0x0A, 0x00, 0x00, 0x00});
    EXPECT_TRUE(walkRecords(image));
}

TEST(WorkbookWriter, SerialDatesOfThe1900System)
{
    EXPECT_EQ(xls::serialDate("19700101000000"), 25569.0);
    EXPECT_EQ(xls::serialDate("20230101000000"), 44927.0);
    EXPECT_EQ(xls::serialDate("20240101000000"), 45292.0);
    EXPECT_EQ(xls::serialDate("20241231000000"), 45657.0);
    EXPECT_EQ(xls::serialDate("20240315120000"), 45366.5);
    // Leap days: the day after 28 February 2023 and 2024, and 2000 (a leap
    // century); 2038-01-19 03:14:07, the last time a record can carry.
    EXPECT_EQ(xls::serialDate("20230301000000"), 44986.0);
    EXPECT_EQ(xls::serialDate("20240229000000"), 45351.0);
    EXPECT_EQ(xls::serialDate("20240301000000"), 45352.0);
    EXPECT_EQ(xls::serialDate("20000301000000"), 36586.0);
    EXPECT_DOUBLE_EQ(xls::serialDate("20380119031407"), 50424.0 + 11647.0 / 86400.0);
    EXPECT_DOUBLE_EQ(xls::serialDate("19991231235959"), 36525.0 + 86399.0 / 86400.0);

    for (const char* bad : {"20240015000000", "20241315000000", "20240100000000",
                            "20240132000000", "18991231000000", "21010101000000",
                            "00000000000000", "2024031512000", ""})
        EXPECT_EQ(xls::serialDate(bad), 0.0) << bad;
}

// ---- Sheet -----------------------------------------------------------------

std::vector<Record> threeRecords()
{
    return {{march15Noon, 453, 215}, {march15Noon + 600, 0, 0}, {march15Noon + 1200, 612, -105}};
}

TEST(ExportSheet, EmptyStoreGivesTheFixedRecordsOnly)
{
    const std::string image = xls::workbookBytes({});
    EXPECT_EQ(image.size(), 628u);
    const auto found = walkRecords(image);
    ASSERT_TRUE(found);

    std::vector<unsigned> expected = {0x0009, 0x001F};
    expected.insert(expected.end(), 24, 0x001E);
    for (unsigned id : {0x2B, 0x28, 0x26, 0x27, 0x29, 0x31, 0x31, 0x31, 0x31, 0x24, 0x24, 0x24,
                        0x25, 0x14, 0x15, 0x04, 0x04, 0x04, 0x0A})
        expected.push_back(id);
    EXPECT_EQ(idsOf(*found), expected);

    // Fonts 0-3 and the column widths in their order.
    EXPECT_EQ((*found)[31].body, bytes({0xC8, 0x00, 0x00, 0x00, 0x05}) + "Arial");
    EXPECT_EQ((*found)[32].body, bytes({0xC8, 0x00, 0x01, 0x00, 0x05}) + "Arial");
    EXPECT_EQ((*found)[33].body, bytes({0xE0, 0x01, 0x05, 0x00, 0x05}) + "Arial");
    EXPECT_EQ((*found)[34].body, bytes({0x68, 0x01, 0x02, 0x00, 0x07}) + "Courier");
    EXPECT_EQ((*found)[35].body, bytes({0x00, 0x00, 0x00, 0x1E}));
    EXPECT_EQ((*found)[36].body, bytes({0x01, 0x01, 0x00, 0x1E}));
    EXPECT_EQ((*found)[37].body, bytes({0x02, 0x02, 0x00, 0x32}));
    EXPECT_EQ((*found)[38].body, bytes({0xE0, 0x01}));
    EXPECT_EQ((*found)[41].body.substr(8), "Temperature");
    EXPECT_EQ((*found)[42].body.substr(8), "Humidity");
    EXPECT_EQ((*found)[43].body, bytes({0x00, 0x00, 0x02, 0x00, 0x00, 0x40, 0x01, 0x09}) +
                                     "Date_Time");
}

TEST(ExportSheet, OneRecordIsOneRowAfterTheLabels)
{
    const std::string image = xls::workbookBytes({{march15Noon, 453, 215}});
    ASSERT_EQ(image.size(), 628u + 57u);
    const std::string empty = xls::workbookBytes({});
    EXPECT_EQ(image.substr(0, 624), empty.substr(0, 624));

    const std::string cell = bytes({0x03, 0x00, 0x0F, 0x00, 0x01, 0x00});
    EXPECT_EQ(image.substr(624),
              cell + bytes({0x00, 0x00, 0x00, 0x40, 0x01}) + f64Bytes(0x4035800000000000) +
                  cell + bytes({0x01, 0x00, 0x00, 0x40, 0x01}) + f64Bytes(0x4046A66666666666) +
                  cell + bytes({0x02, 0x00, 0x00, 0x4F, 0x01}) + f64Bytes(0x40E626D000000000) +
                  bytes({0x0A, 0x00, 0x00, 0x00}));
}

TEST(ExportSheet, RowsFollowTheStoreOrderInCelsius)
{
    std::vector<Record> records = threeRecords();
    records.push_back({-1, 500, 100}); // An invalid time has no date.
    for (size_t count = 0; count <= records.size(); ++count) {
        const std::vector<Record> part(records.begin(), records.begin() + count);
        EXPECT_EQ(xls::workbookBytes(part).size(), 628 + 57 * count);
    }

    const auto found = walkRecords(xls::workbookBytes(records));
    ASSERT_TRUE(found);
    ASSERT_EQ(found->size(), 44u + 12u + 1u);
    const std::vector<std::vector<double>> rows = {
        {21.5, 45.3, 45366.5},
        {0.0, 0.0, 45366.5 + 600 / 86400.0},
        {-10.5, 61.2, 45366.5 + 1200 / 86400.0},
        {10.0, 50.0, 0.0}};
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < 3; ++c) {
            const Cell cell = numberCell((*found)[44 + 3 * r + c]);
            EXPECT_EQ(cell.row, r + 1);
            EXPECT_EQ(cell.column, c);
            EXPECT_DOUBLE_EQ(cell.value, rows[r][c]) << r << "," << c;
        }
    }
    // -105 tenths is exactly -10.5.
    EXPECT_EQ(numberCell((*found)[50]).value, -10.5);
}

TEST(ExportSheet, OneSheetHoldsAtMost65535Records)
{
    EXPECT_TRUE(xls::fitsOneSheet(0));
    EXPECT_TRUE(xls::fitsOneSheet(65535));
    EXPECT_FALSE(xls::fitsOneSheet(65536));

    std::vector<Record> records(xls::maxExportRecords, Record{march15Noon, 450, 200});
    const std::string full = xls::workbookBytes(records);
    ASSERT_EQ(full.size(), 628u + 57u * 65535u);
    const auto found = walkRecords(full);
    ASSERT_TRUE(found);
    ASSERT_EQ(found->size(), 44u + 3u * 65535u + 1u);
    const Cell last = numberCell((*found)[found->size() - 2]);
    EXPECT_EQ(last.row, 65535u);
    EXPECT_EQ(last.column, 2u);

    records.push_back(Record{march15Noon, 450, 200});
    EXPECT_EQ(xls::workbookBytes(records), "");
}

TEST(ExportSheet, ThreeRecordsMatchTheGoldenFile)
{
    const std::string path = std::string(GOLDEN_DIR) + "/three_records.xls";
    const std::string image = xls::workbookBytes(threeRecords());
    const char* regenerate = std::getenv("CLIMADESK_REGENERATE_GOLDEN");
    if (regenerate && std::string(regenerate) == "1") {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << image;
        GTEST_SKIP() << "rewrote " << path;
    }
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file) << "missing " << path;
    const std::string golden{std::istreambuf_iterator<char>(file), {}};
    EXPECT_TRUE(walkRecords(golden));
    EXPECT_EQ(image.size(), golden.size());
    EXPECT_TRUE(image == golden) << "the export differs from " << path;
}

} // namespace
