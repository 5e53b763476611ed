// The curves drawn column by column against a plain walk over every record, as
// the graph has always drawn them: the pixels must be the same, byte for byte,
// for dense and sparse windows, both styles and scales, curves that cross, gaps
// and far-off values. And the cursor's record against a plain nearest search.
#include "support/seam.h"

#include "graph/curves.h"
#include "graph/scales.h"
#include "platform/images.h"
#include "records/store.h"

#include <algorithm>
#include <cstdlib>
#include <random>

namespace {

using platform::rgb;

constexpr int reference = 90;
constexpr int fast = 91;

// Every record in order: a dot of each colour, or lines from the last drawn one.
void walkEveryRecord(const graph::CurvePlot& p)
{
    auto px = [](int64_t v) { return static_cast<int>(std::clamp(v, -(int64_t{1} << 30), int64_t{1} << 30)); };
    bool previous = false;
    int64_t x0 = 0, h0 = 0, t0 = 0;
    int64_t n = records::recordTotal();
    for (int64_t i = p.first; i < n; ++i) {
        int64_t x = graph::recordX(i, p.first, p.width, p.visible);
        if (x > p.width - 25)
            break;
        const records::Record& r = records::recordAt(static_cast<int32_t>(i));
        if (r.humidity == 0 || r.temperature == 0)
            continue;
        int64_t yH = graph::humidityY(p.scales, p.height, r.humidity);
        int64_t yT = graph::temperatureY(p.scales, p.height, r.temperature, p.celsius);
        if (p.dots) {
            platform::fillRect(reference, px(x - 1), px(yH - 1), 3, 3, p.humidityColor);
            platform::fillRect(reference, px(x - 1), px(yT - 1), 3, 3, p.temperatureColor);
        } else if (previous) {
            platform::drawLine(reference, px(x0), px(h0), px(x), px(yH), p.humidityColor);
            platform::drawLine(reference, px(x0), px(t0), px(x), px(yT), p.temperatureColor);
        }
        previous = true;
        x0 = x;
        h0 = yH;
        t0 = yT;
    }
}

int differingPixels(int w, int h)
{
    int n = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            n += platform::pixel(reference, x, y) != platform::pixel(fast, x, y);
    return n;
}

// Draws `plot` both ways on white w x h images; the number of pixels that differ.
int drawBothWays(const graph::CurvePlot& plot, int w, int h)
{
    platform::createImage(reference, w, h);
    platform::createImage(fast, w, h);
    platform::fillRect(reference, 0, 0, w, h, rgb(255, 255, 255));
    platform::fillRect(fast, 0, 0, w, h, rgb(255, 255, 255));
    walkEveryRecord(plot);
    graph::drawCurves(plot);
    return differingPixels(w, h);
}

// A random walk of both readings, with gaps and single zero readings; `overlap`
// brings the two curves onto the same rows.
void fillWalk(std::mt19937& random, int32_t count, bool overlap, bool wild)
{
    records::clearRecords();
    int32_t humidity = 450, temperature = overlap ? 650 : 220;
    for (int32_t i = 0; i < count; ++i) {
        humidity = std::clamp<int32_t>(humidity + static_cast<int32_t>(random() % 41) - 20, 10, 990);
        temperature = std::clamp<int32_t>(temperature + static_cast<int32_t>(random() % 31) - 15, -400, 900);
        int32_t roll = static_cast<int32_t>(random() % 100);
        if (roll < 3)
            records::appendRecord(0, 0);
        else if (roll < 5)
            records::appendRecord(temperature, 0);
        else if (wild && roll < 7)
            records::appendRecord(static_cast<int32_t>(random()), static_cast<int32_t>(random()));
        else
            records::appendRecord(temperature, humidity);
    }
}

class CurvesTest : public SeamTest {};

} // namespace

