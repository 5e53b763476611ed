// The summary's extremes against the records taken one by one: each extreme
// and the time of the oldest record holding it.
#include "analysis/summary.h"

#include "records/derived.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Readings around the edges of the derived values, repeats and gaps among them.
std::vector<records::Record> mixedRecords(unsigned seed)
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
    records::assignTimes(recs, 1710504000, 60);
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

} // namespace
