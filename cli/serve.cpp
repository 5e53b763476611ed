// serve.cpp: `climadesk serve`: every logger's live readings for Prometheus at
// /metrics and as a status page at /, until SIGINT or SIGTERM.
#include "cli/cli.h"
#include "cli/commands.h"

#include "platform/console.h"
#include "platform/file.h"
#include "platform/signals.h"
#include "platform/socket.h"
#include "serve/http_server.h"
#include "serve/metrics.h"
#include "serve/poller.h"
#include "serve/status_page.h"

#include <cmath>

namespace cli {

namespace {

constexpr int defaultPort = 9491;

// "ADDRESS:PORT" or "ADDRESS" (port 9491); false when it is neither.
bool parseListen(const std::string& text, std::string& address, int& port)
{
    const size_t colon = text.rfind(':');
    address = text.substr(0, colon);
    port = defaultPort;
    uint32_t ignored;
    if (!serve::parseIpv4(address, ignored))
        return false;
    if (colon == std::string::npos)
        return true;
    const std::string digits = text.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    port = std::stoi(digits);
    return port <= 65535;
}

// The loggers of --config and --logger, checked; false, having said why, when wrong.
bool gatherLoggers(const ServeOptions& options, std::vector<serve::Logger>& loggers, int& code)
{
    code = exitUsage;
    if (!options.config.empty()) {
        std::string bytes;
        if (!platform::readFile(options.config, bytes)) {
            platform::printError("Can't read " + options.config + "\n");   // as typed
            code = exitFailed;
            return false;
        }
        const std::string why = serve::parseLoggerFile(bytes, options.config, loggers);
        if (!why.empty()) {
            platform::printError(why + "\n");
            return false;
        }
    }
    for (const std::string& given : options.loggers) {
        serve::Logger logger;
        const std::string why = serve::parseLogger(given, logger);
        if (!why.empty()) {
            platform::printError("--logger: " + why + "\n");
            return false;
        }
        loggers.push_back(logger);
    }
    const std::string why = serve::checkLoggers(loggers);
    if (!why.empty()) {
        platform::printError(why + "\n");
        return false;
    }
    return true;
}

std::vector<serve::Page> pagesOf(const analysis::Limits& limits, int64_t refreshSeconds)
{
    return {
        {"/metrics", "text/plain; version=0.0.4; charset=utf-8",
         [limits] { return serve::metricsText(serve::snapshot(), limits); }},
        {"/", "text/html; charset=utf-8",
         [limits, refreshSeconds] { return serve::statusPage(serve::snapshot(), limits, refreshSeconds); }},
    };
}

} // namespace

int serveLoggers(const ServeOptions& options)
{
    std::string address;
    int port = 0;
    if (!parseListen(options.listen, address, port)) {
        platform::printError("--listen: ADDRESS:PORT with an IPv4 address and a port 0 to 65535: " + options.listen + "\n");
        return exitUsage;
    }
    std::vector<serve::Logger> loggers;
    int code = exitDone;
    if (!gatherLoggers(options, loggers, code))
        return code;
    if (!platform::startSockets()) {
        platform::printError("Can't initialize TCP/IP\n");
        return exitFailed;
    }
    // Before any thread starts, so that only waitStopSignal takes them.
    platform::holdStopSignals();
    const int64_t everyMs = std::llround(options.every * 1000);
    const analysis::Limits limits = toLimits(options.limits, false);
    const int bound = serve::startHttp(address, port, pagesOf(limits, (everyMs + 999) / 1000));
    if (bound < 0) {
        platform::printError("Can't listen on " + address + ":" + std::to_string(port)
                             + " (the port is in use, or the address is not this machine's)\n");
        return exitFailed;
    }
    serve::startPolling(loggers, everyMs);
    platform::printOut("listening on http://" + address + ":" + std::to_string(bound) + "/ for "
                       + std::to_string(loggers.size()) + (loggers.size() == 1 ? " logger\n" : " loggers\n"));
    platform::waitStopSignal();
    serve::stopHttp();
    serve::stopPolling();
    platform::stopSockets();
    return exitDone;
}

} // namespace cli
