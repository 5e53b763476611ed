// Merging a download into an archive: every case of the grid, with the counts.
#include "records/merge.h"

#include "records/logfile.h"

#include <gtest/gtest.h>

using records::MergeFailure;
using records::Record;
using records::RecordSeries;

namespace {

constexpr int32_t noon = 1710504000;   // 2024-03-15 12:00:00

// Records with temperatures `temperatures` (0 makes a gap) and humidity 500,
// `interval` s apart, the newest at `newest`.
RecordSeries series(const std::vector<int32_t>& temperatures, int32_t interval, int32_t newest)
{
    RecordSeries s;
    s.header = {newest, interval};
    for (int32_t t : temperatures)
        s.records.push_back({0, t == 0 ? 0 : 500, t});
    records::assignTimes(s.records, newest, interval);
    return s;
}

std::vector<int32_t> temperaturesOf(const records::MergeResult& m)
{
    std::vector<int32_t> out;
    for (const Record& r : m.records)
        out.push_back(r.temperature);
    return out;
}

} // namespace

TEST(Merge, OverlapsKeepTheArchiveAndHolesBecomeGaps)
{
    // Identical overlap: two archived, two new at the newer end.
    auto m = records::mergeSeries(series({1, 2, 3, 4}, 300, noon - 600), series({3, 4, 5, 6}, 300, noon));
    EXPECT_EQ(m.failure, MergeFailure::None);
    EXPECT_EQ(temperaturesOf(m), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(records::mergeSummary(m), "2 new samples, 2 already archived, 0 differing, 0 gap lines in the file");
    EXPECT_EQ(m.records.back().time, noon);
    EXPECT_EQ(m.records.front().time, noon - 5 * 300);

    // Differing overlap: the archive wins; a gap in it takes the reading.
    m = records::mergeSeries(series({1, 0, 3}, 300, noon), series({9, 2, 8, 7}, 300, noon));
    EXPECT_EQ(temperaturesOf(m), (std::vector<int32_t>{9, 1, 8, 3}));
    EXPECT_EQ(m.newSamples, 2);
    EXPECT_EQ(m.alreadyArchived, 2);
    EXPECT_EQ(m.differing, 2);

    // A hole of three intervals between them, in either order.
    m = records::mergeSeries(series({1, 2}, 60, noon - 300), series({3, 4}, 60, noon));
    EXPECT_EQ(temperaturesOf(m), (std::vector<int32_t>{1, 2, 0, 0, 0, 3, 4}));
    EXPECT_EQ(m.gapLines, 3);
    EXPECT_EQ(m.records[3].humidity, 0);
    EXPECT_EQ(m.records[3].time, noon - 180);
    m = records::mergeSeries(series({3, 4}, 60, noon), series({1, 2}, 60, noon - 300));
    EXPECT_EQ(temperaturesOf(m), (std::vector<int32_t>{1, 2, 0, 0, 0, 3, 4}));
    EXPECT_EQ(records::mergeSummary(m), "2 new samples, 0 already archived, 0 differing, 3 gap lines in the file");

    // An archive without records takes the download as it is.
    m = records::mergeSeries(series({}, 300, -1), series({1, 2}, 300, noon));
    EXPECT_EQ(temperaturesOf(m), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(m.newSamples, 2);
}

TEST(Merge, RefusesWhatHasNoCommonGrid)
{
    auto m = records::mergeSeries(series({1}, 300, noon), series({1}, 60, noon));
    EXPECT_EQ(m.failure, MergeFailure::IntervalDiffers);
    EXPECT_TRUE(m.records.empty());
    EXPECT_EQ(records::mergeFailureText(m, "FILE.log"),
              "Can't merge: the interval is 5 min in FILE.log and 1 min in the download");
    m = records::mergeSeries(series({1}, 300, noon), series({1}, 300, noon - 60));
    EXPECT_EQ(m.failure, MergeFailure::GridDiffers);
    EXPECT_EQ(records::mergeFailureText(m, "FILE.log"),
              "Can't merge: the samples in FILE.log and in the download do not lie on the same 5 min grid");
    EXPECT_EQ(records::mergeSeries(series({1}, 300, -1), series({1}, 300, noon)).failure, MergeFailure::NoTime);
    EXPECT_EQ(records::mergeSeries(series({1}, 0, noon), series({1}, 0, noon)).failure, MergeFailure::NoInterval);
}

TEST(Merge, CountsReadingsOnlyAndTheGapLinesOfTheResult)
{
    // Slot by slot: archive 1, gap, 3, 4; download gap, gap, 7, gap, 6.
    auto m = records::mergeSeries(series({1, 0, 3, 4}, 60, noon - 60), series({0, 0, 7, 0, 6}, 60, noon));
    EXPECT_EQ(temperaturesOf(m), (std::vector<int32_t>{1, 0, 3, 4, 6}));
    EXPECT_EQ(records::mergeSummary(m), "1 new samples, 1 already archived, 1 differing, 1 gap lines in the file");

    // A downloaded 0.0 degree reading is a reading (a gap needs both values 0):
    // it counts as new and the file keeps it.
    RecordSeries download = series({5, 0}, 60, noon);
    download.records[1] = {noon, 500, 0};
    m = records::mergeSeries(series({2}, 60, noon - 60), download);
    EXPECT_EQ(m.records.back().humidity, 500);
    EXPECT_EQ(records::mergeSummary(m), "1 new samples, 1 already archived, 1 differing, 0 gap lines in the file");
    EXPECT_NE(records::formatLogFile(m.records, 60).find("\r\n+0.0,50.0\r\n"), std::string::npos);

    // Into nothing: the download's gaps are neither new nor left uncounted.
    m = records::mergeSeries(series({}, 60, -1), series({0, 2, 0, 3}, 60, noon));
    EXPECT_EQ(records::mergeSummary(m), "2 new samples, 0 already archived, 0 differing, 2 gap lines in the file");
}

TEST(Merge, RefusesAHoleLongerThanALoggerHolds)
{
    // 99,999 missing samples at 1 min are filled; one more is refused, and so is
    // an archive from 1970 against a download of today.
    auto m = records::mergeSeries(series({1}, 60, noon - 100000 * 60), series({2}, 60, noon));
    EXPECT_EQ(m.failure, MergeFailure::None);
    EXPECT_EQ(m.gapLines, 99999);
    for (int32_t oldNewest : {noon - 100001 * 60, 60 * 60}) {
        m = records::mergeSeries(series({1, 2}, 60, oldNewest), series({3}, 60, noon));
        EXPECT_EQ(m.failure, MergeFailure::HoleTooLong);
        EXPECT_TRUE(m.records.empty());
        m = records::mergeSeries(series({3}, 60, noon), series({1, 2}, 60, oldNewest));
        EXPECT_EQ(m.failure, MergeFailure::HoleTooLong);
    }
    m = records::mergeSeries(series({1, 2}, 60, noon - 100001 * 60), series({3}, 60, noon));
    EXPECT_EQ(records::mergeFailureText(m, "FILE.log"),
              "Can't merge: 100000 samples are missing between FILE.log and the download, more than a logger holds "
              "(99999)");
}
