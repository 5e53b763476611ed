// logfile.cpp: record-file lines, the numbers of record lines, and the file writer.
#include "records/logfile.h"

#include "records/datemask.h"
#include "records/decimal.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace records {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Larger exponents act as infinite; the cap keeps the sums below inside 64 bits.
constexpr int64_t exponentCap = 1'000'000'000'000'000;

// The part of a text that the number grammar of record lines accepts.
struct NumberText {
    bool negative = false;
    // Digits, point and exponent without the sign; empty when the text holds no number.
    std::string_view digits;
    // Decimal exponent of the first non-zero digit (2 for 345.6, -2 for 0.07).
    int64_t leadExponent = 0;
};

// Reads the optional exponent at text[pos] into number.leadExponent and moves
// pos past it; an "e" without digits after it is not part of the number.
void scanExponent(std::string_view text, size_t& pos, NumberText& number)
{
    if (pos >= text.size() || (text[pos] != 'e' && text[pos] != 'E'))
        return;
    size_t next = pos + 1;
    bool negative = false;
    if (next < text.size() && (text[next] == '+' || text[next] == '-'))
        negative = text[next++] == '-';
    if (next >= text.size() || !isDigit(text[next]))
        return;
    int64_t exponent = 0;
    for (; next < text.size() && isDigit(text[next]); ++next)
        exponent = std::min(exponent * 10 + (text[next] - '0'), exponentCap);
    number.leadExponent += negative ? -exponent : exponent;
    pos = next;
}

// The longest number at the start of `text`, after blanks and a sign.
NumberText scanNumber(std::string_view text)
{
    NumberText number;
    size_t pos = 0;
    while (pos < text.size() && isWhiteSpace(text[pos]))
        ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        number.negative = text[pos++] == '-';
    const size_t start = pos;
    bool nonZeroSeen = false;
    size_t mantissaDigits = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos, ++mantissaDigits) {
        if (nonZeroSeen)
            ++number.leadExponent;
        else
            nonZeroSeen = text[pos] != '0';
    }
    if (pos < text.size() && text[pos] == '.') {
        int64_t place = 0;
        for (++pos; pos < text.size() && isDigit(text[pos]); ++pos, ++mantissaDigits) {
            --place;
            if (!nonZeroSeen && text[pos] != '0') {
                nonZeroSeen = true;
                number.leadExponent = place;
            }
        }
    }
    if (mantissaDigits == 0)
        return NumberText{};
    scanExponent(text, pos, number);
    number.digits = text.substr(start, pos - start);
    return number;
}

// The number at the start of `text` in single precision; 0 when there is none.
float readNumber(std::string_view text)
{
    const NumberText number = scanNumber(text);
    if (number.digits.empty())
        return 0.0f;
    float value = 0.0f;
    const char* first = number.digits.data();
    const auto result = std::from_chars(first, first + number.digits.size(), value);
    // The value is left alone when it does not fit: it rounds to infinity when
    // at least 1, else (below the smallest single) to zero.
    if (result.ec == std::errc::result_out_of_range)
        value = number.leadExponent >= 0 ? std::numeric_limits<float>::infinity() : 0.0f;
    return number.negative ? -value : value;
}

// The common form of a record-file number, as the writer makes it: an optional
// sign, one to five digits, "." and one digit, filling `text` exactly. Its
// tenths are then exact: single precision holds every such number to within
// 2^-24 of itself, so ten times it rounds back to the same integer, and the
// general reading below would give the same. False for any other text.
bool readPlainTenths(std::string_view text, int32_t& tenths)
{
    size_t pos = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '+' || text[0] == '-'))
        pos = 1;
    const size_t digits = text.size() - pos;   // the whole part, ".", the tenths digit
    if (text.size() < pos + 3 || digits > 7 || text[text.size() - 2] != '.' || !isDigit(text.back()))
        return false;
    int32_t value = 0;
    for (; pos < text.size() - 2; ++pos) {
        if (!isDigit(text[pos]))
            return false;
        value = value * 10 + (text[pos] - '0');
    }
    value = value * 10 + (text.back() - '0');
    tenths = negative ? -value : value;
    return true;
}

// Reads the tenths of a plain number (see readPlainTenths) that starts at `p`
// and ends at the first byte that cannot continue it, before `end`; moves `p`
// past it. False when no plain number starts there.
inline bool scanPlainTenths(const char*& p, const char* end, int32_t& tenths)
{
    const bool negative = p < end && *p == '-';
    if (p < end && (*p == '+' || *p == '-'))
        ++p;
    const char* const digits = p;
    int32_t value = 0;
    for (; p < end && isDigit(*p) && p - digits < 5; ++p)
        value = value * 10 + (*p - '0');
    if (p == digits || end - p < 2 || p[0] != '.' || !isDigit(p[1]))
        return false;
    value = value * 10 + (p[1] - '0');
    p += 2;
    tenths = negative ? -value : value;
    return true;
}

