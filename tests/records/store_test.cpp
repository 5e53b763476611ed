// Record store: time assignment, clearing, 32-bit spans and the time-scale levels.
#include "records/store.h"
#include "records/timescale.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace {

using records::store;

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override { records::resetStore(); }
    void TearDown() override { records::resetStore(); }

    // Appends `count` records with distinct readings (temperature i, humidity 100 + i).
    static void fill(int count)
    {
        for (int i = 0; i < count; ++i)
            records::appendRecord(i, 100 + i);
        store().recordCount = records::recordTotal();
    }

    static std::vector<int32_t> times()
    {
        std::vector<int32_t> result;
        for (int32_t i = 0; i < records::recordTotal(); ++i)
            result.push_back(records::recordAt(i).time);
        return result;
    }
};

TEST_F(StoreTest, StartsEmptyAndAppendsOldestFirst)
{
    EXPECT_EQ(records::recordTotal(), 0);
    EXPECT_EQ(store().recordCount, 0);
    EXPECT_EQ(store().interval, 0);
    records::appendRecord(-42, 456);
    records::appendRecord(215, 0);
    ASSERT_EQ(records::recordTotal(), 2);
    EXPECT_EQ(records::recordAt(0).temperature, -42);
    EXPECT_EQ(records::recordAt(0).humidity, 456);
    EXPECT_EQ(records::recordAt(0).time, 0);
    EXPECT_EQ(records::newestRecord().temperature, 215);
    EXPECT_EQ(records::newestRecord().humidity, 0);
}

