// options.h: sentrel-sim's command line.
//
// Every option is "--name value" or "--name=value"; --help prints what each does.
// parseOptions never returns on a bad command line: it prints why and exits with
// code 2 (and with 0 after --help).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sim {

struct Options {
    std::string address = "127.0.0.1";
    int port = 80;
    // The stored samples, their interval in minutes and the newest one's time as
    // "YYYY/MM/DD HH:MM" (empty: now, rounded down to the interval).
    int samples = 2000;
    int intervalMinutes = 5;
    std::string newest;
    unsigned seed = 1;
    // Samples follow a fixed ramp instead of the seeded curves.
    bool ramp = false;
    // Fixed display texts (bytes 50-59) instead of live ones: one for each
    // query in turn, the last for every query after; empty for live ones.
    std::vector<std::string> readings;
    // Fault modes.
    int busyReplies = 0;
    bool garbled = false;
    bool silent = false;
    bool closeAfterQuery = false;
    int shortDump = -1;           // bytes of the dump sent; -1: all of it
    int chunkBytes = 0;           // 0: as fast as the connection takes them
    int chunkDelayMs = 0;
    int extraBytes = 0;
    int queryExtraBytes = 0;
    int resetAfter = -1;          // dump bytes sent before a reset; -1: no reset
    bool zeroDate = false;
    std::optional<std::string> rawCount;      // bytes 45-49 as given
    std::optional<std::string> rawInterval;   // bytes 35-36 as given
    // End when standard input ends, so a simulator never outlives its test.
    bool untilStdinCloses = false;
};

Options parseOptions(int argc, char** argv);

} // namespace sim
