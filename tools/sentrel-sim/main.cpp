// sentrel-sim: a Sentrel32 logger on a loopback address, for tests and the demo.
// See --help (options.cpp) for what it holds, its fault modes and its output.
#include "logger.h"
#include "net.h"
#include "options.h"
#include "server.h"

#include <csignal>
#include <cstdio>

int main(int argc, char** argv)
{
#ifdef SIGPIPE
    // A reader of our output that goes away must not kill us mid-reply.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    if (!sim::net::start())
        return 1;
    sim::Options options = sim::parseOptions(argc, argv);
    sim::Logger logger(options);
    return sim::serve(options, logger);
}
