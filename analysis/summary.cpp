#include "analysis/summary.h"

#include "records/derived.h"

#include <functional>
#include <limits>

namespace analysis {

namespace {

constexpr int32_t lowestTemperature = records::lowestDerivedTemperature;
constexpr size_t temperatures = records::highestDerivedTemperature - lowestTemperature + 1;

// The extreme of the dew points weighed so far and its record: a candidate
// wins when `beyond` it, or as far and older.
struct DewPointChoice {
    double value = 0.0;
    int64_t index = -1;

    template <typename Beyond>
    void weigh(double candidate, int64_t at, Beyond beyond)
    {
        if (index < 0 || beyond(candidate, value) || (candidate == value && at < index)) {
            value = candidate;
            index = at;
        }
    }
};

double dewPointAt(int32_t temperature, int32_t humidity)
{
    return records::derivedValues({0, humidity, temperature}).dewPoint;
}

} // namespace

SummaryScan::SummaryScan()
    : ranges(temperatures, HumidityRange{std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()})
{
}

// The dew point grows strictly with the humidity at each temperature
// (records/derived.h), so the extremes lie at each temperature's lowest and
// highest humidity: the scan keeps those, with the oldest record holding each,
// and finish computes only their dew points.
void SummaryScan::add(const records::Record* first, size_t n)
{
    extremes.add(first, n, static_cast<int32_t>(count));
    addToProfile(profile, first, n);
    for (size_t i = 0; i < n; ++i) {
        const records::Record& r = first[i];
        if (!records::hasDerivedValues(r))
            continue;
        HumidityRange& range = ranges[static_cast<size_t>(r.temperature - lowestTemperature)];
        const int64_t index = count + static_cast<int64_t>(i);
        if (r.humidity < range.low) {
            range.low = r.humidity;
            range.lowIndex = index;
        }
        if (r.humidity > range.high) {
            range.high = r.humidity;
            range.highIndex = index;
        }
    }
    count += static_cast<int64_t>(n);
}

Summary SummaryScan::finish(int32_t interval, const records::TimeOfRecord& timeOf) const
{
    Summary s;
    s.count = static_cast<int32_t>(count);
    s.interval = interval;
    if (count == 0)
        return s;
    s.firstTime = timeOf(0);
    s.lastTime = timeOf(count - 1);
    if (extremes.any()) {
        const graph::ExtremeScan::Place& h = extremes.humidity();
        const graph::ExtremeScan::Place& t = extremes.temperature();
        s.humidityMax = Extreme{h.max, timeOf(h.maxIndex)};
        s.humidityMin = Extreme{h.min, timeOf(h.minIndex)};
        s.temperatureMax = Extreme{t.max, timeOf(t.maxIndex)};
        s.temperatureMin = Extreme{t.min, timeOf(t.minIndex)};
    }
    // Of equal dew points the oldest record wins, as it would taking the
    // records one by one.
    DewPointChoice max, min;
    for (size_t t = 0; t < ranges.size(); ++t) {
        const HumidityRange& range = ranges[t];
        if (range.highIndex < 0)
            continue;
        const int32_t temperature = lowestTemperature + static_cast<int32_t>(t);
        max.weigh(dewPointAt(temperature, range.high), range.highIndex, std::greater<double>());
        min.weigh(dewPointAt(temperature, range.low), range.lowIndex, std::less<double>());
    }
    if (max.index >= 0) {
        s.dewPointMax = DewPointExtreme{max.value, timeOf(max.index)};
        s.dewPointMin = DewPointExtreme{min.value, timeOf(min.index)};
    }
    s.profile = profile;
    s.profileTotal = profileTotals(profile);
    return s;
}

Summary summarize(const std::vector<records::Record>& recs, int32_t interval)
{
    SummaryScan scan;
    scan.add(recs.data(), recs.size());
    return scan.finish(interval, records::timesOf(recs));
}

} // namespace analysis