// `value` times 10, rounded to the nearest integer with halves to even (the
// default rounding mode, which the program never changes), saturated to 32 bits.
int32_t tenthsOf(float value)
{
    const double tenths = std::nearbyint(static_cast<double>(value) * 10.0);
    if (tenths >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (tenths > -2147483648.0)
        return static_cast<int32_t>(tenths);
    return std::numeric_limits<int32_t>::min();
}

void appendRecordLine(std::string& out, int32_t temperature, int32_t humidity)
{
    if (isGap({0, humidity, temperature})) {
        out += logGapLine;
        return;
    }
    if (temperature >= 0)
        out += '+';
    appendTenths(out, temperature);
    out += ',';
    appendTenths(out, humidity);
}

void appendLine(std::string& out, std::string_view line)
{
    out += line;
    out += "\r\n";
}

} // namespace

// ---- Reading ------------------------------------------------------------

bool LogLines::next(std::string& line)
{
    std::string_view view;
    if (!next(view))
        return false;
    line.assign(view);
    return true;
}

size_t LogLines::endOfLine() const
{
    size_t end = position;
    // Every line end is at most '\r': one comparison passes all other bytes.
    while (end < bytes.size() && (static_cast<unsigned char>(bytes[end]) > '\r' || !isLineEnd(bytes[end])))
        ++end;
    return end;
}

void LogLines::takeLine(size_t end, std::string_view& line)
{
    line = bytes.substr(position, end - position);
    position = end;
    if (position < bytes.size()) {
        const bool crLf = bytes[position] == '\r' && position + 1 < bytes.size()
            && bytes[position + 1] == '\n';
        position += crLf ? 2 : 1;
    }
}

bool LogLines::next(std::string_view& line)
{
    if (position >= bytes.size())
        return false;
    takeLine(endOfLine(), line);
    return true;
}

namespace {

// The writer's line for readings from 10.0 to 99.9 (most indoor air), "+dd.d,dd.d"
// and CR LF, checked in two words at once on a little-endian machine: its
// readings, and `p` moved past it; false, `p` left alone, for any other bytes.
inline bool scanTwoDigitRecord(const char*& p, const char* end, int32_t& temperature, int32_t& humidity)
{
    if (std::endian::native != std::endian::little || end - p < 12)
        return false;
    uint64_t head;   // sign, d, d, '.', d, ',', d, d
    uint32_t tail;   // '.', d, CR, LF
    std::memcpy(&head, p, sizeof head);
    std::memcpy(&tail, p + 8, sizeof tail);
    // A byte's value as a digit; its top bit set when it is none. The bytes
    // below a digit are all sign, "." or ",", which carry nothing into it.
    const uint64_t values = head ^ 0x3030303030303030u;
    const bool digits = (((values + 0x7676767676767676u) | values) & 0x8080008000808000u) == 0;
    const bool marks = (head & 0x0000FF00FF000000u) == (uint64_t{','} << 40 | uint64_t{'.'} << 24);
    const bool sign = (head & 0xFF) == '+' || (head & 0xFF) == '-';
    const uint32_t tenth = (tail >> 8 & 0xFF) - '0';
    if (!digits || !marks || !sign || (tail & 0xFFFF00FFu) != (uint32_t{'\n'} << 24 | uint32_t{'\r'} << 16 | '.')
        || tenth > 9)
        return false;
    const auto digit = [values](int byte) { return static_cast<int32_t>(values >> (8 * byte) & 0xFF); };
    const int32_t value = digit(1) * 100 + digit(2) * 10 + digit(4);
    temperature = (head & 0xFF) == '-' ? -value : value;
    humidity = digit(6) * 100 + digit(7) * 10 + static_cast<int32_t>(tenth);
    p += 12;
    return true;
}

// The record line of the common form at `p`, with its line end, before `end`:
// its readings, and `p` moved past it; false, `p` left alone, for another line.
inline bool scanPlainRecord(const char*& p, const char* end, int32_t& temperature, int32_t& humidity)
{
    const char* q = p;
    if (!scanPlainTenths(q, end, temperature) || q == end || *q != ',')
        return false;
    ++q;
    if (!scanPlainTenths(q, end, humidity) || q == end || !isLineEnd(*q))
        return false;
    if (*q == '\r') {
        if (q + 1 == end)
            return false;   // perhaps the start of a CR LF
        q += q[1] == '\n' ? 2 : 1;
    } else {
        ++q;
    }
    p = q;
    return true;
}

} // namespace

