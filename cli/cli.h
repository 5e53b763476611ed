// cli.h: Climadesk on the command line, with no window.
//
// `climadesk SUBCOMMAND ...` runs one operation headless and ends: download,
// export, stats, render and report. Options are parsed with CLI11; results go to
// standard output, messages in the program's own words to standard error.
// Nothing here opens a window or touches preferences.pref.
#pragma once

namespace cli {

// Exit codes of every subcommand.
constexpr int exitDone = 0;
constexpr int exitFailed = 1;   // a file or the logger failed
constexpr int exitUsage = 2;    // the command line was wrong

// Parses the command line and runs its subcommand; returns the exit code.
int run(int argc, char** argv);

} // namespace cli
