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

// ---- Without the window toolkit ----
// On Linux `climadesk` links no window toolkit, so that stats starts at once;
// the window and the other subcommands, which use the toolkit (render and
// report draw text with the system's fonts, export and serve show file names
// as it decodes them, download keeps the windows painted while it waits),
// belong to the window program beside it. runWithoutToolkit parses the command
// line as run does and runs stats itself; for any other subcommand it returns
// handOver(argv), which is to run the same command line in the window program
// (and returns only when that cannot start).
int runWithoutToolkit(int argc, char** argv, int (*handOver)(char** argv));

} // namespace cli
