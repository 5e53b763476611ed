// Record files: line splitting, header lines, record lines as read and written,
// the whole file's bytes, and reading back what was written.
#include "records/logfile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

using records::Record;

constexpr int32_t maxTenths = std::numeric_limits<int32_t>::max();
constexpr int32_t minTenths = std::numeric_limits<int32_t>::min();

std::vector<std::string> linesOf(const std::string& bytes)
{
    records::LogLines lines(bytes);
    std::vector<std::string> result;
    std::string line;
    while (lines.next(line))
        result.push_back(line);
    EXPECT_FALSE(lines.next(line)); // stays at the end
    return result;
}

// {temperature, humidity} of one record line; {-7, -7} when it is the end marker.
std::pair<int32_t, int32_t> readLine(const std::string& line)
{
    int32_t temperature = -7;
    int32_t humidity = -7;
    records::readRecordLine(line, temperature, humidity);
    return {temperature, humidity};
}

// What an import makes of a file: magic, header, separator, records up to the
// end marker or the end of the bytes. False when the magic is missing.
struct ReadFile {
    int32_t newestTime = 0;
    int32_t interval = 0;
    std::vector<Record> records;
};

bool readFile(const std::string& bytes, ReadFile& file)
{
    records::LogLines lines(bytes);
    std::string line, line2, line3;
    if (!lines.next(line) || line != records::logMagic)
        return false;
    lines.next(line2);
    lines.next(line3);
    file.newestTime = records::readNewestTime(line2, line3);
    lines.next(line);
    file.interval = records::readInterval(line);
    lines.next(line);
    Record record{};
    while (lines.next(line) && records::readRecordLine(line, record.temperature, record.humidity))
        file.records.push_back(record);
    return true;
}

