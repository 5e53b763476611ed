// logger.h: the simulated logger's memory and the bytes of its replies.
//
// A Logger is made once from the options: its samples (seeded curves or the ramp)
// and the time of its newest sample are fixed for the whole run; its display
// texts follow the clock unless fixed by --readings. Nothing here does I/O.
#pragma once

#include "options.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

enum class Status { Ok, Busy, Garbled };

class Logger {
public:
    explicit Logger(const Options& options);

    // The 64-byte reply to query number `query` (0 first), with the display
    // texts for `nowSeconds`.
    std::string queryReply(Status status, double nowSeconds, int query) const;
    // The dump: 3 bytes per stored sample, oldest first, then the faults' changes
    // (--short-dump cuts it, --extra adds bytes, --reset-after cuts what is sent
    // before the reset).
    std::string dumpReply() const;

private:
    std::string readingBytes(double nowSeconds, int query) const;

    Options options;
    std::string newestText;     // "YYYY/MM/DDHH:MM"
    std::string samples;        // 3 bytes each
};

// One sample's 3 bytes; humidity 0 and temperature 0 give a gap (first byte 0).
std::string encodeSample(int humidity, int temperature);

} // namespace sim
