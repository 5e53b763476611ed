// Climadesk on Linux: the command line, linked without the window toolkit, so
// that stats starts at once. The window and the other subcommands are the
// window program's (app/main.cpp, installed as
// <libexecdir>/climadesk/climadesk-window): it takes this process's place with
// the same arguments.
#include "cli/cli.h"
#include "platform/console.h"
#include "platform/process.h"

namespace {

// The window program from this program's folder: installed, then in a build tree.
const char* const windowPrograms[] = {CLIMADESK_WINDOW_INSTALLED, "climadesk-window"};

int startWindowProgram(char** argv)
{
    const std::string folder = platform::programFolder();
    for (const char* program : windowPrograms)
        platform::replaceProcess(folder + "/" + program, argv);
    platform::printError("Can't start climadesk-window\n");
    return cli::exitFailed;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        return cli::runWithoutToolkit(argc, argv, startWindowProgram);
    return startWindowProgram(argv);
}
