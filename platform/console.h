// console.h: the standard output and error of a program run from the command
// line, with no window.
//
// Texts are the program's own (Windows-1252, "\xB0" for the degree sign) and
// leave as UTF-8; nothing is added to them (no line end). A failed write is
// ignored, as for any command-line program.
#pragma once

#include <string>

namespace platform {

void printOut(const std::string& text);
void printError(const std::string& text);
// True when standard error is a terminal (a person watches it).
bool errorIsTerminal();

} // namespace platform
