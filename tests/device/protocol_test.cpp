// The logger's requests and the decoding of its replies, byte by byte.
#include "device/protocol.h"

#include <gtest/gtest.h>

#include <string>

using namespace device;

namespace {

// A query reply: OK, 2024/03/15 12:00, 5 minutes, 42 samples, readings " 21.5 45.0".
std::string goodReply()
{
    std::string reply = "QX51OK    2024/03/1512:00     SR = 05min     00042 21.5 45.0    ";
    EXPECT_EQ(reply.size(), 64u);
    return reply;
}

QueryReply decode(const std::string& reply)
{
    return decodeQuery(reinterpret_cast<const unsigned char*>(reply.data()));
}

std::string withBytes(std::string reply, size_t offset, const std::string& bytes)
{
    return reply.replace(offset, bytes.size(), bytes);
}

Sample sample(unsigned char b0, unsigned char b1, unsigned char b2)
{
    const unsigned char bytes[3] = {b0, b1, b2};
    return decodeSample(bytes);
}

ReadingTexts readings(const std::string& bytes50to59)
{
    return readingTexts(reinterpret_cast<const unsigned char*>(withBytes(goodReply(), 50, bytes50to59).data()));
}

} // namespace

TEST(Protocol, RequestsAreTheCommandAndBlanksIn64Bytes)
{
    EXPECT_EQ(buildRequest(queryCommand), "QX51C" + std::string(59, ' '));
    EXPECT_EQ(buildRequest(dumpCommand), "QX51D" + std::string(59, ' '));
    EXPECT_EQ(buildRequest(std::string(70, 'x')), std::string(64, 'x'));
}

TEST(Protocol, StatusIsOkThenBusyThenNeither)
{
    EXPECT_EQ(decode(goodReply()).status, ReplyStatus::Ok);
    // Bytes 6 and 7 do not count for OK.
    EXPECT_EQ(decode(withBytes(goodReply(), 6, "BY")).status, ReplyStatus::Ok);
    EXPECT_EQ(decode(withBytes(goodReply(), 0, "QX51BUSY")).status, ReplyStatus::Busy);
    // Bytes 0-3 are not looked at for BUSY.
    EXPECT_EQ(decode(withBytes(goodReply(), 0, std::string("\0\0\0\0BUSY", 8))).status, ReplyStatus::Busy);
    EXPECT_EQ(decode(withBytes(goodReply(), 0, "QX51ERR ")).status, ReplyStatus::Other);
    EXPECT_EQ(decode(withBytes(goodReply(), 0, "qx51ok")).status, ReplyStatus::Other);
    EXPECT_EQ(decode(withBytes(goodReply(), 0, "QX51busy")).status, ReplyStatus::Other);
    EXPECT_EQ(decode(std::string(64, '\0')).status, ReplyStatus::Other);
}

TEST(Protocol, QueryGivesTheNewestTimeIntervalAndCount)
{
    QueryReply reply = decode(goodReply());
    EXPECT_EQ(reply.newestTime, 1710504000);   // 2024-03-15 12:00:00
    EXPECT_EQ(reply.interval, 300);
    EXPECT_EQ(reply.sampleCount, 42);

    // The time field must match with its five trailing blanks.
    EXPECT_EQ(decode(withBytes(goodReply(), 25, std::string(5, '\0'))).newestTime, -1);
    EXPECT_EQ(decode(withBytes(goodReply(), 25, "    x")).newestTime, -1);
    EXPECT_EQ(decode(withBytes(goodReply(), 10, "2024/02/30")).newestTime, -1);

    // Only bytes 35 and 36 count for the interval.
    EXPECT_EQ(decode(withBytes(goodReply(), 35, "15")).interval, 900);
    EXPECT_EQ(decode(withBytes(goodReply(), 35, " 5")).interval, 300);
    EXPECT_EQ(decode(withBytes(goodReply(), 30, "99999" "10" "999")).interval, 600);
    EXPECT_EQ(decode(withBytes(goodReply(), 35, std::string("\0" "7", 2))).interval, 420);
    EXPECT_EQ(decode(withBytes(goodReply(), 35, "-1")).interval, -60);
    EXPECT_EQ(decode(withBytes(goodReply(), 35, "ab")).interval, 0);

    EXPECT_EQ(decode(withBytes(goodReply(), 45, "99999")).sampleCount, 99999);
    EXPECT_EQ(decode(withBytes(goodReply(), 45, "00042")).sampleCount, 42);
    EXPECT_EQ(decode(withBytes(goodReply(), 45, "-0005")).sampleCount, -5);
    EXPECT_EQ(decode(withBytes(goodReply(), 45, "  12x")).sampleCount, 12);
    EXPECT_EQ(decode(withBytes(goodReply(), 45, "abc  ")).sampleCount, 0);
    EXPECT_EQ(decode(withBytes(goodReply(), 45, std::string("\0" "1" "\0" "2" "3", 5))).sampleCount, 123);
}

TEST(Protocol, SamplesDecodeWithTheirNibblesAndGaps)
{
    Sample gap = sample(0, 0xFF, 0xFF);
    EXPECT_EQ(gap.humidity, 0);
    EXPECT_EQ(gap.temperature, 0);

    Sample lowest = sample(0x10, 0x00, 0x00);
    EXPECT_EQ(lowest.humidity, 256);
    EXPECT_EQ(lowest.temperature, -400);

    Sample hottest = sample(0x0F, 0x00, 0xFF);
    EXPECT_EQ(hottest.humidity, 0);
    EXPECT_EQ(hottest.temperature, 3695);

    Sample top = sample(0xFF, 0xFF, 0xFF);
    EXPECT_EQ(top.humidity, 4095);
    EXPECT_EQ(top.temperature, 3695);
    Sample ff = sample(0xFF, 0x00, 0x00);
    EXPECT_EQ(ff.humidity, 3840);
    EXPECT_EQ(ff.temperature, 3440);

    // 45.6 %RH and 23.5 degrees: humidity 0x1C8, raw temperature 635 = 0x27B.
    Sample room = sample(0x12, 0xC8, 0x7B);
    EXPECT_EQ(room.humidity, 456);
    EXPECT_EQ(room.temperature, 235);
}

TEST(Protocol, ReadingTextsSplitTheDisplayBytes)
{
    ReadingTexts full = readings(" 21.5 45.0");
    EXPECT_EQ(full.temperature, "21.5");
    EXPECT_EQ(full.humidity, "45.0");

    ReadingTexts latin = readings("-12.5\xB0" "99.9");
    EXPECT_EQ(latin.temperature, "-12.5");
    EXPECT_EQ(latin.humidity, "\xB0" "99.9");

    // Zero bytes shorten the text: the first and last five characters overlap.
    ReadingTexts shortened = readings(std::string("21.5\0\0" "45.0", 10));
    EXPECT_EQ(shortened.temperature, "21.54");
    EXPECT_EQ(shortened.humidity, "545.0");
    ReadingTexts four = readings(std::string("12.3\0\0\0\0\0\0", 10));
    EXPECT_EQ(four.temperature, "12.3");
    EXPECT_EQ(four.humidity, "12.3");
    ReadingTexts none = readings(std::string(10, '\0'));
    EXPECT_EQ(none.temperature, "");
    EXPECT_EQ(none.humidity, "");
}
