// protocol.h: the Sentrel32's requests and the decoding of its replies, without I/O.
//
// The logger answers two fixed-size requests on TCP port 80: the query "QX51C",
// whose 64-byte reply holds the logger's state, the time of its newest stored
// sample, its logging interval, its sample count and its current reading texts;
// and the dump "QX51D", whose reply holds every stored sample in 3 bytes, oldest
// first. Query reply layout (offsets from 0; unlisted bytes are not read):
//
//   0-5    "QX51OK" when the request is accepted
//   4-7    "BUSY" when the logger is busy (looked at only when 0-5 are not "QX51OK")
//   10-29  newest sample time, "%yyyy/%mm/%dd%hh:%ii     " (date, time, five blanks)
//   35-36  logging interval in minutes
//   45-49  number of stored samples
//   50-59  the logger's display texts: temperature (first five), humidity (last five)
//
// Text fields take one character per byte, and a zero byte gives no character,
// so a field holding zero bytes reads as a shorter text. Numbers are read as C's
// atoi reads them: leading blanks, an optional sign, digits up to the first other
// character; no digits give 0.
//
// Nothing here fails: every byte pattern decodes to something. An unreadable time
// is -1; a negative sample count means no samples.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace device {

constexpr int requestSize = 64;
constexpr int queryReplySize = 64;
constexpr int sampleSize = 3;
// The count field holds five digits, so a dump never brings more samples.
constexpr int maxSamples = 99999;

constexpr const char* queryCommand = "QX51C";
constexpr const char* dumpCommand = "QX51D";

// The request for `command`: the text, then blanks, cut to 64 bytes.
std::string buildRequest(const std::string& command);

enum class ReplyStatus { Ok, Busy, Other };

// What a query reply says.
struct QueryReply {
    ReplyStatus status;
    int32_t newestTime;    // seconds as written, -1 when the date field does not parse
    int32_t interval;      // seconds: the minutes field times 60
    int32_t sampleCount;   // as written; below 1 means no samples
};

// Decodes the 64 bytes of a query reply.
QueryReply decodeQuery(const unsigned char* reply);

// One decoded sample in tenths: %RH and degrees Celsius; both 0 for a gap.
struct Sample {
    int32_t temperature;
    int32_t humidity;
};

// Decodes the 3 bytes of one dump sample. A first byte of 0 is a gap; otherwise
// the high nibble of b0 and b1 give the humidity (0 to 4095), the low nibble of b0
// and b2 the temperature offset by 40.0 degrees (-400 to 3695).
Sample decodeSample(const unsigned char* bytes);

// Decodes the `count` samples of a dump from the `size` bytes that came. False,
// with no sample, when fewer than count * 3 bytes came; a count below 1 gives
// none. Bytes beyond the count are never read.
bool decodeDump(const unsigned char* bytes, int32_t size, int32_t count, std::vector<Sample>& samples);

// The logger's display texts from a query reply, blanks trimmed at both ends.
struct ReadingTexts {
    std::string temperature;
    std::string humidity;
};

// Bytes 50-59 as text; the temperature is its first five characters and the
// humidity its last five, which overlap when zero bytes shortened the text.
ReadingTexts readingTexts(const unsigned char* reply);
// A reading text as tenths ("21.3" is 213, "-4" is -40, "+0.5" is 5): a sign,
// at most four digits and at most one decimal; none for anything else.
std::optional<int32_t> readingTenths(std::string_view text);

} // namespace device
