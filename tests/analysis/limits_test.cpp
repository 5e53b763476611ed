// Limits, excursions, means and mean kinetic temperature.
#include "analysis/limits.h"

#include "records/derived.h"

#include <gtest/gtest.h>

#include <cmath>

using analysis::Limits;
using records::Record;

namespace {

constexpr int32_t start = 1710504000;   // 2024-03-15 12:00:00

// Records of the given temperatures (tenths) and humidities, `interval` apart,
// the oldest at `start`; a pair {0, 0} is a gap.
std::vector<Record> timed(const std::vector<std::pair<int32_t, int32_t>>& values, int32_t interval)
{
    std::vector<Record> recs;
    for (const auto& [temperature, humidity] : values)
        recs.push_back({static_cast<int32_t>(start + interval * static_cast<int32_t>(recs.size())), humidity,
                        temperature});
    return recs;
}

// Whole degrees Celsius at 50 %RH.
std::vector<Record> degrees(const std::vector<int>& celsius, int32_t interval)
{
    std::vector<std::pair<int32_t, int32_t>> values;
    for (int c : celsius)
        values.push_back({c * 10, 500});
    return timed(values, interval);
}

Limits limitsOf(std::optional<int32_t> temperatureLow, std::optional<int32_t> temperatureHigh, int32_t delay = 0)
{
    Limits limits;
    limits.value[analysis::TemperatureLow] = temperatureLow;
    limits.value[analysis::TemperatureHigh] = temperatureHigh;
    limits.delayMinutes = delay;
    return limits;
}

double rounded(std::optional<double> value)
{
    return std::round(value.value() * 100.0) / 100.0;
}

} // namespace

TEST(KineticTemperature, HoldsTheKnownPointsAndLeavesGapsOut)
{
    EXPECT_EQ(rounded(analysis::kineticTemperature(degrees({2, 2, 5, 8, 8, 8, 8}, 600))), 6.25);
    EXPECT_EQ(rounded(analysis::kineticTemperature(degrees({20, 20, 2, 2, 2, 2, 25}, 600))), 15.68);
    EXPECT_EQ(rounded(analysis::kineticTemperature(degrees({25, 25, 25, 25}, 600))), 25.00);
    // A gap is no reading at 0 degrees; a record of 0.0 degrees with a humidity is.
    std::vector<Record> withGap = timed({{250, 500}, {0, 0}, {250, 500}}, 600);
    EXPECT_EQ(rounded(analysis::kineticTemperature(withGap)), 25.00);
    withGap[1].humidity = 500;
    EXPECT_EQ(rounded(analysis::kineticTemperature(withGap)), 21.64);
    EXPECT_FALSE(analysis::kineticTemperature(timed({{0, 0}, {0, 0}}, 600)));
    EXPECT_FALSE(analysis::kineticTemperature({}));
    // A corrupt reading below absolute zero is no temperature at all.
    EXPECT_EQ(rounded(analysis::kineticTemperature(timed({{-30000, 500}, {250, 500}}, 600))), 25.00);
}

TEST(KineticTemperature, HighestWindowNeedsTheWholeSpanAndFindsTheWarmestStretch)
{
    // Hourly: a day at 20, a day at 25, the gap at the end left out.
    std::vector<int> celsius(24, 20);
    celsius.insert(celsius.end(), 24, 25);
    std::vector<Record> recs = degrees(celsius, 3600);
    recs.push_back({recs.back().time + 3600, 0, 0});
    EXPECT_EQ(rounded(analysis::highestKineticTemperature(recs, 3600, analysis::daySeconds)), 25.00);
    EXPECT_FALSE(analysis::highestKineticTemperature(recs, 3600, analysis::monthSeconds));
    // 23 hours do not span a day; 24 do.
    EXPECT_FALSE(analysis::highestKineticTemperature(degrees(std::vector<int>(23, 5), 3600), 3600,
                                                     analysis::daySeconds));
    EXPECT_EQ(rounded(analysis::highestKineticTemperature(degrees(std::vector<int>(24, 5), 3600), 3600,
                                                          analysis::daySeconds)),
              5.00);
    // An interval that does not divide the day: 7 s takes ceil(86400 / 7) = 12343 records.
    EXPECT_FALSE(analysis::highestKineticTemperature(degrees(std::vector<int>(12342, 5), 7), 7, analysis::daySeconds));
    EXPECT_TRUE(analysis::highestKineticTemperature(degrees(std::vector<int>(12343, 5), 7), 7, analysis::daySeconds));
    // A window of gaps only has no MKT; the others still count.
    std::vector<Record> gaps = timed(std::vector<std::pair<int32_t, int32_t>>(3, {0, 0}), 86400);
    EXPECT_FALSE(analysis::highestKineticTemperature(gaps, 86400, analysis::daySeconds));
    gaps[1] = {gaps[1].time, 500, 30};
    EXPECT_EQ(rounded(analysis::highestKineticTemperature(gaps, 86400, analysis::daySeconds)), 3.00);
    EXPECT_FALSE(analysis::highestKineticTemperature(gaps, 0, analysis::daySeconds));
}

