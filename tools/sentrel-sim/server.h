// server.h: the listening side of sentrel-sim.
//
// serve() listens on the loopback address and port of the options and answers
// every connection that comes, several at a time (one poll() loop, no threads),
// until the process is killed (or, with --until-stdin-closes, its input ends).
// Each connection reads 64-byte requests and is kept open until the peer closes
// it (or --close-after-query or --reset-after ends it). Events are printed to
// standard output one line each, flushed at once.
#pragma once

#include "logger.h"
#include "options.h"

namespace sim {

// Returns only when it cannot listen: 1, after saying why on standard error.
int serve(const Options& options, const Logger& logger);

} // namespace sim
