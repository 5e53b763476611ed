// bench_serve: climadesk serve over 100 simulated loggers, 10 of them silent,
// as whole processes on loopback: 100 sentrel-sim instances on 127.0.91.1 to
// 127.0.91.100 (91 to 100 silent) and the Release climadesk.
//
// 1. One pass: serve starts with the default interval (30 s); the time until
//    every logger has had its first query answered or given up, read from
//    /metrics (sentrel_queries_total) every 20 ms. The goal: at most the interval.
// 2. Memory: serve again with --every 0.01, scraped (/metrics and /) every
//    second, its resident memory (VmRSS) read at 1,000, 5,000 and 10,000 passes
//    (the fewest queries any logger has had). The goal: no growth after the
//    first thousand passes.
//
// Usage: bench_serve CLIMADESK SENTREL_SIM (scripts/bench passes both).
#include "serve/servers.h"

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int loggerCount = 100;
constexpr int silentCount = 10;

std::string address(int i)
{
    return "127.0.91." + std::to_string(i + 1);
}

// The fewest queries any of the loggers has had, from one scrape; -1 when the
// scrape failed or does not name them all.
long fewestQueries(int port)
{
    const std::string metrics = httpGet(port, "/metrics");
    const std::regex line("sentrel_queries_total\\{[^}]*\\} ([0-9]+)");
    long fewest = -1;
    int seen = 0;
    for (auto it = std::sregex_iterator(metrics.begin(), metrics.end(), line); it != std::sregex_iterator(); ++it, ++seen) {
        const long count = std::stol((*it)[1]);
        fewest = fewest < 0 || count < fewest ? count : fewest;
    }
    return seen == loggerCount ? fewest : -1;
}

long residentKilobytes(int pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Starts serve over the loggers; its port, 0 when it did not come up.
int startServe(std::unique_ptr<Child>& serve, const std::string& climadesk, const std::string& every,
               const std::string& log)
{
    std::vector<std::string> args = {"serve", "--listen", "127.0.0.1:0", "--every", every};
    for (int i = 0; i < loggerCount; ++i)
        args.insert(args.end(), {"--logger", "logger" + std::to_string(i + 1) + "=" + address(i)});
    serve = std::make_unique<Child>(climadesk, args, log);
    return servePort(*serve);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_serve CLIMADESK SENTREL_SIM\n");
        return 2;
    }
    const std::string climadesk = argv[1];
    char folder[] = "/tmp/bench_serve.XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    const std::string dir = folder;

    std::vector<std::unique_ptr<Child>> loggers;
    for (int i = 0; i < loggerCount; ++i) {
        std::vector<std::string> args = {"--address", address(i)};
        if (i >= loggerCount - silentCount)
            args.push_back("--silent");
        loggers.push_back(std::make_unique<Child>(argv[2], args, dir + "/sim" + std::to_string(i) + ".out"));
    }
    const bool listening = waitUntil([&] {
        for (auto& logger : loggers)
            if (logger->output().find("listening on") == std::string::npos)
                return false;
        return true;
    }, 20000);
    if (!listening) {
        std::fprintf(stderr, "the simulated loggers did not start\n");
        return 1;
    }

    std::unique_ptr<Child> serve;
    const auto start = std::chrono::steady_clock::now();
    int port = startServe(serve, climadesk, "30", dir + "/serve-pass.out");
    if (port == 0 || !waitUntil([&] { return fewestQueries(port) >= 1; }, 30000)) {
        std::fprintf(stderr, "serve did not finish a pass: %s\n", serve->output().c_str());
        return 1;
    }
    std::printf("one pass over %d loggers (%d silent), interval 30 s: %.2f s from the start of serve\n", loggerCount,
                silentCount, secondsSince(start));
    serve->stop(SIGTERM, 10000);

    port = startServe(serve, climadesk, "0.01", dir + "/serve-memory.out");
    const int pid = serve->processId();
    if (port == 0 || pid < 0) {
        std::fprintf(stderr, "serve did not start\n");
        return 1;
    }
    const auto memoryStart = std::chrono::steady_clock::now();
    for (long mark : {1000L, 5000L, 10000L}) {
        long passes = 0;
        waitUntil([&] {
            httpGet(port, "/");
            return (passes = fewestQueries(port)) >= mark;
        }, 900000);
        std::printf("after %6ld passes (%.0f s): VmRSS %ld kB\n", passes, secondsSince(memoryStart), residentKilobytes(pid));
        std::fflush(stdout);
    }
    const int code = serve->stop(SIGTERM, 10000);
    std::printf("serve ended with exit code %d\n", code);
    loggers.clear();
    std::system(("rm -rf " + dir).c_str());
    return 0;
}