TEST_F(CurvesTest, SamePixelsAsDrawingEveryRecord)
{
    std::mt19937 random(17);
    struct Case {
        int32_t count;
        int64_t visible;
        bool overlap, wild;
    };
    const Case cases[] = {
        {3000, 25, false, false},        // sparse: records far apart
        {3000, 700, true, false},        // about one record per column
        {20000, 5000, false, false},     // several per column
        {20000, 18000, true, false},     // dense, crossing curves
        {60000, 2620800, true, false},   // the widest level: the window holds them all
        {5000, 3000, false, true},       // values far beyond the axes
    };
    for (const Case& c : cases) {
        fillWalk(random, c.count, c.overlap, c.wild);
        graph::forgetCurveSummary();
        for (bool dots : {true, false})
            for (bool celsius : {true, false})
                for (int64_t first : {int64_t{0}, int64_t{c.count / 3}}) {
                    const int w = 1000, h = 600;
                    graph::Extremes e{0, 800, -100, 400};
                    graph::CurvePlot plot{fast, w, h, graph::computeScales(e, celsius), celsius, dots,
                                          rgb(0, 0, 255), rgb(255, 0, 0), first, c.visible};
                    EXPECT_EQ(drawBothWays(plot, w, h), 0) << c.count << " records, visible " << c.visible
                                                           << (dots ? " dots" : " lines") << (celsius ? " C" : " F")
                                                           << " from " << first;
                }
    }
}

TEST(CursorSearch, NearestRecordAsAPlainSearchFindsIt)
{
    std::mt19937 random(4);
    for (int round = 0; round < 3000; ++round) {
        int64_t width = 301 + random() % 1700;
        int64_t visible = 1 + random() % (round % 2 ? 40 : 200000);
        int64_t first = random() % 1000;
        int64_t last = first + random() % (visible + 30);
        int64_t mouseX = 26 + static_cast<int64_t>(random() % static_cast<uint32_t>(width - 52));
        // Only records left of the right edge are candidates.
        while (graph::recordX(last, first, width, visible) > width - 25)
            --last;
        int64_t best = first;
        for (int64_t i = first; i <= last; ++i)
            if (std::llabs(mouseX - graph::recordX(i, first, width, visible))
                < std::llabs(mouseX - graph::recordX(best, first, width, visible)))
                best = i;
        ASSERT_EQ(graph::nearestRecord(mouseX, first, last, width, visible), best)
            << "width " << width << " visible " << visible << " first " << first << " last " << last << " mouse "
            << mouseX;
    }
}

// Axes so narrow that neighbouring values lie more than three rows apart: the
// dots of a column's values no longer join into one band.
TEST_F(CurvesTest, SamePixelsWhereTheDotsOfNeighbouringValuesStandApart)
{
    std::mt19937 random(20);
    records::clearRecords();
    int32_t humidity = 150, temperature = 230;
    for (int32_t i = 0; i < 20000; ++i) {
        humidity = std::clamp<int32_t>(humidity + static_cast<int32_t>(random() % 7) - 3, 100, 190);
        temperature = std::clamp<int32_t>(temperature + static_cast<int32_t>(random() % 7) - 3, 190, 270);
        records::appendRecord(temperature, humidity);
    }
    graph::forgetCurveSummary();
    const int w = 1000, h = 1000;
    for (bool celsius : {true, false})
        for (int64_t visible : {int64_t{60000}, int64_t{200000}}) {
            graph::Extremes e{100, 180, 200, 260};
            graph::CurvePlot plot{fast, w, h, graph::computeScales(e, celsius), celsius, true,
                                  rgb(0, 0, 255), rgb(255, 0, 0), 0, visible};
            EXPECT_EQ(drawBothWays(plot, w, h), 0) << "visible " << visible << (celsius ? " C" : " F");
        }
}

// A new load of as many records, in the same memory (a cleared store keeps its
// room), is drawn from its own records, not from the summary of the old ones.
TEST_F(CurvesTest, ANewLoadOfTheSameSizeIsNeverDrawnFromTheOldSummary)
{
    std::mt19937 random(5);
    const int w = 1000, h = 600;
    graph::Extremes e{0, 800, -100, 400};
    graph::CurvePlot plot{fast, w, h, graph::computeScales(e, true), true, true, rgb(0, 0, 255), rgb(255, 0, 0), 0, 2620800};
    fillWalk(random, 60000, false, false);
    const records::Record* place = records::store().records.data();
    ASSERT_EQ(drawBothWays(plot, w, h), 0);
    records::clearRecords();
    for (int32_t i = 0; i < 60000; ++i)
        records::appendRecord(100 + i % 7, 700 - i % 5);
    ASSERT_EQ(records::store().records.data(), place);
    EXPECT_EQ(drawBothWays(plot, w, h), 0);
}
