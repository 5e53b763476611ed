// support.h: what every benchmark program shares.
//
// A benchmark program runs the real Climadesk through the test seam: a fresh
// temporary working directory with a preferences.pref whose device address is
// on loopback, the start-up, the main loop fed by posted steps, and the
// shutdown. The benchmarks themselves run inside one of those steps, so they see
// the program exactly as a person would have left it (windows open, store
// loaded, graph laid out). Failures the platform layer saw (an unscripted
// dialog, an exhausted script) are printed and make the program exit with 1.
//
// Heavy inputs, such as a million records, are made once per process, never per
// iteration.
#pragma once

#include "records/store.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace bench {

using Step = std::function<void()>;

// 2024-03-15 12:00:00 as the program counts (no time zone): the newest record.
constexpr int32_t newestTime = 1710504000;

// Parses the benchmark options, then runs the program: posts `setup` in order,
// then a step that runs every benchmark and posts `closing` (which must end the
// program, typically with File > Exit). Returns the exit code.
int runProgram(int argc, char** argv, const std::vector<Step>& setup, const std::vector<Step>& closing);

// `count` records of an indoor logger `interval` seconds apart, oldest first,
// ending at newestTime: a daily swing of 17.0 to 25.0 degrees C and 58 to 38 %RH
// with a little noise, and a gap (both readings 0) every 50,000 records.
std::vector<records::Record> plausibleRecords(int32_t count, int32_t interval);

// Puts `recs` into the store through its own operations, as a load does, and
// refreshes the views (statistics, scroll bar, graph).
void loadStore(const std::vector<records::Record>& recs, int32_t interval);

// Absolute path of `name` in the benchmark's working directory.
std::string pathOf(const std::string& name);

} // namespace bench
