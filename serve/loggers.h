// loggers.h: the loggers `climadesk serve` watches, as the user names them.
//
// Each logger is a name and an IPv4 address, given as "NAME=IPV4" on the command
// line or as "NAME = IPV4" lines of a configuration file, where "#" starts a
// comment and blank lines are skipped. A name is 1 to 64 bytes of printable
// characters (UTF-8 welcome) without "=", "#", control characters or blanks at
// either end; an address is four decimal numbers 0 to 255 with nothing else.
// Failures are values: each reader returns an empty text when all is well, or
// the message to print.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace serve {

struct Logger {
    std::string name;
    uint32_t address;   // first octet in the low byte, as the settings keep it
};

// A strict dotted IPv4 address; false when `text` is anything else.
bool parseIpv4(std::string_view text, uint32_t& address);

// Checks a logger's name by the rules above.
std::string checkLoggerName(std::string_view name);

// Reads "NAME=IPV4" (blanks around either part allowed) into `logger`.
std::string parseLogger(std::string_view text, Logger& logger);

// Reads the lines of a configuration file and adds their loggers; the message
// names the line that is wrong ("serve.conf line 3: ...").
std::string parseLoggerFile(std::string_view bytes, const std::string& fileName, std::vector<Logger>& loggers);

// Refuses a name or an address given twice (two names for one logger would
// send it two requests at a time) and an empty list.
std::string checkLoggers(const std::vector<Logger>& loggers);

} // namespace serve
