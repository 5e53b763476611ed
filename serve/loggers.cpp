#include "serve/loggers.h"

#include "app/settings.h"

#include <set>

namespace serve {

namespace {

constexpr size_t maxNameBytes = 64;

std::string_view trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

std::string checkLoggerName(std::string_view name)
{
    if (name.empty())
        return "a logger needs a name before \"=\"";
    if (name.size() > maxNameBytes)
        return "a logger name may have at most 64 bytes: " + std::string(name);
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '#' || c == '=')
            return "a logger name may not hold control characters, \"#\" or \"=\": " + std::string(name);
    }
    return {};
}

bool parseIpv4(std::string_view text, uint32_t& address)
{
    uint32_t result = 0;
    for (int octet = 0; octet < 4; ++octet) {
        if (octet > 0) {
            if (text.empty() || text[0] != '.')
                return false;
            text.remove_prefix(1);
        }
        size_t digits = 0;
        uint32_t value = 0;
        while (digits < text.size() && digits < 4 && text[digits] >= '0' && text[digits] <= '9')
            value = value * 10 + static_cast<uint32_t>(text[digits++] - '0');
        if (digits == 0 || digits > 3 || value > 255)
            return false;
        result |= value << (8 * octet);
        text.remove_prefix(digits);
    }
    if (!text.empty())
        return false;
    address = result;
    return true;
}

std::string parseLogger(std::string_view text, Logger& logger)
{
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        return "a logger is NAME=IPV4: " + std::string(text);
    const std::string_view name = trimmed(text.substr(0, equals));
    const std::string_view address = trimmed(text.substr(equals + 1));
    std::string why = checkLoggerName(name);
    if (!why.empty())
        return why;
    if (!parseIpv4(address, logger.address))
        return "not an IPv4 address: " + std::string(address);
    logger.name = std::string(name);
    return {};
}

std::string parseLoggerFile(std::string_view bytes, const std::string& fileName, std::vector<Logger>& loggers)
{
    int lineNumber = 0;
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        ++lineNumber;
        line = trimmed(line.substr(0, line.find('#')));
        if (line.empty())
            continue;
        Logger logger;
        const std::string why = parseLogger(line, logger);
        if (!why.empty())
            return fileName + " line " + std::to_string(lineNumber) + ": " + why;
        loggers.push_back(logger);
    }
    return {};
}

std::string checkLoggers(const std::vector<Logger>& loggers)
{
    if (loggers.empty())
        return "no logger to watch: give --logger NAME=IPV4 or --config FILE";
    std::set<std::string> names;
    std::set<uint32_t> addresses;
    for (const Logger& logger : loggers) {
        if (!names.insert(logger.name).second)
            return "the logger name " + logger.name + " is given twice";
        if (!addresses.insert(logger.address).second)
            return "the address " + app::addressText(logger.address) + " is given twice";
    }
    return {};
}

} // namespace serve
