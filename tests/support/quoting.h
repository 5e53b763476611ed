// quoting.h: one argument of a Windows command line, quoted the way the C
// runtime's parser reads it back (for CreateProcess in the tests' helpers).
#pragma once

#include <string>

inline std::string quotedArgument(const std::string& arg)
{
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(2 * backslashes, '\\');
    return out + "\"";
}
