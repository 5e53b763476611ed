#include "records/decimal.h"

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

} // namespace records
