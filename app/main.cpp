// Climadesk: a desktop program for the Sentrel32 temperature and humidity logger.
// With a subcommand it runs on the command line instead, with no window.
#include "app/startup.h"
#include "cli/cli.h"
#include "platform/console.h"

int main(int argc, char** argv)
{
    platform::useUtf8Arguments(argc, argv);
    if (argc > 1)
        return cli::run(argc, argv);
    return app::run();
}