TEST_F(StoreTest, TimesRiseByIntervalUpToTheNewest)
{
    store().interval = 60;
    fill(4);
    records::assignRecordTimes(1'000'000);
    EXPECT_EQ(times(), (std::vector<int32_t>{999'820, 999'880, 999'940, 1'000'000}));
    // Readings are untouched by the time assignment.
    EXPECT_EQ(records::recordAt(2).temperature, 2);
    EXPECT_EQ(records::recordAt(2).humidity, 102);
}

TEST_F(StoreTest, OneRecordCarriesTheNewestTime)
{
    store().interval = 600;
    fill(1);
    records::assignRecordTimes(123'456);
    EXPECT_EQ(times(), (std::vector<int32_t>{123'456}));
}

TEST_F(StoreTest, NoRecordsAssignsNothing)
{
    store().interval = 600;
    records::assignRecordTimes(123'456);
    EXPECT_EQ(records::recordTotal(), 0);
}

TEST_F(StoreTest, IntervalZeroGivesEveryRecordTheNewestTime)
{
    fill(3);
    records::assignRecordTimes(5000);
    EXPECT_EQ(times(), (std::vector<int32_t>{5000, 5000, 5000}));
}

TEST_F(StoreTest, InvalidNewestTimeWalksDownFromMinusOne)
{
    store().interval = 10;
    fill(3);
    records::assignRecordTimes(-1);
    EXPECT_EQ(times(), (std::vector<int32_t>{-21, -11, -1}));
}

// Times below the 32-bit range wrap as a two's-complement machine computes them.
TEST_F(StoreTest, TimesWrapBelowTheThirtyTwoBitRange)
{
    const int32_t newest = std::numeric_limits<int32_t>::min() + 5;
    store().interval = 2'000'000'000;
    fill(3);
    records::assignRecordTimes(newest);
    std::vector<int32_t> expected;
    for (uint32_t steps = 3; steps-- > 0;) {
        uint32_t wrapped = static_cast<uint32_t>(newest) - steps * 2'000'000'000u;
        expected.push_back(static_cast<int32_t>(wrapped));
    }
    EXPECT_EQ(times(), expected);
    EXPECT_EQ(times()[1], 147'483'653);  // -2147483643 - 2000000000 + 2^32
}

TEST_F(StoreTest, SpanIsTakenInThirtyTwoBits)
{
    EXPECT_EQ(records::spanOf(60, 1440), 86'400);
    EXPECT_EQ(records::spanOf(0, 99'999), 0);
    EXPECT_EQ(records::spanOf(-5, 3), -15);
    // 65536 * 65536 = 2^32 wraps to 0; 99999 * 30000 = 2999970000 to its
    // two's-complement value 2999970000 - 2^32.
    EXPECT_EQ(records::spanOf(65'536, 65'536), 0);
    EXPECT_EQ(records::spanOf(30'000, 99'999), -1'294'997'296);
    EXPECT_EQ(records::spanOf(std::numeric_limits<int32_t>::min(), -1),
              std::numeric_limits<int32_t>::min());
}

TEST_F(StoreTest, ClearRemovesOnlyTheRecords)
{
    store().interval = 300;
    store().rangeStart = 2;
    store().rangeEnd = 7;
    store().fileTitle = "garden.log";
    store().lastSavePath = "/home/user/garden.log";
    fill(5);
    records::clearRecords();
    EXPECT_EQ(records::recordTotal(), 0);
    EXPECT_EQ(store().recordCount, 0);
    EXPECT_EQ(store().interval, 300);
    EXPECT_EQ(store().rangeStart, 2);
    EXPECT_EQ(store().rangeEnd, 7);
    EXPECT_EQ(store().fileTitle, "garden.log");
    EXPECT_EQ(store().lastSavePath, "/home/user/garden.log");

    records::resetStore();
    EXPECT_EQ(store().interval, 0);
    EXPECT_EQ(store().rangeEnd, 0);
    EXPECT_EQ(store().fileTitle, "");
    EXPECT_EQ(store().lastSavePath, "");
}

TEST(TimeScale, LevelForSpanAtEachBoundary)
{
    struct Case {
        int32_t span;
        int level;
    };
    const Case cases[] = {
        {0, 1},           {49, 1},          // q = 9
        {50, 2},          {99, 2},          // q = 10, 19
        {100, 3},                           // q = 20
        {1499, 6},        {1500, 7},        // q = 299, 300
        {863'999, 15},    {864'000, 16},    // q = 172799, 172800
        {-1, 1},          {-49, 1},         {std::numeric_limits<int32_t>::min(), 1},
        {std::numeric_limits<int32_t>::max(), 16},
    };
    for (const Case& c : cases)
        EXPECT_EQ(records::levelForSpan(c.span), c.level) << "span " << c.span;
}

TEST(TimeScale, ZoomLevelForSpanGoesOnToFiftyTwoWeeks)
{
    // The same as levelForSpan up to 16, then the longer divisions.
    EXPECT_EQ(records::zoomLevelForSpan(1499), 6);
    EXPECT_EQ(records::zoomLevelForSpan(3'024'000 - 1), 16);   // q = 604799
    EXPECT_EQ(records::zoomLevelForSpan(3'024'000), 17);       // q = 604800: one week is not longer
    EXPECT_EQ(records::zoomLevelForSpan(39'312'000), 20);      // q = 13 weeks
    EXPECT_EQ(records::zoomLevelForSpan(std::numeric_limits<int32_t>::max()), 20);
    EXPECT_EQ(records::zoomLevelForSpan(-1), 1);
}

TEST(TimeScale, LevelTable)
{
    EXPECT_EQ(records::timeScaleLevel(1).span, 10);
    EXPECT_EQ(records::timeScaleLevel(1).tickStep, 10);
    EXPECT_STREQ(records::timeScaleLevel(1).unit, "s");
    EXPECT_EQ(records::timeScaleLevel(6).span, 300);
    EXPECT_EQ(records::timeScaleLevel(6).tickStep, 5);
    EXPECT_STREQ(records::timeScaleLevel(6).unit, "min");
    EXPECT_EQ(records::timeScaleLevel(16).span, 604'800);
    EXPECT_EQ(records::timeScaleLevel(16).tickStep, 1);
    EXPECT_STREQ(records::timeScaleLevel(16).unit, "week");

    // Out-of-range levels clamp to the nearest one.
    EXPECT_EQ(&records::timeScaleLevel(0), &records::timeScaleLevel(1));
    EXPECT_EQ(&records::timeScaleLevel(17), &records::timeScaleLevel(16));

    // The axis labels are offsets in the unit: tickStep must be the span in it,
    // and the levels must grow.
    const std::map<std::string, int32_t> unitSeconds = {
        {"s", 1}, {"min", 60}, {"h", 3600}, {"day", 86'400}, {"week", 604'800}};
    int32_t previousSpan = 0;
    for (int level = 1; level <= 16; ++level) {
        const records::TimeScaleLevel& row = records::timeScaleLevel(level);
        ASSERT_EQ(unitSeconds.count(row.unit), 1u) << "level " << level;
        EXPECT_EQ(row.tickStep * unitSeconds.at(row.unit), row.span) << "level " << level;
        EXPECT_GT(row.span, previousSpan) << "level " << level;
        previousSpan = row.span;
    }
}

} // namespace
