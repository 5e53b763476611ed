// datemask.cpp: mask tokens, civil-calendar arithmetic, formatting and parsing.
#include "records/datemask.h"

#include <array>
#include <limits>

namespace records {

namespace {

enum Field { Year, Month, Day, Hour, Minute, Second, FieldCount };

// One mask token: its text and how many digits its field has at most.
struct Token {
    std::string_view text;
    Field field;
    int width;
};

constexpr std::array<Token, 6> tokens{{
    {"%yyyy", Year, 4},
    {"%mm", Month, 2},
    {"%dd", Day, 2},
    {"%hh", Hour, 2},
    {"%ii", Minute, 2},
    {"%ss", Second, 2},
}};

constexpr int64_t secondsPerDay = 86400;
constexpr int64_t latestTime = std::numeric_limits<int32_t>::max();

// The token that starts at mask[pos], or nullptr when that character is a literal.
const Token* tokenAt(std::string_view mask, size_t pos)
{
    for (const Token& token : tokens) {
        if (mask.substr(pos, token.text.size()) == token.text)
            return &token;
    }
    return nullptr;
}

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
// Counted in 400-year eras of 146097 days, with years starting on 1 March so that
// the leap day falls at the end of a year.
int64_t daysFromCivil(int64_t year, int64_t month, int64_t day)
{
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The date `days` after 1970-01-01 (days >= 0), as year, month and day.
void civilFromDays(int64_t days, int64_t& year, int64_t& month, int64_t& day)
{
    days += 719468;
    const int64_t era = days / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * monthFromMarch + 2) / 5 + 1;
    month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

bool isLeapYear(int64_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int64_t daysInMonth(int64_t year, int64_t month)
{
    constexpr int64_t lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
}

// The six fields of a valid time; all zero for a negative one.
std::array<int64_t, FieldCount> fieldsOf(int32_t time)
{
    std::array<int64_t, FieldCount> fields{};
    if (time < 0)
        return fields;
    civilFromDays(time / secondsPerDay, fields[Year], fields[Month], fields[Day]);
    const int64_t secondOfDay = time % secondsPerDay;
    fields[Hour] = secondOfDay / 3600;
    fields[Minute] = secondOfDay / 60 % 60;
    fields[Second] = secondOfDay % 60;
    return fields;
}

// Appends `value` (0 .. 9999) in exactly `width` digits, with leading zeros.
void appendDigits(std::string& out, int64_t value, int width)
{
    char digits[4];
    for (int i = width - 1; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out.append(digits, static_cast<size_t>(width));
}

// Reads one to `width` digits of text at `pos` into `value`; false when there is none.
bool readField(std::string_view text, size_t& pos, int width, int64_t& value)
{
    value = 0;
    int count = 0;
    while (count < width && pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++count;
    }
    return count > 0;
}

// The time the fields name, or -1 when they name no moment of the valid range.
int32_t timeOf(const std::array<int64_t, FieldCount>& fields)
{
    const int64_t year = fields[Year];
    const int64_t month = fields[Month];
    if (year < 1970 || month < 1 || month > 12)
        return -1;
    if (fields[Day] < 1 || fields[Day] > daysInMonth(year, month))
        return -1;
    if (fields[Hour] > 23 || fields[Minute] > 59 || fields[Second] > 59)
        return -1;
    const int64_t time = daysFromCivil(year, month, fields[Day]) * secondsPerDay
        + fields[Hour] * 3600 + fields[Minute] * 60 + fields[Second];
    return time > latestTime ? -1 : static_cast<int32_t>(time);
}

} // namespace

std::string formatTime(std::string_view mask, int32_t time)
{
    const std::array<int64_t, FieldCount> fields = fieldsOf(time);
    std::string out;
    out.reserve(mask.size());
    size_t pos = 0;
    while (pos < mask.size()) {
        if (const Token* token = tokenAt(mask, pos)) {
            appendDigits(out, fields[token->field], token->width);
            pos += token->text.size();
        } else {
            out += mask[pos++];
        }
    }
    return out;
}

int32_t parseTime(std::string_view mask, std::string_view text)
{
    std::array<int64_t, FieldCount> fields{1970, 1, 1, 0, 0, 0};
    size_t maskPos = 0;
    size_t textPos = 0;
    while (maskPos < mask.size()) {
        if (const Token* token = tokenAt(mask, maskPos)) {
            if (!readField(text, textPos, token->width, fields[token->field]))
                return -1;
            maskPos += token->text.size();
        } else {
            if (textPos >= text.size() || text[textPos] != mask[maskPos])
                return -1;
            ++textPos;
            ++maskPos;
        }
    }
    if (textPos != text.size())
        return -1;
    return timeOf(fields);
}

} // namespace records
