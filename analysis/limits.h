// limits.h: limits on the readings, the excursions beyond them and the mean
// kinetic temperature: the figures a cold-chain audit asks for.
//
// Limits are integers in the readings' own tenths (degrees Celsius, %RH); each
// of the four is optional. A value greater than a high limit or less than a low
// one is beyond it; a value equal to a limit is within, and a gap (records::isGap)
// is never beyond. An excursion is a longest run of consecutive records beyond
// the same limit, ended by a gap or a record within; it counts when it lasts at
// least the delay. Its duration is its records times the interval; its peak is
// its farthest value.
//
// The mean kinetic temperature (MKT) is (dH/R) / -ln(mean of exp(-(dH/R) / T))
// over the records that are not gaps, T in kelvin, dH/R = 10,000 K (83.144
// kJ/mol over 8.3144 J/(mol K)), in double precision. Its highest value over
// any 24 hours or 30 days is taken over windows of that length in time, each
// starting at a record: ceil(length / interval) consecutive records, gaps left
// out (and so are readings at or below absolute zero, which no logger reads);
// there is none when the records are fewer. Each figure takes one pass
// over the records (the windows a sliding sum), so a full logger is quick.
//
// Nothing here fails or draws: the report, the Monitor and the command line
// show what these functions compute.
#pragma once

#include "records/store.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace analysis {

// Which of the four limits: the order of every table and report.
enum LimitKind : int {
    TemperatureHigh = 0,
    TemperatureLow = 1,
    HumidityHigh = 2,
    HumidityLow = 3,
};
constexpr int limitKindCount = 4;

struct Limits {
    // Tenths of a degree Celsius or of %RH, indexed by LimitKind.
    std::optional<int32_t> value[limitKindCount];
    // Minutes an excursion must last to count; 0 or more.
    int32_t delayMinutes = 0;

    friend bool operator==(const Limits&, const Limits&) = default;
};

// One excursion: a run of records beyond one limit.
struct Excursion {
    int32_t start;      // time of its first record
    int32_t end;        // start plus its duration: when its last record's interval ends
    int64_t seconds;    // its records times the interval
    int32_t peak;       // its farthest value, in tenths
};

// What happened beyond one limit.
struct LimitFigures {
    // The excursions that count (lasting at least the delay), oldest first.
    std::vector<Excursion> excursions;
    // Their durations added up.
    int64_t secondsBeyond = 0;
    // The time of every record beyond the limit, whatever the delay.
    int64_t secondsBeyondCumulative = 0;
    // The longest counted excursion (the oldest of equals); none without any.
    std::optional<Excursion> longest;
};

// Every figure of an audit over a list of records.
struct LimitReport {
    // Only the set limits' entries are filled; see Limits::value.
    LimitFigures limit[limitKindCount];
    // Means over the records that have the value: degrees Celsius, %RH, and
    // the dew point where it is defined (records/derived.h).
    std::optional<double> temperatureMean, humidityMean, dewPointMean;
    // Mean kinetic temperatures in degrees Celsius; see the top of this file.
    std::optional<double> kineticTemperature, highestDayKineticTemperature, highestMonthKineticTemperature;
    // Records that are not gaps, in percent of all records; none without records.
    std::optional<double> coveragePercent;
};

// Seconds of the two MKT windows.
constexpr int64_t daySeconds = 24 * 3600;
constexpr int64_t monthSeconds = 30 * daySeconds;

// True when at least one of the four limits is set.
bool anyLimit(const Limits& limits);
// True when `reading` (tenths) lies beyond the limit of `kind` (which must be set).
bool isBeyond(const Limits& limits, LimitKind kind, int32_t reading);
// The same for the limit `limit` of `kind`; inline, as the audit asks it of
// every record.
inline bool beyondLimit(LimitKind kind, int32_t limit, int32_t reading)
{
    return kind == TemperatureHigh || kind == HumidityHigh ? reading > limit : reading < limit;
}
// The reading a limit of `kind` looks at: temperature or humidity, in tenths.
// Inline: the audit asks it of every record.
inline int32_t limitedReading(LimitKind kind, const records::Record& record)
{
    return kind == TemperatureHigh || kind == TemperatureLow ? record.temperature : record.humidity;
}

// The excursions beyond the limit of `kind` (which must be set) of `recs`,
// oldest first and timed, logged `interval` seconds apart.
LimitFigures limitFigures(const std::vector<records::Record>& recs, int32_t interval, const Limits& limits,
                          LimitKind kind);
// The MKT of the records that are not gaps, in degrees Celsius; none when all are.
std::optional<double> kineticTemperature(const std::vector<records::Record>& recs);
// The highest MKT of any `windowSeconds` of `recs`, in degrees Celsius; none
// when the records span less than a window or no window holds a reading.
std::optional<double> highestKineticTemperature(const std::vector<records::Record>& recs, int32_t interval,
                                                int64_t windowSeconds);
// Everything above for `recs` and the set limits of `limits`.
LimitReport limitReport(const std::vector<records::Record>& recs, int32_t interval, const Limits& limits);

// The same report of records given a piece at a time, oldest first, so that
// a file's audit needs no list of all its records.
class LimitScan {
public:
    LimitScan(int32_t interval, const Limits& limits);
    ~LimitScan();
    // Takes the next `count` records; their times are not looked at.
    void add(const records::Record* first, size_t count);
    // The report of every record taken, each record's time from `timeOf`.
    // Once: the figures move into the report, and the scan is spent.
    LimitReport finish(const records::TimeOfRecord& timeOf);

private:
    struct State;
    std::unique_ptr<State> state;
};

} // namespace analysis
