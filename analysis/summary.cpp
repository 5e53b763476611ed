#include "analysis/summary.h"

#include "graph/graph.h"
#include "records/derived.h"

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

// The records of the dew-point extremes; -1 before any.
struct DewPointPlaces {
    double max = 0.0, min = 0.0;
    int64_t maxIndex = -1, minIndex = -1;
};

// Strictly beyond, so the oldest record holding an extreme keeps it.
void scanDewPoints(const std::vector<records::Record>& recs, Summary& s)
{
    const DewPointPlaces p =
        records::foldDewPoints(recs, DewPointPlaces{}, [](DewPointPlaces p, size_t i, double dewPoint) {
            if (p.maxIndex < 0 || dewPoint > p.max) {
                p.max = dewPoint;
                p.maxIndex = static_cast<int64_t>(i);
            }
            if (p.minIndex < 0 || dewPoint < p.min) {
                p.min = dewPoint;
                p.minIndex = static_cast<int64_t>(i);
            }
            return p;
        });
    if (p.maxIndex >= 0) {
        s.dewPointMax = DewPointExtreme{p.max, recs[static_cast<size_t>(p.maxIndex)].time};
        s.dewPointMin = DewPointExtreme{p.min, recs[static_cast<size_t>(p.minIndex)].time};
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
