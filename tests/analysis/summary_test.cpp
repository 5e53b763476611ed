// The summary's extremes against the records taken one by one: each extreme
// and the time of the oldest record holding it.
#include "analysis/summary.h"

#include "analysis/limits.h"

#include "records/derived.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

namespace {

// Readings around the edges of the derived values, repeats and gaps among them.
std::vector<records::Record> mixedRecords(unsigned seed, int32_t interval = 60)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int32_t> temperature(-470, 620), humidity(-10, 1010), kind(0, 9);
    std::vector<records::Record> recs;
    for (int32_t i = 0; i < 20000; ++i) {
        const int32_t k = kind(random);
        if (k == 0)
            recs.push_back({0, 0, 0});
        else if (k == 1 && !recs.empty())
            recs.push_back(recs[static_cast<size_t>(random() % recs.size())]);
        else
            recs.push_back({0, humidity(random), temperature(random)});
    }
    records::assignTimes(recs, 1710504000, interval);
    return recs;
}

TEST(Summary, ExtremesOfTheOldestRecordsHoldingThem)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        const std::vector<records::Record> recs = mixedRecords(seed);
        const analysis::Summary s = analysis::summarize(recs, 60);
        // One by one, strictly beyond, as a reader of the list would.
        std::optional<analysis::DewPointExtreme> max, min;
        std::optional<analysis::Extreme> humidityMax, temperatureMin;
        for (const records::Record& r : recs) {
            if (!records::isGap(r)) {
                if (!humidityMax || r.humidity > humidityMax->value)
                    humidityMax = analysis::Extreme{r.humidity, r.time};
                if (!temperatureMin || r.temperature < temperatureMin->value)
                    temperatureMin = analysis::Extreme{r.temperature, r.time};
            }
            const records::Derived d = records::derivedValues(r);
            if (!d.valid)
                continue;
            if (!max || d.dewPoint > max->value)
                max = analysis::DewPointExtreme{d.dewPoint, r.time};
            if (!min || d.dewPoint < min->value)
                min = analysis::DewPointExtreme{d.dewPoint, r.time};
        }
        ASSERT_TRUE(s.dewPointMax && s.dewPointMin && max && min);
        EXPECT_EQ(s.dewPointMax->value, max->value) << seed;
        EXPECT_EQ(s.dewPointMax->time, max->time) << seed;
        EXPECT_EQ(s.dewPointMin->value, min->value) << seed;
        EXPECT_EQ(s.dewPointMin->time, min->time) << seed;
        EXPECT_EQ(s.humidityMax->value, humidityMax->value) << seed;
        EXPECT_EQ(s.humidityMax->time, humidityMax->time) << seed;
        EXPECT_EQ(s.temperatureMin->value, temperatureMin->value) << seed;
        EXPECT_EQ(s.temperatureMin->time, temperatureMin->time) << seed;
    }
    // Without a record that has derived values, no dew point; all gaps, no extremes.
    std::vector<records::Record> none = {{0, 0, 0}, {0, 1001, 200}, {0, 500, 601}};
    records::assignTimes(none, 1710504000, 60);
    const analysis::Summary s = analysis::summarize(none, 60);
    EXPECT_FALSE(s.dewPointMax || s.dewPointMin);
    EXPECT_EQ(s.humidityMax->value, 1001);
    const analysis::Summary gaps = analysis::summarize(std::vector<records::Record>(3, records::Record{0, 0, 0}), 60);
    EXPECT_FALSE(gaps.humidityMax || gaps.temperatureMax || gaps.dewPointMax);
}

void expectSameExcursions(const analysis::LimitFigures& a, const analysis::LimitFigures& b, int kind)
{
    ASSERT_EQ(a.excursions.size(), b.excursions.size()) << kind;
    for (size_t i = 0; i < a.excursions.size(); ++i) {
        const analysis::Excursion &x = a.excursions[i], &y = b.excursions[i];
        EXPECT_TRUE(x.start == y.start && x.end == y.end && x.seconds == y.seconds && x.peak == y.peak) << kind << " " << i;
    }
    EXPECT_EQ(a.secondsBeyond, b.secondsBeyond) << kind;
    EXPECT_EQ(a.secondsBeyondCumulative, b.secondsBeyondCumulative) << kind;
    ASSERT_EQ(a.longest.has_value(), b.longest.has_value()) << kind;
    if (a.longest) {
        EXPECT_TRUE(a.longest->start == b.longest->start && a.longest->end == b.longest->end) << kind;
    }
}

