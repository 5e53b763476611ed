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

// Runs climadesk with `arguments` in the current working directory.
ProgramRun runClimadesk(const std::vector<std::string>& arguments);

#ifndef _WIN32
// Runs `python3 -c script` with `input` on its standard input: its output. Not on
// Windows: Wine starts a Linux program but cannot wait for it.
ProgramRun runPython(const std::string& script, const std::string& input);
#endif
