// run.cpp: the whole command line, every subcommand run here.
#include "cli/cli.h"

#include "cli/commands.h"

namespace cli {

int run(int argc, char** argv)
{
    return guarded([&] {
        CommandLine line;
        const std::optional<int> done = parseCommandLine(argc, argv, line);
        if (done)
            return *done;
        switch (line.subcommand) {
        case Subcommand::Download: return download(line.download);
        case Subcommand::Export: return exportFile(line.exporting);
        case Subcommand::Stats: return stats(line.stats);
        case Subcommand::Render: return render(line.rendering);
        case Subcommand::Serve: return serveLoggers(line.serving);
        case Subcommand::Report: return report(line.reporting);
        }
        return exitFailed;
    });
}

} // namespace cli
