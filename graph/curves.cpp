#include "graph/curves.h"

#include "platform/images.h"
#include "records/store.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <vector>

namespace graph {

namespace {

using records::Record;

constexpr int32_t blockSize = 32;
// Stores whose values spread wider keep no bit sets: their dots are replayed.
constexpr int64_t widestBitSpan = 2048;
constexpr int32_t none = -1;
constexpr int32_t lowest = std::numeric_limits<int32_t>::min();
constexpr int32_t highest = std::numeric_limits<int32_t>::max();

enum Paint : uint8_t { Unpainted, Humidity, Temperature };

// The drawn records of a range: their first and last index and their extremes.
struct Span {
    int32_t firstDrawn = none, lastDrawn = none;
    int32_t humidityMin = highest, humidityMax = lowest;
    int32_t temperatureMin = highest, temperatureMax = lowest;
};

// The store in blocks of blockSize records, with bit sets of the values present
// (bit v - low) when both readings span at most widestBitSpan values.
struct Summary {
    const Record* data = nullptr;
    size_t count = 0;
    int32_t humidityLow = 0, temperatureLow = 0;
    int64_t humidityWords = 0, temperatureWords = 0;   // 0: no bit sets
    std::vector<Span> blocks;
    std::vector<uint64_t> humidityBits, temperatureBits;
};

Summary summary;

bool drawn(const Record& r)
{
    return r.humidity != 0 && r.temperature != 0;
}

void widen(Span& s, const Span& other)
{
    if (other.firstDrawn == none)
        return;
    if (s.firstDrawn == none)
        s.firstDrawn = other.firstDrawn;
    s.lastDrawn = other.lastDrawn;
    s.humidityMin = std::min(s.humidityMin, other.humidityMin);
    s.humidityMax = std::max(s.humidityMax, other.humidityMax);
    s.temperatureMin = std::min(s.temperatureMin, other.temperatureMin);
    s.temperatureMax = std::max(s.temperatureMax, other.temperatureMax);
}

void widen(Span& s, int32_t index, const Record& r)
{
    if (drawn(r))
        widen(s, Span{index, index, r.humidity, r.humidity, r.temperature, r.temperature});
}

int64_t wordsFor(int32_t low, int32_t high)
{
    int64_t span = int64_t{high} - low + 1;
    return span <= widestBitSpan ? (span + 63) / 64 : 0;
}

void setBit(std::vector<uint64_t>& bits, size_t block, int64_t words, int64_t offset)
{
    bits[block * static_cast<size_t>(words) + static_cast<size_t>(offset / 64)] |= uint64_t{1} << (offset % 64);
}

void buildSummary()
{
    const std::vector<Record>& recs = records::store().records;
    summary = Summary{};
    summary.data = recs.data();
    summary.count = recs.size();
    Span all;
    for (size_t i = 0; i < recs.size(); ++i)
        widen(all, static_cast<int32_t>(i), recs[i]);
    if (all.firstDrawn != none) {
        summary.humidityWords = wordsFor(all.humidityMin, all.humidityMax);
        summary.temperatureWords = wordsFor(all.temperatureMin, all.temperatureMax);
        if (summary.humidityWords == 0 || summary.temperatureWords == 0)
            summary.humidityWords = summary.temperatureWords = 0;
    }
    summary.humidityLow = all.humidityMin;
    summary.temperatureLow = all.temperatureMin;
    size_t blocks = (recs.size() + blockSize - 1) / blockSize;
    summary.blocks.assign(blocks, Span{});
    summary.humidityBits.assign(blocks * static_cast<size_t>(summary.humidityWords), 0);
    summary.temperatureBits.assign(blocks * static_cast<size_t>(summary.temperatureWords), 0);
    for (size_t i = 0; i < recs.size(); ++i) {
        const Record& r = recs[i];
        if (!drawn(r))
            continue;
        size_t block = i / blockSize;
        widen(summary.blocks[block], static_cast<int32_t>(i), r);
        if (summary.humidityWords > 0) {
            setBit(summary.humidityBits, block, summary.humidityWords, int64_t{r.humidity} - summary.humidityLow);
            setBit(summary.temperatureBits, block, summary.temperatureWords,
                   int64_t{r.temperature} - summary.temperatureLow);
        }
    }
}

// Calls onRecord(i) for the records of [begin, end) outside whole blocks and
// onBlock(b) for the whole blocks inside it, in order.
template <class OnRecord, class OnBlock>
void forRange(int64_t begin, int64_t end, OnRecord onRecord, OnBlock onBlock)
{
    int64_t i = begin;
    for (; i < end && i % blockSize != 0; ++i)
        onRecord(i);
    for (; i + blockSize <= end; i += blockSize)
        onBlock(static_cast<size_t>(i / blockSize));
    for (; i < end; ++i)
        onRecord(i);
}

// The row of each value of one reading, looked up for the values the summary
// holds and computed for any other.
struct Rows {
    bool humidity;
    int32_t low = 0;
    std::vector<int64_t> rows;
};

int64_t computeRow(const CurvePlot& p, bool humidity, int64_t value)
{
    return humidity ? humidityY(p.scales, p.height, value) : temperatureY(p.scales, p.height, value, p.celsius);
}

Rows rowsFor(const CurvePlot& p, bool humidity)
{
    Rows r;
    r.humidity = humidity;
    r.low = humidity ? summary.humidityLow : summary.temperatureLow;
    int64_t words = humidity ? summary.humidityWords : summary.temperatureWords;
    r.rows.resize(static_cast<size_t>(words * 64));
    for (size_t k = 0; k < r.rows.size(); ++k)
        r.rows[k] = computeRow(p, humidity, r.low + static_cast<int64_t>(k));
    return r;
}

int64_t rowOf(const CurvePlot& p, const Rows& r, int64_t value)
{
    int64_t k = value - r.low;
    if (k >= 0 && k < static_cast<int64_t>(r.rows.size()))
        return r.rows[static_cast<size_t>(k)];
    return computeRow(p, r.humidity, value);
}

// What one column group leaves on its rows, with the rows each colour touched,
// so that only those are walked and cleared.
struct ColumnPaint {
    std::vector<uint8_t> rows;
    int64_t low[3] = {0, 0, 0}, high[3] = {-1, -1, -1};

