#include "records/decimal.h"

#include <charconv>

namespace records {

bool isWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

uint32_t leadingDecimal(std::string_view text)
{
    size_t pos = 0;
    while (pos < text.size() && isWhiteSpace(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        negative = text[pos++] == '-';
    uint32_t value = 0;   // unsigned arithmetic wraps: any number of digits is safe
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
        value = value * 10 + static_cast<uint32_t>(text[pos] - '0');
    return negative ? 0u - value : value;
}

void appendTenths(std::string& out, int64_t tenths, char point)
{
    // The magnitude in unsigned arithmetic: the most negative value has no positive twin.
    const uint64_t magnitude = tenths < 0 ? 0u - static_cast<uint64_t>(tenths) : static_cast<uint64_t>(tenths);
    if (tenths < 0)
        out.push_back('-');
    char digits[24];
    char* end = std::to_chars(digits, digits + sizeof digits, magnitude / 10).ptr;
    out.append(digits, end);
    out.push_back(point);
    out.push_back(static_cast<char>('0' + magnitude % 10));
}

} // namespace records
