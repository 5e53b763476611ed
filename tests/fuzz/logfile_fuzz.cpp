// Fuzz target: a whole record file, read as the import reads it and loaded into
// the store as the load sequence does (times, span, time-scale level), without
// windows. Every line's readings are compared with the C library's own decimal
// reader on the same number text. Also drives the store's time arithmetic with
// the 2^31 interval and absurd record counts, which no file can name but a
// 32-bit program meets.
#include "check.h"

#include "records/datemask.h"
#include "records/logfile.h"
#include "records/store.h"
#include "records/timescale.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int32_t int32Min = std::numeric_limits<int32_t>::min();
constexpr int32_t int32Max = std::numeric_limits<int32_t>::max();

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n' || c == '\0';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The number at the start of `text` as the record-line grammar takes it (blanks,
// sign, digits with an optional point, optional exponent), read by strtof and
// turned into saturated tenths; 0 when there is no number.
int32_t referenceTenths(std::string_view text)
{
    size_t end = text.find_first_not_of(" \t\n\v\f\r");
    if (end == std::string_view::npos)
        return 0;
    const size_t start = end;
    if (text[end] == '+' || text[end] == '-')
        ++end;
    size_t digits = 0;
    for (; end < text.size() && isDigit(text[end]); ++end)
        ++digits;
    if (end < text.size() && text[end] == '.')
        for (++end; end < text.size() && isDigit(text[end]); ++end)
            ++digits;
    if (digits == 0)
        return 0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        if (exponent < text.size() && isDigit(text[exponent])) {
            while (exponent < text.size() && isDigit(text[exponent]))
                ++exponent;
            end = exponent;
        }
    }
    const std::string number(text.substr(start, end - start));
    const float value = std::strtof(number.c_str(), nullptr);
    const double tenths = std::nearbyint(static_cast<double>(value) * 10.0);
    if (tenths >= 2147483647.0)
        return int32Max;
    return tenths <= -2147483648.0 ? int32Min : static_cast<int32_t>(tenths);
}

// One record line against the reference: the number before the first "," and
// the one between it and a second ",".
void checkRecordLine(const std::string& line, int32_t temperature, int32_t humidity)
{
    if (line == records::logGapLine) {
        FUZZ_CHECK(temperature == 0 && humidity == 0);
        return;
    }
    const size_t comma = line.find(',');
    const std::string_view view(line);
    const std::string_view rest =
        comma == std::string::npos ? std::string_view{} : view.substr(comma + 1);
    FUZZ_CHECK(temperature == referenceTenths(view.substr(0, comma)));
    FUZZ_CHECK(humidity == referenceTenths(rest.substr(0, rest.find(','))));
}

// Each line of the input read as a record line.
void checkRecordLines(const std::string& bytes)
{
    records::LogLines lines(bytes);
    std::string line;
    while (lines.next(line)) {
        int32_t temperature = 7, humidity = 7;
        if (records::readRecordLine(line, temperature, humidity))
            checkRecordLine(line, temperature, humidity);
        else
            FUZZ_CHECK(line == records::logEndMarker && temperature == 7 && humidity == 7);
    }
}

// Every line lies inside the bytes, holds no line end, and lines and their ends
// add up to the whole input.
void checkLines(const std::string& bytes)
{
    records::LogLines lines(bytes);
    std::string line;
    size_t count = 0, characters = 0;
    while (lines.next(line)) {
        ++count;
        characters += line.size();
        for (char c : line)
            FUZZ_CHECK(!isLineEnd(c));
    }
    FUZZ_CHECK(!lines.next(line));
    FUZZ_CHECK(characters <= bytes.size());
    if (count > 0)
        FUZZ_CHECK(characters + count - 1 <= bytes.size() && bytes.size() <= characters + 2 * count);
    else
        FUZZ_CHECK(bytes.empty());
}

// Lines 2 and 3 of the input, and the newest time they name.
void checkHeader(const std::string& bytes)
{
    records::LogLines lines(bytes);
    std::string magic, date, time, interval;
    lines.next(magic);
    lines.next(date);
    lines.next(time);
    lines.next(interval);
    const int32_t newest = records::readNewestTime(date, time);
    FUZZ_CHECK(newest >= -1);
    if (newest >= 0) {
        // The header holds no seconds, and writing the time gives it back.
        FUZZ_CHECK(newest % 60 == 0);
        FUZZ_CHECK(records::readNewestTime(records::formatTime(records::logDateMask, newest),
                                           records::formatTime(records::logTimeMask, newest))
                   == newest);
    }
    const int32_t seconds = records::readInterval(interval);
    FUZZ_CHECK(seconds % 60 == 0 && seconds >= -540 && seconds <= 5940);
}

// What loadRecords does with a source's header and records, windows aside.
void loadIntoStore(const records::LoadHeader& header, const std::vector<records::Record>& read)
{
    records::resetStore();
    for (const records::Record& record : read)
        records::appendRecord(record.temperature, record.humidity);
    records::RecordStore& s = records::store();
    s.interval = header.interval;
    s.recordCount = records::recordTotal();
    records::assignRecordTimes(header.newestTime);
    const int level = records::levelForSpan(records::spanOf(s.interval, s.recordCount));
    FUZZ_CHECK(level >= records::firstTimeScaleLevel && level <= records::lastTimeScaleLevel);
    FUZZ_CHECK(s.recordCount == static_cast<int32_t>(read.size()));
    if (!s.records.empty())
        FUZZ_CHECK(records::newestRecord().time == header.newestTime);
}

// Times, spans and levels for an interval and a count from the input's last bytes,
// and for the extremes: wrapping, never overflowing.
void checkExtremeArithmetic(const uint8_t* data, size_t size)
{
    int32_t interval = int32Min, count = int32Max;
    if (size >= 8) {
        std::memcpy(&interval, data + size - 8, 4);
        std::memcpy(&count, data + size - 4, 4);
    }
    for (int32_t i : {interval, int32Min, int32Max, -1}) {
        for (int32_t n : {count, int32Max, int32Min, 0, 2}) {
            const int32_t span = records::spanOf(i, n);
            const uint32_t wrapped = static_cast<uint32_t>(i) * static_cast<uint32_t>(n);
            FUZZ_CHECK(span == static_cast<int32_t>(wrapped));
            const int level = records::levelForSpan(span);
            FUZZ_CHECK(level >= records::firstTimeScaleLevel && level <= records::lastTimeScaleLevel);
            FUZZ_CHECK(records::timeScaleLevel(level).span > 0);
        }
        records::store().interval = i;
        records::assignRecordTimes(int32Max);
        const std::vector<records::Record>& loaded = records::store().records;
        for (size_t k = 1; k < loaded.size(); ++k)
            FUZZ_CHECK(static_cast<uint32_t>(loaded[k].time) - static_cast<uint32_t>(loaded[k - 1].time)
                       == static_cast<uint32_t>(i));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    checkLines(bytes);
    checkHeader(bytes);
    checkRecordLines(bytes);
    records::LoadHeader header;
    std::vector<records::Record> read;
    if (records::readLogFile(bytes, header, read))
        loadIntoStore(header, read);
    else
        records::resetStore();
    checkExtremeArithmetic(data, size);
    records::resetStore();
    return 0;
}
