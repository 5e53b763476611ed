// summary.h: the statistics of a list of records, with no window: what the panel
// shows, when each extreme happened, the dew-point extremes and the humidity
// profile of every record. The command line prints it.
#pragma once

#include "analysis/profile.h"
#include "graph/graph.h"
#include "records/store.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace analysis {

// An extreme in tenths (of %RH or degrees Celsius) and the time of the oldest
// record holding it.
struct Extreme {
    int32_t value;
    int32_t time;
};

// A dew-point extreme in degrees Celsius and its record's time.
struct DewPointExtreme {
    double value;
    int32_t time;
};

struct Summary {
    int32_t count = 0;
    int32_t interval = 0;
    int32_t firstTime = -1;   // oldest record's time; -1 without records
    int32_t lastTime = -1;    // newest record's time
    // Over the records that are not gaps; none when all are.
    std::optional<Extreme> humidityMax, humidityMin, temperatureMax, temperatureMin;
    // Over the records that have a dew point (records/derived.h).
    std::optional<DewPointExtreme> dewPointMax, dewPointMin;
    // Every record, by band, and the column sums.
    ProfileCounts profile{};
    std::array<int64_t, humidityBands> profileTotal{};
};

// The statistics of `recs` (oldest first, timed) logged `interval` seconds apart.
Summary summarize(const std::vector<records::Record>& recs, int32_t interval);

// The same statistics of records given a piece at a time, oldest first, so
// that a file's figures need no list of all its records.
class SummaryScan {
public:
    SummaryScan();
    // Takes the next `count` records; their times are not looked at.
    void add(const records::Record* first, size_t count);
    // How many records were taken.
    int64_t taken() const { return count; }
    // The statistics of every record taken, `interval` seconds apart, each
    // record's time from `timeOf`.
    Summary finish(int32_t interval, const records::TimeOfRecord& timeOf) const;

private:
    // The lowest and highest humidity of the records at one temperature that
    // have derived values, each with the oldest record holding it; -1 without any.
    struct HumidityRange {
        int32_t low, high;
        int64_t lowIndex = -1, highIndex = -1;
    };

    int64_t count = 0;
    graph::ExtremeScan extremes;
    std::vector<HumidityRange> ranges;   // by temperature, from the lowest with a dew point
    ProfileCounts profile{};
};

} // namespace analysis
