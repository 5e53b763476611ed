// The CSV text of both styles, byte for byte, with the derived values at points
// computed independently, gaps, undefined values, a new day and an invalid time.
#include "export/csv.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

constexpr int32_t march15Noon = 1710504000;   // 2024-03-15 12:00:00
constexpr int32_t march16Midnight = march15Noon + 12 * 3600;

const std::vector<records::Record> sample = {
    {march15Noon, 500, 220},
    {march15Noon + 600, 0, 0},          // a gap
    {march15Noon + 1200, 800, -100},
    {march15Noon + 1800, 1005, 250},    // humidity above 100 %RH: nothing derived
    {march16Midnight, 3, -4},
    {march16Midnight + 600, 800, -105},
    {-1, 900, 500},                     // an invalid time
};

const std::string degrees = "\xC2\xB0";

std::string dataText(const std::string& unit)
{
    return "Date and time,Temperature (" + degrees + unit + "),Humidity (%RH),Dew point (" + degrees + unit +
           "),Absolute humidity (g/m\xC2\xB3)\r\n";
}

// Runs `check` with LC_ALL set to a decimal-comma locale, where one exists.
template <typename Check>
void inGermanLocale(Check check)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8"))
        check();
    std::setlocale(LC_ALL, saved.c_str());
}

} // namespace

TEST(Csv, BothStylesByteForByte)
{
    const std::string data = dataText("C") +
                             "2024-03-15T12:00:00,22.0,50.0,11.1,9.7\r\n"
                             "2024-03-15T12:10:00,,,,\r\n"
                             "2024-03-15T12:20:00,-10.0,80.0,-12.8,1.9\r\n"
                             "2024-03-15T12:30:00,25.0,100.5,,\r\n"
                             "2024-03-16T00:00:00,-0.4,0.3,-60.5,0.0\r\n"
                             "2024-03-16T00:10:00,-10.5,80.0,-13.3,1.8\r\n"
                             ",50.0,90.0,47.9,74.5\r\n";
    EXPECT_EQ(xls::csvText(sample, xls::CsvStyle::Data, false), data);

    const std::string spreadsheet = "\xEF\xBB\xBF"
                                    "Date and time;Temperature (" + degrees + "C);Humidity (%RH);Dew point (" +
                                    degrees + "C);Absolute humidity (g/m\xC2\xB3)\r\n"
                                    "2024-03-15 12:00:00;22,0;50,0;11,1;9,7\r\n"
                                    "2024-03-15 12:10:00;;;;\r\n"
                                    "2024-03-15 12:20:00;-10,0;80,0;-12,8;1,9\r\n"
                                    "2024-03-15 12:30:00;25,0;100,5;;\r\n"
                                    "2024-03-16 00:00:00;-0,4;0,3;-60,5;0,0\r\n"
                                    "2024-03-16 00:10:00;-10,5;80,0;-13,3;1,8\r\n"
                                    ";50,0;90,0;47,9;74,5\r\n";
    EXPECT_EQ(xls::csvText(sample, xls::CsvStyle::Spreadsheet, false), spreadsheet);

    // Fahrenheit: temperature and dew point converted, then rounded once.
    EXPECT_EQ(xls::csvText(sample, xls::CsvStyle::Data, true),
              dataText("F") +
                  "2024-03-15T12:00:00,71.6,50.0,52.0,9.7\r\n"
                  "2024-03-15T12:10:00,,,,\r\n"
                  "2024-03-15T12:20:00,14.0,80.0,9.0,1.9\r\n"
                  "2024-03-15T12:30:00,77.0,100.5,,\r\n"
                  "2024-03-16T00:00:00,31.3,0.3,-76.9,0.0\r\n"
                  "2024-03-16T00:10:00,13.1,80.0,8.1,1.8\r\n"
                  ",122.0,90.0,118.2,74.5\r\n");

    // No records: the header alone. The machine's locale changes nothing.
    EXPECT_EQ(xls::csvText({}, xls::CsvStyle::Data, false), dataText("C"));
    inGermanLocale([&] {
        EXPECT_EQ(xls::csvText(sample, xls::CsvStyle::Data, false), data);
        EXPECT_EQ(xls::csvText(sample, xls::CsvStyle::Spreadsheet, false), spreadsheet);
    });
}

TEST(Csv, FieldsAreQuotedOnlyWhereNeeded)
{
    EXPECT_EQ(xls::csvField("Humidity (%RH)", ','), "Humidity (%RH)");
    EXPECT_EQ(xls::csvField("a;b", ','), "a;b");
    EXPECT_EQ(xls::csvField("a;b", ';'), "\"a;b\"");
    EXPECT_EQ(xls::csvField("a,b", ','), "\"a,b\"");
    EXPECT_EQ(xls::csvField("say \"hi\"", ';'), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(xls::csvField("two\r\nlines", ','), "\"two\r\nlines\"");
    EXPECT_EQ(xls::csvField("", ','), "");
}
