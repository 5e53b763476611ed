// run.h: runs the climadesk program as a child process, the way a script or
// cron would, with DISPLAY, QT_QPA_PLATFORM and XDG_RUNTIME_DIR removed from its
// environment.
#pragma once

#include <string>
#include <vector>

struct ProgramRun {
    int exitCode = -1;
    std::string out;   // standard output
    std::string err;   // standard error
};

// What the child gets besides its arguments.
struct RunSetting {
    std::string outputPath;   // not empty: standard output goes to this file (say "/dev/full")
    size_t dataLimit = 0;     // not 0: the most bytes of data memory it may take (RLIMIT_DATA)
};

// Runs climadesk with `arguments` in the current working directory.
ProgramRun runClimadesk(const std::vector<std::string>& arguments, const RunSetting& setting = {});

// Runs climadesk on a terminal of its own (a pseudo-terminal, through python3's
// pty module): standard output and error both show in `out`, lines ended by CR LF.
ProgramRun runClimadeskOnTerminal(const std::vector<std::string>& arguments);

#ifndef _WIN32
// Runs `python3 -c script` with `input` on its standard input: its output. Not on
// Windows: Wine starts a Linux program but cannot wait for it.
ProgramRun runPython(const std::string& script, const std::string& input);
#endif
