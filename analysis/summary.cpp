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

// Strictly beyond, so the oldest record holding an extreme keeps it.
void scanDewPoints(const std::vector<records::Record>& recs, Summary& s)
{
    for (const records::Record& r : recs) {
        const records::Derived d = records::derivedValues(r);
        if (!d.valid)
            continue;
        if (!s.dewPointMax || d.dewPoint > s.dewPointMax->value)
            s.dewPointMax = DewPointExtreme{d.dewPoint, r.time};
        if (!s.dewPointMin || d.dewPoint < s.dewPointMin->value)
            s.dewPointMin = DewPointExtreme{d.dewPoint, r.time};
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