TEST(LogFileTest, SplitsLinesAtEveryKindOfLineEnd)
{
    EXPECT_EQ(linesOf(std::string("a\r\nb\nc\rd\0e", 10)),
              (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    // An empty tail after the last line end is no line; empty lines inside are.
    EXPECT_EQ(linesOf("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(linesOf("a\r"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(linesOf("\n"), (std::vector<std::string>{""}));
    EXPECT_EQ(linesOf(""), (std::vector<std::string>{}));
    EXPECT_EQ(linesOf("x\r\r\ny\n\rz"), (std::vector<std::string>{"x", "", "y", "", "z"}));
    EXPECT_EQ(linesOf(std::string("\0\0", 2)), (std::vector<std::string>{"", ""}));
    // CR LF split over a NUL is two ends.
    EXPECT_EQ(linesOf(std::string("p\r\0\nq", 5)), (std::vector<std::string>{"p", "", "", "q"}));
    // Other control bytes and high bytes stay in the line.
    EXPECT_EQ(linesOf("\t\xB0\x7F\x1A"), (std::vector<std::string>{"\t\xB0\x7F\x1A"}));
}

TEST(LogFileTest, ReadsTheHeaderLines)
{
    EXPECT_EQ(records::readNewestTime("2018/05/09", "14:30     "), 1525876200);
    EXPECT_EQ(records::readNewestTime("2018/05/09", "14:30"), -1);
    EXPECT_EQ(records::readNewestTime("2018/05/09", ""), -1);
    EXPECT_EQ(records::readNewestTime("0000/00/00", "00:00     "), -1);

    EXPECT_EQ(records::readInterval("SR = 05min"), 300);
    EXPECT_EQ(records::readInterval("SR = 15min"), 900);
    EXPECT_EQ(records::readInterval("SR = 99min"), 5940);
    EXPECT_EQ(records::readInterval("SR = 123min"), 720);
    EXPECT_EQ(records::readInterval("SR = -5min"), -300);
    EXPECT_EQ(records::readInterval("SR = +5min"), 300);
    EXPECT_EQ(records::readInterval("SR =  5min"), 300);
    EXPECT_EQ(records::readInterval("SR = 5xmin"), 300);
    EXPECT_EQ(records::readInterval("SR = x5min"), 0);
    EXPECT_EQ(records::readInterval("SR = - 5"), 0);
    // Short lines: what is there at positions 6 and 7.
    EXPECT_EQ(records::readInterval("SR = 7"), 420);
    EXPECT_EQ(records::readInterval("SR = "), 0);
    EXPECT_EQ(records::readInterval("SR"), 0);
    EXPECT_EQ(records::readInterval(""), 0);
}

TEST(LogFileTest, ReadsRecordLines)
{
    using Pair = std::pair<int32_t, int32_t>;
    EXPECT_EQ(readLine("+23.5,45.6"), Pair(235, 456));
    EXPECT_EQ(readLine("-4.2,80.0"), Pair(-42, 800));
    EXPECT_EQ(readLine("+0.5,10.3"), Pair(5, 103));
    EXPECT_EQ(readLine("----------"), Pair(0, 0));
    EXPECT_EQ(readLine(""), Pair(0, 0));
    // 23.45 is held as a single slightly above 23.45.
    EXPECT_EQ(readLine("23.45,+23.5"), Pair(235, 235));
    EXPECT_EQ(readLine("  -4.2,\t 7"), Pair(-42, 70));
    EXPECT_EQ(readLine("abc,def"), Pair(0, 0));
    EXPECT_EQ(readLine("1,2,3"), Pair(10, 20));
    EXPECT_EQ(readLine("5"), Pair(50, 0));
    EXPECT_EQ(readLine(",5"), Pair(0, 50));
    EXPECT_EQ(readLine("12abc,3.9 %"), Pair(120, 39));
    // Halfway cases go to the even tenth; 0.05 and 0.35 are not halfway in single.
    EXPECT_EQ(readLine("0.25,0.75"), Pair(2, 8));
    EXPECT_EQ(readLine("-0.25,-0.75"), Pair(-2, -8));
    EXPECT_EQ(readLine("0.05,0.35"), Pair(1, 3));
    // Lines that look like the markers but are not exactly them.
    EXPECT_EQ(readLine("---------"), Pair(0, 0));
    EXPECT_EQ(readLine("*********"), Pair(0, 0));
    EXPECT_EQ(readLine("********** "), Pair(0, 0));

    // The end marker reads nothing.
    int32_t temperature = 11;
    int32_t humidity = 22;
    EXPECT_FALSE(records::readRecordLine("**********", temperature, humidity));
    EXPECT_EQ(temperature, 11);
    EXPECT_EQ(humidity, 22);
    EXPECT_TRUE(records::readRecordLine("----------", temperature, humidity));
    EXPECT_EQ(temperature, 0);
    EXPECT_EQ(humidity, 0);
}

// The number ends at the first character that cannot continue it.
TEST(LogFileTest, ReadsTheLongestNumberAtTheStart)
{
    using Pair = std::pair<int32_t, int32_t>;
    EXPECT_EQ(readLine("1e1,1E-1"), Pair(100, 1));
    EXPECT_EQ(readLine("1e,1e+"), Pair(10, 10));
    EXPECT_EQ(readLine("1e-,2E+1x"), Pair(10, 200));
    EXPECT_EQ(readLine(".5,5."), Pair(5, 50));
    EXPECT_EQ(readLine(".,+"), Pair(0, 0));
    EXPECT_EQ(readLine("-,+-1"), Pair(0, 0));
    EXPECT_EQ(readLine("- 5,.e1"), Pair(0, 0));
    EXPECT_EQ(readLine("1.2.3,0012.50"), Pair(12, 125));
    EXPECT_EQ(readLine("inf,nan"), Pair(0, 0));
    EXPECT_EQ(readLine("0x10,1 e1"), Pair(0, 10));
    EXPECT_EQ(readLine("-0,-0.0"), Pair(0, 0));
}

// Values beyond single precision or beyond 32-bit tenths saturate; tiny ones are 0.
TEST(LogFileTest, SaturatesHugeNumbers)
{
    using Pair = std::pair<int32_t, int32_t>;
    EXPECT_EQ(readLine("1e50,-1e50"), Pair(maxTenths, minTenths));
    EXPECT_EQ(readLine("1e-50,-1e-50"), Pair(0, 0));
    EXPECT_EQ(readLine("1e99999999999999999999999,-1e-99999999999999999999999"), Pair(maxTenths, 0));
    // In single range but not in 32-bit tenths.
    EXPECT_EQ(readLine("3e8,-3e8"), Pair(maxTenths, minTenths));
    EXPECT_EQ(readLine("214748364.7,-214748364.8"), Pair(maxTenths, minTenths));
    EXPECT_EQ(readLine("1e-40,1e6"), Pair(0, 10000000));
    // Many digits: the magnitude comes from where the first non-zero digit stands.
    const std::string zeros(1000, '0');
    EXPECT_EQ(readLine("1" + zeros + ",0." + zeros + "1"), Pair(maxTenths, 0));
    EXPECT_EQ(readLine("0." + zeros + "1e1005,0." + zeros + "1e1040"), Pair(100000, maxTenths));
    EXPECT_EQ(readLine("-1" + zeros + "e-1040," + zeros + "7.5"), Pair(0, 75));
    EXPECT_EQ(readLine(std::string(100000, '9')), Pair(maxTenths, 0));
}

TEST(LogFileTest, WritesRecordAndIntervalLines)
{
    EXPECT_EQ(records::formatRecordLine(235, 456), "+23.5,45.6");
    EXPECT_EQ(records::formatRecordLine(-42, 800), "-4.2,80.0");
    EXPECT_EQ(records::formatRecordLine(5, 103), "+0.5,10.3");
    EXPECT_EQ(records::formatRecordLine(-5, 1), "-0.5,0.1");
    // Only a gap is written as the gap line: a reading of 0.0 is kept.
    EXPECT_EQ(records::formatRecordLine(0, 0), "----------");
    EXPECT_EQ(records::formatRecordLine(0, 456), "+0.0,45.6");
    EXPECT_EQ(records::formatRecordLine(235, 0), "+23.5,0.0");
    // A negative humidity keeps its sign.
    EXPECT_EQ(records::formatRecordLine(10, -42), "+1.0,-4.2");
    EXPECT_EQ(records::formatRecordLine(10, -5), "+1.0,-0.5");
    EXPECT_EQ(records::formatRecordLine(maxTenths, minTenths), "+214748364.7,-214748364.8");
    EXPECT_EQ(records::formatRecordLine(minTenths, maxTenths), "-214748364.8,214748364.7");

    EXPECT_EQ(records::formatIntervalLine(300), "SR = 05min");
    EXPECT_EQ(records::formatIntervalLine(900), "SR = 15min");
    EXPECT_EQ(records::formatIntervalLine(6000), "SR = 00min");
    EXPECT_EQ(records::formatIntervalLine(5940), "SR = 99min");
    EXPECT_EQ(records::formatIntervalLine(59), "SR = 00min");
    EXPECT_EQ(records::formatIntervalLine(-300), "SR = -5min");
    EXPECT_EQ(records::formatIntervalLine(-600), "SR = 10min");
    EXPECT_EQ(records::formatIntervalLine(maxTenths), "SR = 94min");
    EXPECT_EQ(records::formatIntervalLine(minTenths), "SR = 94min");
}

// The expected bytes were written by hand from the format: magic, the newest
// time (1525876200 = 2018-05-09 14:30:00) as date and time lines, "SR = 05min"
// for 300 s, the separator, one line per record and the end marker, each line
// ended by CR LF. To change them, edit this literal; never paste the writer's output.
TEST(LogFileTest, WritesTheWholeFile)
{
    const std::vector<Record> stored = {
        {1525875000, 456, 235},
        {1525875300, 800, -42},
        {1525875600, 0, 0},
        {1525875900, 500, 0},
        {1525876200, 103, 5},
    };
    const std::string expected =
        "***QX51***\r\n"
        "2018/05/09\r\n"
        "14:30     \r\n"
        "SR = 05min\r\n"
        "**********\r\n"
        "+23.5,45.6\r\n"
        "-4.2,80.0\r\n"
        "----------\r\n"
        "+0.0,50.0\r\n"
        "+0.5,10.3\r\n"
        "**********\r\n";
    EXPECT_EQ(records::formatLogFile(stored, 300), expected);

    // With no records the header holds the invalid time, which reads back as -1.
    const std::string empty = records::formatLogFile({}, 6000);
    EXPECT_EQ(empty,
              "***QX51***\r\n0000/00/00\r\n00:00     \r\nSR = 00min\r\n"
              "**********\r\n**********\r\n");
    ReadFile file;
    ASSERT_TRUE(readFile(empty, file));
    EXPECT_EQ(file.newestTime, -1);
    EXPECT_TRUE(file.records.empty());
}

TEST(LogFileTest, ReadsBackWhatItWrote)
{
    // Readings over the device's range and beyond, negative humidities and gaps
    // included, up to the largest magnitudes that single precision keeps exact.
    std::vector<Record> stored;
    for (int32_t temperature = -5000; temperature <= 5000; temperature += 7)
        stored.push_back({0, (temperature * 13) % 4096, temperature});
    for (int32_t value : {10485759, -10485759, 9999999, -8388609, 1048576})
        stored.push_back({0, value, -value});
    stored.push_back({0, maxTenths, minTenths});
    stored.push_back({0, 0, 500});
    stored.push_back({0, 456, 0});
    stored.push_back({0, 0, 0});
    int32_t time = 1525876260; // 14:31:00
    for (auto record = stored.rbegin(); record != stored.rend(); ++record, time -= 60)
        record->time = time;

    ReadFile file;
    ASSERT_TRUE(readFile(records::formatLogFile(stored, 60), file));
    EXPECT_EQ(file.newestTime, 1525876260);
    EXPECT_EQ(file.interval, 60);
    ASSERT_EQ(file.records.size(), stored.size());
    for (size_t i = 0; i < stored.size(); ++i) {
        ASSERT_EQ(file.records[i].temperature, stored[i].temperature) << i;
        ASSERT_EQ(file.records[i].humidity, stored[i].humidity) << i;
    }

    // Seconds are not written: the newest time comes back to the minute.
    stored.back().time = 1525876299;
    ASSERT_TRUE(readFile(records::formatLogFile(stored, 60), file));
    EXPECT_EQ(file.newestTime, 1525876260);

    // Whole minutes from -9 to 99 come back.
    for (int32_t minutes = -9; minutes <= 99; ++minutes) {
        ReadFile header;
        ASSERT_TRUE(readFile(records::formatLogFile(stored, minutes * 60), header));
        ASSERT_EQ(header.interval, minutes * 60);
    }
}

// The bytes after the records: stop at the first end marker, or at the end of
// the bytes when there is none (an endless stream of empty lines would not end).
TEST(LogFileTest, RecordsEndAtTheMarkerOrTheEndOfTheBytes)
{
    ReadFile file;
    ASSERT_TRUE(readFile("***QX51***\n2018/05/09\n14:30     \nSR = 05min\n"
                         "+1.0,2.0\n+3.0,4.0\n**********\n+5.0,6.0\n",
                         file));
    // The separator line is skipped even when it is a record.
    ASSERT_EQ(file.records.size(), 1u);
    EXPECT_EQ(file.records[0].temperature, 30);

    file = ReadFile{};
    ASSERT_TRUE(readFile("***QX51***\r2018/05/09\r14:30     \rSR = 05min\r**********\r"
                         "+1.0,2.0\r\r-----",
                         file));
    ASSERT_EQ(file.records.size(), 3u);
    EXPECT_EQ(file.records[0].humidity, 20);
    EXPECT_EQ(file.records[1].humidity, 0);
    EXPECT_EQ(file.newestTime, 1525876200);
    EXPECT_EQ(file.interval, 300);

    file = ReadFile{};
    EXPECT_FALSE(readFile("***QX51*** \n", file));
    EXPECT_FALSE(readFile("", file));
    EXPECT_TRUE(readFile("***QX51***", file));
    EXPECT_TRUE(file.records.empty());
}

// The import reads the lines of the writer's form straight from the bytes:
// every line, of that form or not, after every kind of line end, gives what
// reading it on its own gives, and nothing after the end marker is read.
TEST(LogFileTest, ReadsEveryLineAsReadOnItsOwn)
{
    const char* const texts[] = {
        "+23.5,45.6", "-0.0,0.0", "+0.0,-4.2", "23.5,45.6", "+99999.9,99999.9", "+123456.7,1.0", "+1.0,123456.7",
        "+1.23,4.5", "+1.2,3.45", "+1.2,3.4,5.6", "+1.2,3.4 ", " +1.2,3.4", "+1.2;3.4", "+.5,1.0", "+1.,2.0",
        "+1.2,", "+1.2", ",", "", "----------", "-1.2,-3.4", "++1.2,3.4", "+1.2,+3.4", "+1.2,-", "1e2,3.4",
        "+1.2,3.4e1", "+1.2,3.4-", "-99999.9,-99999.9", "+9.9,.9", "+01.5,007.0",
        // Two whole digits each, the writer's commonest line, and bytes just off it.
        "-10.0,99.9", "+99.9,10.0", "+00.0,00.0", "+2a.5,45.6", "+23,5,45.6", "*23.5,45.6", "+23.5;45.6",
        "+23.5,4.56", "+23.5,45.6,", "+2\xB0.5,45.6", "+23.5,4\xB0.6", "+23.5,45.\xB9", " 23.5,45.6", "+23.5,45.6x",
    };
    const std::string lineEnds[] = {"\r\n", "\n", "\r", std::string(1, '\0')};
    std::string bytes = "***QX51***\r\n2018/05/09\r\n14:30     \r\nSR = 05min\r\n**********\r\n";
    // Each line after each line end, and followed by a line of the writer's form.
    for (const char* text : texts)
        for (const std::string& lineEnd : lineEnds)
            bytes += text + lineEnd + "+2.5,3.5" + lineEnd;
    bytes += "**********\r\n+5.0,6.0\r\n";
    ReadFile expected;
    ASSERT_TRUE(readFile(bytes, expected));
    records::LoadHeader header;
    std::vector<Record> read;
    ASSERT_TRUE(records::readLogFile(bytes, header, read));
    EXPECT_EQ(header.interval, 300);
    ASSERT_EQ(read.size(), expected.records.size());
    EXPECT_EQ(read.size(), std::size(texts) * std::size(lineEnds) * 2);
    for (size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].temperature, expected.records[i].temperature) << i;
        EXPECT_EQ(read[i].humidity, expected.records[i].humidity) << i;
    }
}

} // namespace

// Numbers in the writer's form are read without floating point: each must give
// what single precision gives, at the edges of that form and just beyond it.
TEST(RecordLineNumbers, WritersFormAndBeyondReadAlike)
{
    const std::vector<std::pair<const char*, int32_t>> cases = {
        {"+99999.9", 999999}, {"-99999.9", -999999}, {"+123456.7", 1234567}, {"+.5", 5}, {"-0.0", 0},
        {"+23.45", 235}, {"+1.", 10}, {"+0.1", 1}, {"12.3x", 123}, {"+9.9", 99}};
    for (const auto& [text, tenths] : cases) {
        int32_t temperature = -1, humidity = -1;
        ASSERT_TRUE(records::readRecordLine(std::string(text) + "," + text, temperature, humidity));
        EXPECT_EQ(temperature, tenths) << text;
        EXPECT_EQ(humidity, tenths) << text;
    }
    // Every value of the writer's form up to 4 whole digits, as a float would read it.
    for (int32_t value = -99999; value <= 99999; value += 7) {
        int32_t temperature = 0, humidity = 0;
        const std::string line = records::formatRecordLine(value == 0 ? 1 : value, 500);
        records::readRecordLine(line, temperature, humidity);
        const float asFloat = std::strtof(line.substr(0, line.find(',')).c_str(), nullptr);
        ASSERT_EQ(temperature, static_cast<int32_t>(std::nearbyint(static_cast<double>(asFloat) * 10.0))) << line;
    }
}
