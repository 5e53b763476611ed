#include "export/csv.h"

#include "export/columns.h"
#include "records/datemask.h"
#include "records/decimal.h"

#include <charconv>

namespace xls {

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view lineEnd = "\r\n";
constexpr int32_t secondsPerDay = 86400;
// Enough for every line of the file, so that the text grows only once.
constexpr size_t bytesPerLine = 64;

struct Conventions {
    char separator;
    char decimal;
    char dateTimeSeparator;   // between the date and the clock time
    bool byteOrderMark;
};

Conventions conventionsOf(CsvStyle style)
{
    if (style == CsvStyle::Spreadsheet)
        return {';', ',', ' ', true};
    return {',', '.', 'T', false};
}

void appendTwoDigits(std::string& out, int32_t value)
{
    out.push_back(static_cast<char>('0' + value / 10));
    out.push_back(static_cast<char>('0' + value % 10));
}

// Writes times; consecutive records mostly share their date, which is formatted
// once per day.
class TimeWriter {
public:
    explicit TimeWriter(char dateTimeSeparator) : between(dateTimeSeparator) {}

    // "yyyy-mm-dd?hh:ii:ss"; nothing for an invalid time.
    void append(std::string& out, int32_t time)
    {
        if (time < 0)
            return;
        const int32_t day = time / secondsPerDay;
        const int32_t second = time % secondsPerDay;
        if (day != lastDay) {
            lastDay = day;
            dateText = records::formatTime("%yyyy-%mm-%dd", day * secondsPerDay);
        }
        out += dateText;
        out.push_back(between);
        appendTwoDigits(out, second / 3600);
        out.push_back(':');
        appendTwoDigits(out, second / 60 % 60);
        out.push_back(':');
        appendTwoDigits(out, second % 60);
    }

private:
    char between;
    int32_t lastDay = -1;
    std::string dateText;
};

void appendHeaderLine(std::string& out, const Conventions& c, bool fahrenheit)
{
    const auto titles = columnTitles(fahrenheit);
    for (size_t i = 0; i < titles.size(); ++i) {
        if (i > 0)
            out.push_back(c.separator);
        out += csvField(titles[i], c.separator);
    }
    out += lineEnd;
}

void appendRecordLine(std::string& out, const records::Record& record, const Conventions& c,
                      bool fahrenheit, TimeWriter& times)
{
    times.append(out, record.time);
    for (const Tenths& value : rowValues(record, fahrenheit)) {
        out.push_back(c.separator);
        if (value)
            records::appendTenths(out, *value, c.decimal);
    }
    out += lineEnd;
}

} // namespace

std::string csvField(std::string_view text, char separator)
{
    const bool quoted = text.find_first_of(std::string{separator, '"', '\r', '\n'}) != std::string_view::npos;
    if (!quoted)
        return std::string(text);
    std::string field = "\"";
    for (char ch : text) {
        if (ch == '"')
            field.push_back('"');
        field.push_back(ch);
    }
    field.push_back('"');
    return field;
}

std::string csvText(const std::vector<records::Record>& records, CsvStyle style, bool fahrenheit)
{
    const Conventions c = conventionsOf(style);
    std::string out;
    out.reserve(bytesPerLine * (records.size() + 2));
    if (c.byteOrderMark)
        out += byteOrderMark;
    appendHeaderLine(out, c, fahrenheit);
    TimeWriter times(c.dateTimeSeparator);
    for (const records::Record& record : records)
        appendRecordLine(out, record, c, fahrenheit, times);
    return out;
}

} // namespace xls