TEST(Excursions, RunsEndAtGapsAndWithinValuesAndCountFromTheDelay)
{
    // 10-minute records against 2.0 to 8.0 degrees Celsius.
    const std::vector<Record> recs = timed({{70, 500},
                                            {85, 500}, {90, 500},             // 20 minutes above, peak 9.0
                                            {0, 0},                          // a gap ends it and is not below
                                            {95, 500},                       // 10 minutes above
                                            {80, 500},                       // equal: within
                                            {81, 500}, {83, 500}, {81, 500},  // 30 minutes above, peak 8.3
                                            {20, 500},                       // equal: within
                                            {0, 400}, {19, 500},             // 0.0 with a humidity is a reading
                                            {0, 0}},
                                           600);
    Limits limits = limitsOf(20, 80);
    analysis::LimitFigures high = analysis::limitFigures(recs, 600, limits, analysis::TemperatureHigh);
    ASSERT_EQ(high.excursions.size(), 3u);
    EXPECT_EQ(high.excursions[0].start, start + 600);
    EXPECT_EQ(high.excursions[0].end, start + 1800);
    EXPECT_EQ(high.excursions[0].seconds, 1200);
    EXPECT_EQ(high.excursions[0].peak, 90);
    EXPECT_EQ(high.excursions[1].start, start + 4 * 600);
    EXPECT_EQ(high.excursions[1].seconds, 600);
    EXPECT_EQ(high.excursions[2].peak, 83);
    EXPECT_EQ(high.secondsBeyond, 3600);
    EXPECT_EQ(high.secondsBeyondCumulative, 3600);
    ASSERT_TRUE(high.longest);
    EXPECT_EQ(high.longest->start, start + 6 * 600);
    EXPECT_EQ(high.longest->seconds, 1800);

    analysis::LimitFigures low = analysis::limitFigures(recs, 600, limits, analysis::TemperatureLow);
    ASSERT_EQ(low.excursions.size(), 1u);
    EXPECT_EQ(low.excursions[0].start, start + 10 * 600);
    EXPECT_EQ(low.excursions[0].seconds, 1200);
    EXPECT_EQ(low.excursions[0].peak, 0);

    // A run of exactly the delay counts; one minute more and only the longest does.
    limits.delayMinutes = 20;
    high = analysis::limitFigures(recs, 600, limits, analysis::TemperatureHigh);
    ASSERT_EQ(high.excursions.size(), 2u);
    EXPECT_EQ(high.excursions[0].seconds, 1200);
    EXPECT_EQ(high.secondsBeyond, 3000);
    EXPECT_EQ(high.secondsBeyondCumulative, 3600);
    limits.delayMinutes = 21;
    high = analysis::limitFigures(recs, 600, limits, analysis::TemperatureHigh);
    ASSERT_EQ(high.excursions.size(), 1u);
    EXPECT_EQ(high.excursions[0].start, start + 6 * 600);
    limits.delayMinutes = 31;
    high = analysis::limitFigures(recs, 600, limits, analysis::TemperatureHigh);
    EXPECT_TRUE(high.excursions.empty());
    EXPECT_FALSE(high.longest);
    EXPECT_EQ(high.secondsBeyond, 0);
    EXPECT_EQ(high.secondsBeyondCumulative, 3600);
}

