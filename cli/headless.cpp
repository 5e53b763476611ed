// headless.cpp: the command line of the program that links no window toolkit.
#include "cli/cli.h"

#include "cli/commands.h"

namespace cli {

int runWithoutToolkit(int argc, char** argv, int (*handOver)(char** argv))
{
    return guarded([&] {
        CommandLine line;
        const std::optional<int> done = parseCommandLine(argc, argv, line);
        if (done)
            return *done;
        return line.subcommand == Subcommand::Stats ? stats(line.stats) : handOver(argv);
    });
}

} // namespace cli
