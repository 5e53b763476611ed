#include "device/protocol.h"

#include "records/datemask.h"
#include "records/decimal.h"

#include <algorithm>
#include <cstring>

namespace device {

namespace {

const char* const newestTimeMask = "%yyyy/%mm/%dd%hh:%ii     ";

// Bytes first .. first + count - 1 as text; zero bytes give no character.
std::string fieldText(const unsigned char* reply, int first, int count)
{
    std::string text;
    for (int i = first; i < first + count; ++i)
        if (reply[i] != 0)
            text += static_cast<char>(reply[i]);
    return text;
}

// A field's number: at most five characters, so leadingDecimal reads it exactly.
int32_t fieldNumber(const std::string& text)
{
    return static_cast<int32_t>(records::leadingDecimal(text));
}

std::string trimBlanks(const std::string& text)
{
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

ReplyStatus statusOf(const unsigned char* reply)
{
    if (std::memcmp(reply, "QX51OK", 6) == 0)
        return ReplyStatus::Ok;
    if (std::memcmp(reply + 4, "BUSY", 4) == 0)
        return ReplyStatus::Busy;
    return ReplyStatus::Other;
}

} // namespace

std::string buildRequest(const std::string& command)
{
    std::string request = command.substr(0, requestSize);
    request.resize(requestSize, ' ');
    return request;
}

QueryReply decodeQuery(const unsigned char* reply)
{
    QueryReply decoded;
    decoded.status = statusOf(reply);
    decoded.newestTime = records::parseTime(newestTimeMask, fieldText(reply, 10, 20));
    decoded.interval = fieldNumber(fieldText(reply, 35, 2)) * 60;
    decoded.sampleCount = fieldNumber(fieldText(reply, 45, 5));
    return decoded;
}

Sample decodeSample(const unsigned char* bytes)
{
    if (bytes[0] == 0)
        return {0, 0};
    int32_t humidity = (bytes[0] >> 4) * 256 + bytes[1];
    int32_t temperature = (bytes[0] & 15) * 256 + bytes[2] - 400;
    return {temperature, humidity};
}

ReadingTexts readingTexts(const unsigned char* reply)
{
    std::string text = fieldText(reply, 50, 10);
    std::string first = text.substr(0, 5);
    std::string last = text.size() > 5 ? text.substr(text.size() - 5) : text;
    return {trimBlanks(first), trimBlanks(last)};
}

bool decodeDump(const unsigned char* bytes, int32_t size, int32_t count, std::vector<Sample>& samples)
{
    const int64_t expected = count > 0 ? int64_t{count} * sampleSize : 0;
    if (size < expected)
        return false;
    for (int32_t i = 0; i < count; ++i)
        samples.push_back(decodeSample(bytes + static_cast<size_t>(i) * sampleSize));
    return true;
}

std::optional<int32_t> readingTenths(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    const size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view tenth = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    const auto digitsOnly = [](std::string_view part) {
        return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || whole.size() > 4 || !digitsOnly(whole) || tenth.size() > 1 || !digitsOnly(tenth)
        || (dot != std::string_view::npos && tenth.empty()))
        return std::nullopt;
    int32_t value = 0;
    for (char c : whole)
        value = value * 10 + (c - '0');
    value = value * 10 + (tenth.empty() ? 0 : tenth[0] - '0');
    return negative ? -value : value;
}

} // namespace device
