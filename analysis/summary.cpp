#include "analysis/summary.h"

#include "graph/graph.h"
#include "records/derived.h"

#include <functional>
#include <limits>

namespace analysis {

namespace {

std::optional<Extreme> extremeAt(const std::vector<records::Record>& recs, int32_t index,
                                 int32_t records::Record::*value)
{
    if (index < 0)
        return std::nullopt;
    const records::Record& r = recs[static_cast<size_t>(index)];
    return Extreme{r.*value, r.time};
}

// The lowest and highest humidity of the records at one temperature that have
// derived values, each with the oldest record holding it; -1 without any.
struct HumidityRange {
    int32_t low = std::numeric_limits<int32_t>::max(), high = std::numeric_limits<int32_t>::min();
    int64_t lowIndex = -1, highIndex = -1;
};

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

// The dew point grows strictly with the humidity at each temperature
// (records/derived.h), so the extremes lie at each temperature's lowest and
// highest humidity: one pass keeps those, with the oldest record holding each,
// and only their dew points are computed. Of equal extremes the oldest record
// wins, as it would taking the records one by one.
void scanDewPoints(const std::vector<records::Record>& recs, Summary& s)
{
    constexpr int32_t lowest = records::lowestDerivedTemperature;
    std::vector<HumidityRange> ranges(static_cast<size_t>(records::highestDerivedTemperature - lowest + 1));
    for (size_t i = 0; i < recs.size(); ++i) {
        const records::Record& r = recs[i];
        if (!records::hasDerivedValues(r))
            continue;
        HumidityRange& range = ranges[static_cast<size_t>(r.temperature - lowest)];
        if (r.humidity < range.low) {
            range.low = r.humidity;
            range.lowIndex = static_cast<int64_t>(i);
        }
        if (r.humidity > range.high) {
            range.high = r.humidity;
            range.highIndex = static_cast<int64_t>(i);
        }
    }
    DewPointChoice max, min;
    for (size_t t = 0; t < ranges.size(); ++t) {
        const HumidityRange& range = ranges[t];
        if (range.highIndex < 0)
            continue;
        const int32_t temperature = lowest + static_cast<int32_t>(t);
        max.weigh(dewPointAt(temperature, range.high), range.highIndex, std::greater<double>());
        min.weigh(dewPointAt(temperature, range.low), range.lowIndex, std::less<double>());
    }
    if (max.index >= 0) {
        s.dewPointMax = DewPointExtreme{max.value, recs[static_cast<size_t>(max.index)].time};
        s.dewPointMin = DewPointExtreme{min.value, recs[static_cast<size_t>(min.index)].time};
    }
}

} // namespace

Summary summarize(const std::vector<records::Record>& recs, int32_t interval)
{
    Summary s;
    s.count = static_cast<int32_t>(recs.size());
    s.interval = interval;
    if (recs.empty())
        return s;
    s.firstTime = recs.front().time;
    s.lastTime = recs.back().time;
    const graph::ExtremePlaces p = graph::findExtremes(recs);
    s.humidityMax = extremeAt(recs, p.humidityMax, &records::Record::humidity);
    s.humidityMin = extremeAt(recs, p.humidityMin, &records::Record::humidity);
    s.temperatureMax = extremeAt(recs, p.temperatureMax, &records::Record::temperature);
    s.temperatureMin = extremeAt(recs, p.temperatureMin, &records::Record::temperature);
    scanDewPoints(recs, s);
    s.profile = countProfile(recs, 0, s.count - 1);
    s.profileTotal = profileTotals(s.profile);
    return s;
}

} // namespace analysis