void LogLines::nextPlainRecords(std::vector<Record>& records, size_t most)
{
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    const char* p = begin + position;
    int32_t temperature = 0, humidity = 0;
    for (size_t taken = 0;
         taken < most
         && (scanTwoDigitRecord(p, end, temperature, humidity) || scanPlainRecord(p, end, temperature, humidity));
         ++taken)
        records.push_back(Record{0, humidity, temperature});
    position = static_cast<size_t>(p - begin);
}

bool LogLines::nextWhole(std::string_view& line)
{
    const size_t end = endOfLine();
    if (end >= bytes.size() || (bytes[end] == '\r' && end + 1 == bytes.size()))
        return false;
    takeLine(end, line);
    return true;
}

int32_t readNewestTime(std::string_view line2, std::string_view line3)
{
    std::string joined;
    joined.reserve(line2.size() + line3.size());
    joined.append(line2).append(line3);
    return parseTime(logHeaderMask, joined);
}

int32_t readInterval(std::string_view line4)
{
    const std::string_view field = line4.size() > 5 ? line4.substr(5, 2) : std::string_view{};
    return static_cast<int32_t>(leadingDecimal(field)) * 60;
}

bool readRecordLine(std::string_view line, int32_t& temperature, int32_t& humidity)
{
    if (line == logEndMarker)
        return false;
    if (line == logGapLine) {
        temperature = 0;
        humidity = 0;
        return true;
    }
    const size_t comma = line.find(',');
    const std::string_view rest =
        comma == std::string_view::npos ? std::string_view{} : line.substr(comma + 1);
    const std::string_view temperatureText = line.substr(0, comma);
    const std::string_view humidityText = rest.substr(0, rest.find(','));
    if (!readPlainTenths(temperatureText, temperature))
        temperature = tenthsOf(readNumber(temperatureText));
    if (!readPlainTenths(humidityText, humidity))
        humidity = tenthsOf(readNumber(humidityText));
    return true;
}

// ---- Writing ------------------------------------------------------------

std::string formatIntervalLine(int32_t interval)
{
    // The last two digits of the minutes, a leading zero for one.
    const std::string minutes = std::to_string(interval / 60);
    std::string line = "SR = ";
    if (minutes.size() < 2)
        line += '0';
    line.append(minutes, minutes.size() < 2 ? 0 : minutes.size() - 2);
    return line + "min";
}

std::string formatRecordLine(int32_t temperature, int32_t humidity)
{
    std::string line;
    appendRecordLine(line, temperature, humidity);
    return line;
}

std::string formatLogFile(const std::vector<Record>& records, int32_t interval)
{
    const int32_t newestTime = records.empty() ? -1 : records.back().time;
    std::string out;
    out.reserve(64 + records.size() * 14);
    appendLine(out, logMagic);
    appendLine(out, formatTime(logDateMask, newestTime));
    appendLine(out, formatTime(logTimeMask, newestTime));
    appendLine(out, formatIntervalLine(interval));
    appendLine(out, logEndMarker);
    for (const Record& record : records) {
        appendRecordLine(out, record.temperature, record.humidity);
        out += "\r\n";
    }
    appendLine(out, logEndMarker);
    return out;
}

void LogReader::takePlainRecords(LogLines& lines, size_t most)
{
    if (lineNumber == recordLines)
        lines.nextPlainRecords(records, most);
}

bool LogReader::take(std::string_view line)
{
    int32_t temperature = 0, humidity = 0;
    if (lineNumber == recordLines) {
        if (!readRecordLine(line, temperature, humidity))
            return false;
        records.push_back(Record{0, humidity, temperature});
        return true;
    }
    switch (lineNumber++) {
    case 0: refused = line != logMagic; break;
    case 1: dateLine.assign(line); break;
    case 2: header.newestTime = readNewestTime(dateLine, line); break;
    case 3: header.interval = readInterval(line); break;
    default: break;   // the separator, whatever it holds
    }
    return !refused;
}

bool readLogFile(const std::string& bytes, LoadHeader& header, std::vector<Record>& records)
{
    LogReader reader(header, records);
    LogLines lines(bytes);
    // A record line and its line end take about 12 bytes: room for them at once.
    records.reserve(records.size() + bytes.size() / 12);
    std::string_view line;
    do {
        reader.takePlainRecords(lines);
    } while (lines.next(line) && reader.take(line));
    return reader.accepted();
}

} // namespace records
