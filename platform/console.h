// console.h: the standard output and error of a program run from the command
// line, with no window.
//
// The console speaks UTF-8. The program's own texts (Windows-1252, "\xB0" for
// the degree sign) pass through consoleText; the user's own texts (paths and
// values as typed) are UTF-8 already and go out as they are. Nothing is added
// to a text (no line end). The arguments of the command line are UTF-8 too.
#pragma once

#include <string>

namespace platform {

// Makes `argv` the command line's arguments in UTF-8, as the user typed them,
// once at the start. On Windows the C runtime's argv holds the ANSI code page's
// likeness of them, so they are read again from the wide-character command line;
// elsewhere argv is left as it is.
void useUtf8Arguments(int& argc, char**& argv);
// The program's own text `text` in UTF-8.
std::string consoleText(const std::string& text);
// Writes UTF-8 text as it is.
void printOut(const std::string& text);
void printError(const std::string& text);
// True while all that went to standard output has been written all the way;
// false after a failed write (a full disk, a closed output).
bool outputWritten();
// True when standard error is a terminal (a person watches it).
bool errorIsTerminal();

} // namespace platform