    void clear()
    {
        for (int paint : {Humidity, Temperature}) {
            if (low[paint] <= high[paint])
                std::fill(rows.begin() + low[paint], rows.begin() + high[paint] + 1, Unpainted);
            low[paint] = static_cast<int64_t>(rows.size());
            high[paint] = -1;
        }
    }
    // Paints `row` unless it is off the image or painted already; false when it
    // was painted in the other colour.
    bool claim(int64_t row, Paint paint)
    {
        if (row < 0 || row >= static_cast<int64_t>(rows.size()))
            return true;
        uint8_t& r = rows[static_cast<size_t>(row)];
        if (r != Unpainted)
            return r == paint;
        r = paint;
        low[paint] = std::min(low[paint], row);
        high[paint] = std::max(high[paint], row);
        return true;
    }
};

struct Context {
    const CurvePlot& plot;
    const std::vector<Record>& recs;
    Rows humidity, temperature;
    ColumnPaint paint;
};

platform::Color colorOf(const CurvePlot& p, uint8_t paint)
{
    return paint == Humidity ? p.humidityColor : p.temperatureColor;
}

// Fills each run of rows painted alike `width` pixels wide from `left`.
void emit(Context& c, int64_t left, int width)
{
    ColumnPaint& cp = c.paint;
    for (Paint paint : {Humidity, Temperature}) {
        for (int64_t y = cp.low[paint]; y <= cp.high[paint];) {
            int64_t end = y;
            while (end <= cp.high[paint] && cp.rows[static_cast<size_t>(end)] == paint)
                ++end;
            if (end > y)
                platform::fillRect(c.plot.image, static_cast<int>(left), static_cast<int>(y), width,
                                   static_cast<int>(end - y), colorOf(c.plot, paint));
            y = std::max(end, y + 1);
        }
    }
    cp.clear();
}

// ----- Dots -----

bool claimDot(Context& c, int64_t y, Paint paint)
{
    bool alone = true;
    for (int64_t row = y - 1; row <= y + 1; ++row)
        alone = c.paint.claim(row, paint) && alone;
    return alone;
}

bool claimRecordDot(Context& c, const Record& r, Paint paint)
{
    return paint == Humidity ? claimDot(c, rowOf(c.plot, c.humidity, r.humidity), Humidity)
                             : claimDot(c, rowOf(c.plot, c.temperature, r.temperature), Temperature);
}

// Paints the dots of one reading from the records of [begin, end): the values
// present in whole blocks come from their bit sets. False when a dot meets one
// of the other colour.
bool claimDots(Context& c, int64_t begin, int64_t end, Paint paint)
{
    bool humidity = paint == Humidity;
    int64_t words = humidity ? summary.humidityWords : summary.temperatureWords;
    const std::vector<uint64_t>& bits = humidity ? summary.humidityBits : summary.temperatureBits;
    const Rows& rows = humidity ? c.humidity : c.temperature;
    std::vector<uint64_t> present(static_cast<size_t>(words), 0);
    bool alone = true;
    auto onRecord = [&](int64_t i) {
        const Record& r = c.recs[static_cast<size_t>(i)];
        if (drawn(r))
            alone = claimRecordDot(c, r, paint) && alone;
    };
    auto onBlock = [&](size_t b) {
        if (words == 0) {
            for (int64_t i = static_cast<int64_t>(b) * blockSize, e = i + blockSize; i < e; ++i)
                onRecord(i);
            return;
        }
        const uint64_t* from = bits.data() + b * static_cast<size_t>(words);
        for (size_t w = 0; w < present.size(); ++w)
            present[w] |= from[w];
    };
    forRange(begin, end, onRecord, onBlock);
    for (size_t w = 0; w < present.size(); ++w)
        for (uint64_t set = present[w]; set != 0; set &= set - 1) {
            int64_t k = static_cast<int64_t>(w * 64) + std::countr_zero(set);
            alone = claimDot(c, rows.rows[static_cast<size_t>(k)], paint) && alone;
        }
    return alone;
}

// Where the colours meet, the last dot over a row decides it: walk back from the
// newest record, temperature before humidity, and let the first claim stand.
void replayDots(Context& c, int64_t begin, int64_t end)
{
    c.paint.clear();
    for (int64_t i = end - 1; i >= begin; --i) {
        const Record& r = c.recs[static_cast<size_t>(i)];
        if (drawn(r)) {
            claimRecordDot(c, r, Temperature);
            claimRecordDot(c, r, Humidity);
        }
    }
}

void drawDotColumn(Context& c, int64_t x, int64_t begin, int64_t end)
{
    bool apart = claimDots(c, begin, end, Humidity);
    apart = claimDots(c, begin, end, Temperature) && apart;
    if (!apart)
        replayDots(c, begin, end);
    emit(c, x - 1, 3);
}

// ----- Lines -----

struct Joint {
    bool valid = false;
    int64_t x = 0, yH = 0, yT = 0;
};

// Rows [low, high] of a curve's vertical segments within one column.
struct Interval {
    int64_t low = 1, high = 0;   // empty
    bool contains(int64_t row) const { return row >= low && row <= high; }
};

void line(const CurvePlot& p, int64_t x1, int64_t y1, int64_t x2, int64_t y2, platform::Color color)
{
    platform::drawLine(p.image, clampPixel(x1), clampPixel(y1), clampPixel(x2), clampPixel(y2), color);
}

// Going back in time, the segment from y0 to y1 extends the rows `mine` covers;
// the new rows that `other` has not taken yet get `paint`.
void extend(Context& c, Interval& mine, const Interval& other, int64_t y0, int64_t y1, Paint paint)
{
    Interval hull{std::min(y0, y1), std::max(y0, y1)};
    if (mine.low <= mine.high)
        hull = {std::min(hull.low, mine.low), std::max(hull.high, mine.high)};
    auto take = [&](int64_t from, int64_t to) {
        int64_t last = static_cast<int64_t>(c.paint.rows.size()) - 1;
        for (int64_t row = std::max<int64_t>(from, 0); row <= std::min(to, last); ++row)
            if (!other.contains(row))
                c.paint.claim(row, paint);
    };
    if (mine.low > mine.high) {
        take(hull.low, hull.high);
    } else {
        take(hull.low, mine.low - 1);
        take(mine.high + 1, hull.high);
    }
    mine = hull;
}

// The vertical segments of one column where the colours meet, newest first.
void replayLines(Context& c, int32_t firstDrawn, int32_t lastDrawn)
{
    Interval humidity, temperature;
    const Record& last = c.recs[static_cast<size_t>(lastDrawn)];
    int64_t laterH = rowOf(c.plot, c.humidity, last.humidity);
    int64_t laterT = rowOf(c.plot, c.temperature, last.temperature);
    for (int64_t i = lastDrawn - 1; i >= firstDrawn; --i) {
        const Record& r = c.recs[static_cast<size_t>(i)];
        if (!drawn(r))
            continue;
        int64_t yH = rowOf(c.plot, c.humidity, r.humidity);
        int64_t yT = rowOf(c.plot, c.temperature, r.temperature);
        extend(c, temperature, humidity, yT, laterT, Temperature);
        extend(c, humidity, temperature, yH, laterH, Humidity);
        laterH = yH;
        laterT = yT;
    }
}

Span spanOf(const Context& c, int64_t begin, int64_t end)
{
    Span s;
    forRange(
        begin, end, [&](int64_t i) { widen(s, static_cast<int32_t>(i), c.recs[static_cast<size_t>(i)]); },
        [&](size_t b) { widen(s, summary.blocks[b]); });
    return s;
}

void drawLineColumn(Context& c, Joint& previous, int64_t x, int64_t begin, int64_t end)
{
    const CurvePlot& p = c.plot;
    Span s = spanOf(c, begin, end);
    if (s.firstDrawn == none)
        return;
    const Record& first = c.recs[static_cast<size_t>(s.firstDrawn)];
    const Record& last = c.recs[static_cast<size_t>(s.lastDrawn)];
    if (previous.valid) {
        line(p, previous.x, previous.yH, x, rowOf(p, c.humidity, first.humidity), p.humidityColor);
        line(p, previous.x, previous.yT, x, rowOf(p, c.temperature, first.temperature), p.temperatureColor);
    }
    if (s.firstDrawn != s.lastDrawn) {
        // Rows fall as values rise: the highest value gives the top row.
        int64_t hTop = rowOf(p, c.humidity, s.humidityMax), hBottom = rowOf(p, c.humidity, s.humidityMin);
        int64_t tTop = rowOf(p, c.temperature, s.temperatureMax);
        int64_t tBottom = rowOf(p, c.temperature, s.temperatureMin);
        if (hBottom < tTop || tBottom < hTop) {
            line(p, x, hTop, x, hBottom, p.humidityColor);
            line(p, x, tTop, x, tBottom, p.temperatureColor);
        } else {
            replayLines(c, s.firstDrawn, s.lastDrawn);
            emit(c, x, 1);
        }
    }
    previous = {true, x, rowOf(p, c.humidity, last.humidity), rowOf(p, c.temperature, last.temperature)};
}

int64_t ceilDiv(int64_t a, int64_t b)
{
    return (a + b - 1) / b;
}

} // namespace

void forgetCurveSummary()
{
    summary = Summary{};
}

void drawCurves(const CurvePlot& p)
{
    const std::vector<Record>& recs = records::store().records;
    if (summary.data != recs.data() || summary.count != recs.size())
        buildSummary();
    Context c{p, recs, rowsFor(p, true), rowsFor(p, false), {}};
    c.paint.rows.assign(static_cast<size_t>(std::max<int64_t>(p.height, 0)), Unpainted);
    c.paint.clear();
    int64_t n = static_cast<int64_t>(recs.size());
    int64_t plotWidth = p.width - 50;
    Joint previous;
    // Column k holds the records whose offset d from `first` has d * plotWidth div visible = k.
    for (int64_t k = 0; k <= plotWidth; ++k) {
        int64_t begin = p.first + ceilDiv(k * p.visible, plotWidth);
        int64_t end = std::min(n, p.first + ceilDiv((k + 1) * p.visible, plotWidth));
        if (begin >= n)
            break;
        if (begin >= end)
            continue;
        if (p.dots)
            drawDotColumn(c, 25 + k, begin, end);
        else
            drawLineColumn(c, previous, 25 + k, begin, end);
    }
}

} // namespace graph