// What stats takes a piece at a time, without the records' times, is what
// the window's views take from the whole timed list: every figure, the very
// doubles, the times from the records' places.
TEST(Summary, FiguresTakenInPiecesAreThoseOfTheWhole)
{
    analysis::Limits limits;
    limits.value[analysis::TemperatureHigh] = 300;
    limits.value[analysis::TemperatureLow] = -100;
    limits.value[analysis::HumidityHigh] = 900;
    limits.value[analysis::HumidityLow] = 100;
    limits.delayMinutes = 2;
    for (unsigned seed = 1; seed <= 5; ++seed) {
        // 10-minute records: the windows of 144 and 4320 records span pieces.
        constexpr int32_t interval = 600;
        const std::vector<records::Record> recs = mixedRecords(seed, interval);
        analysis::SummaryScan summary;
        analysis::LimitScan audit(interval, limits);
        const size_t sizes[] = {0, 1, 7, 143, 145, 4319, 4321, 5000};
        size_t at = 0;
        for (size_t piece = 0; at < recs.size(); ++piece) {
            const size_t n = std::min(sizes[piece % std::size(sizes)], recs.size() - at);
            summary.add(recs.data() + at, n);
            audit.add(recs.data() + at, n);
            at += n;
        }
        const auto timeOf = [&recs](int64_t index) {
            return records::timeOfIndex(1710504000, interval, static_cast<int64_t>(recs.size()), index);
        };
        // Against the whole list in one piece.
        const analysis::Summary a = summary.finish(interval, timeOf), b = analysis::summarize(recs, interval);
        EXPECT_TRUE(a.count == b.count && a.firstTime == b.firstTime && a.lastTime == b.lastTime) << seed;
        EXPECT_TRUE(a.humidityMin->value == b.humidityMin->value && a.humidityMin->time == b.humidityMin->time);
        EXPECT_TRUE(a.temperatureMax->value == b.temperatureMax->value && a.temperatureMax->time == b.temperatureMax->time);
        EXPECT_TRUE(a.dewPointMax->value == b.dewPointMax->value && a.dewPointMax->time == b.dewPointMax->time);
        EXPECT_TRUE(a.dewPointMin->value == b.dewPointMin->value && a.dewPointMin->time == b.dewPointMin->time);
        EXPECT_EQ(a.profile, b.profile);
        EXPECT_EQ(a.profileTotal, b.profileTotal);
        const analysis::LimitReport r = audit.finish(timeOf), whole = analysis::limitReport(recs, interval, limits);
        for (int kind = 0; kind < analysis::limitKindCount; ++kind)
            expectSameExcursions(r.limit[kind], whole.limit[kind], kind);
        EXPECT_FALSE(r.limit[analysis::TemperatureHigh].excursions.empty());
        EXPECT_EQ(r.temperatureMean, whole.temperatureMean);
        EXPECT_EQ(r.humidityMean, whole.humidityMean);
        EXPECT_EQ(r.dewPointMean, whole.dewPointMean);
        EXPECT_EQ(r.coveragePercent, whole.coveragePercent);
        // Against each figure on its own, a window's terms computed afresh as
        // they leave it, without the scan's ring and its short way.
        EXPECT_EQ(r.kineticTemperature, analysis::kineticTemperature(recs));
        EXPECT_EQ(r.highestDayKineticTemperature, analysis::highestKineticTemperature(recs, interval, analysis::daySeconds));
        EXPECT_EQ(r.highestMonthKineticTemperature,
                  analysis::highestKineticTemperature(recs, interval, analysis::monthSeconds));
        EXPECT_TRUE(r.highestDayKineticTemperature && r.highestMonthKineticTemperature);
        EXPECT_EQ(r.limit[analysis::HumidityLow].secondsBeyond,
                  analysis::limitFigures(recs, interval, limits, analysis::HumidityLow).secondsBeyond);
    }
    // The times of records not kept wrap below the 32-bit range as a 32-bit
    // machine would step back from the newest, an interval at a time.
    const int32_t newest = std::numeric_limits<int32_t>::min() + 100;
    uint32_t stepped = static_cast<uint32_t>(newest);
    for (int64_t i = 4999; i >= 0; --i, stepped -= 5940u)
        ASSERT_EQ(records::timeOfIndex(newest, 5940, 5000, i), static_cast<int32_t>(stepped)) << i;
    // No record taken: what an empty list gives.
    const analysis::Summary empty = analysis::SummaryScan{}.finish(60, [](int64_t) { return 0; });
    EXPECT_TRUE(empty.count == 0 && empty.firstTime == -1 && !empty.humidityMax && !empty.dewPointMax);
    const analysis::LimitReport none = analysis::LimitScan(60, limits).finish([](int64_t) { return 0; });
    EXPECT_FALSE(none.kineticTemperature || none.coveragePercent || none.highestDayKineticTemperature);
}

} // namespace
