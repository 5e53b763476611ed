// process.h: another program in this process's place (POSIX only).
//
// The command-line program hands the window, and the subcommands that draw, to
// the window program installed beside it: it finds that program from its own
// folder and lets it take over, the same arguments, standard streams, working
// directory and environment. Not in the Windows build, which is one program.
#pragma once

#include <string>

namespace platform {

// The folder of the running program's file, symbolic links resolved; empty
// when the system does not tell.
std::string programFolder();
// Runs the program at `path` in this process's place with `argv` (ended by a
// null pointer; argv[0] as given). Returns only when it cannot (no such file,
// not executable), with the process unchanged.
void replaceProcess(const std::string& path, char** argv);

} // namespace platform