TEST(LimitReport, MeansCoverageAndOnlyTheSetLimits)
{
    const std::vector<Record> recs = timed({{200, 400}, {0, 0}, {300, 600}, {100, 1200}}, 600);
    Limits limits;
    limits.value[analysis::HumidityHigh] = 1000;   // 100.0 %RH: 120 %RH is beyond, equal would not be
    const analysis::LimitReport report = analysis::limitReport(recs, 600, limits);
    EXPECT_DOUBLE_EQ(report.temperatureMean.value(), 20.0);
    EXPECT_DOUBLE_EQ(report.humidityMean.value(), (40.0 + 60.0 + 120.0) / 3);
    // 120 %RH has no dew point.
    const double dewPoints = records::derivedValues(recs[0]).dewPoint + records::derivedValues(recs[2]).dewPoint;
    EXPECT_DOUBLE_EQ(report.dewPointMean.value(), dewPoints / 2);
    EXPECT_DOUBLE_EQ(report.coveragePercent.value(), 75.0);
    EXPECT_TRUE(report.limit[analysis::TemperatureHigh].excursions.empty());
    ASSERT_EQ(report.limit[analysis::HumidityHigh].excursions.size(), 1u);
    EXPECT_EQ(report.limit[analysis::HumidityHigh].excursions[0].peak, 1200);
    EXPECT_FALSE(report.highestDayKineticTemperature);

    const analysis::LimitReport none = analysis::limitReport({}, 600, limits);
    EXPECT_FALSE(none.temperatureMean);
    EXPECT_FALSE(none.dewPointMean);
    EXPECT_FALSE(none.kineticTemperature);
    EXPECT_FALSE(none.coveragePercent);
}

TEST(LimitReport, FullLoggerOf99999Records)
{
    // Ten minutes apart, about 694 days: a daily swing from 4 to 10 degrees, a
    // gap every 1000 records, and ten records in every hundred above 8.0.
    std::vector<std::pair<int32_t, int32_t>> values;
    for (int i = 0; i < 99999; ++i) {
        const int32_t t = i % 100 >= 10 && i % 100 < 20 ? 85 + i % 7 : 40 + i % 144 * 30 / 144;
        values.push_back(i % 1000 == 999 ? std::pair<int32_t, int32_t>{0, 0} : std::pair<int32_t, int32_t>{t, 550});
    }
    const std::vector<Record> recs = timed(values, 600);
    const analysis::LimitReport report = analysis::limitReport(recs, 600, limitsOf(std::nullopt, 80, 100));
    const analysis::LimitFigures& high = report.limit[analysis::TemperatureHigh];
    EXPECT_EQ(high.excursions.size(), 1000u);
    EXPECT_EQ(high.secondsBeyond, 1000 * 6000);
    EXPECT_EQ(high.longest->start, start + 10 * 600);
    EXPECT_EQ(high.excursions.back().start, start + 99910 * 600);
    EXPECT_NEAR(report.coveragePercent.value(), 100.0 * 99900 / 99999, 1e-9);

    // The sliding windows against prefix sums in long double.
    std::vector<long double> prefix{0.0L};
    std::vector<size_t> readings{0};
    for (const Record& r : recs) {
        const bool gap = records::isGap(r);
        prefix.push_back(prefix.back() + (gap ? 0.0L : std::exp(-10000.0L / (r.temperature / 10.0L + 273.15L))));
        readings.push_back(readings.back() + (gap ? 0 : 1));
    }
    const auto highest = [&](size_t length) {
        long double best = 0.0L;
        for (size_t i = length; i < prefix.size(); ++i)
            best = std::max(best, (prefix[i] - prefix[i - length]) / static_cast<long double>(readings[i] - readings[i - length]));
        return static_cast<double>(10000.0L / -std::log(best) - 273.15L);
    };
    EXPECT_NEAR(report.highestDayKineticTemperature.value(), highest(144), 1e-9);
    EXPECT_NEAR(report.highestMonthKineticTemperature.value(), highest(4320), 1e-9);
    const double all = static_cast<double>(10000.0L / -std::log(prefix.back() / readings.back()) - 273.15L);
    EXPECT_NEAR(report.kineticTemperature.value(), all, 1e-9);
    // The report's one pass gives the very doubles of each figure on its own.
    EXPECT_EQ(report.highestDayKineticTemperature, analysis::highestKineticTemperature(recs, 600, analysis::daySeconds));
    EXPECT_EQ(report.highestMonthKineticTemperature, analysis::highestKineticTemperature(recs, 600, analysis::monthSeconds));
    EXPECT_EQ(report.kineticTemperature, analysis::kineticTemperature(recs));
    EXPECT_GT(report.highestDayKineticTemperature.value(), report.highestMonthKineticTemperature.value());
    EXPECT_GT(report.highestMonthKineticTemperature.value(), report.kineticTemperature.value() - 1e-9);
}
