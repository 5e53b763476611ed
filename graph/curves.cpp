#include "graph/curves.h"

#include "graph/rowset.h"
#include "platform/images.h"
#include "records/store.h"

#include <algorithm>
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
    bool built = false;
    uint64_t changes = 0;   // the store's change count it was built at
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
    summary.built = true;
    summary.changes = records::store().changes;
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
// holds and computed for any other. Consecutive values whose rows are at most
// `touching` apart, the lower value lower on the image, have dots that leave no
// row between them.
struct Rows {
    bool humidity;
    int32_t low = 0;
    std::vector<int64_t> rows;
    std::vector<int32_t> breaks;   // breaks[k]: pairs (j, j + 1), j < k, whose dots do not touch
};

constexpr int64_t touching = 3;

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
    r.breaks.resize(r.rows.size());
    for (size_t k = 0; k < r.rows.size(); ++k) {
        r.rows[k] = computeRow(p, humidity, r.low + static_cast<int64_t>(k));
        if (k > 0) {
            int64_t step = r.rows[k - 1] - r.rows[k];
            r.breaks[k] = r.breaks[k - 1] + (step < 0 || step > touching);
        }
    }
    return r;
}

int64_t rowOf(const CurvePlot& p, const Rows& r, int64_t value)
{
    int64_t k = value - r.low;
    if (k >= 0 && k < static_cast<int64_t>(r.rows.size()))
        return r.rows[static_cast<size_t>(k)];
    return computeRow(p, r.humidity, value);
}

// Where the colours meet, rows are claimed one by one: a row keeps the colour
// that claimed it first. Holds the rows each colour touched, so that only those
// are walked and cleared.
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
    // Paints `row` unless it is off the image or painted already.
    void claim(int64_t row, Paint paint)
    {
        if (row < 0 || row >= static_cast<int64_t>(rows.size()))
            return;
        uint8_t& r = rows[static_cast<size_t>(row)];
        if (r != Unpainted)
            return;
        r = paint;
        low[paint] = std::min(low[paint], row);
        high[paint] = std::max(high[paint], row);
    }
};

// The rows of both colours in one pixel column.
struct ColumnRows {
    RowSet humidity, temperature;

    void reset(int64_t rows)
    {
        humidity.reset(rows);
        temperature.reset(rows);
    }
    void clear()
    {
        humidity.clear();
        temperature.clear();
    }
};

// The dots of every column, composed before they are painted: dots of
// neighbouring columns overlap, the later on top. Per colour, the row sets of
// the pixel columns from `left`, word w of column i at w * columns + i, so that
// the image is painted in bands of 64 rows.
struct DotMask {
    int64_t left = 0, columns = 0, words = 0;
    std::vector<uint64_t> humidity, temperature;

    void reset(int64_t x, int64_t count, int64_t rowWords)
    {
        left = x;
        columns = count;
        words = rowWords;
        humidity.assign(static_cast<size_t>(columns * words), 0);
        temperature.assign(static_cast<size_t>(columns * words), 0);
    }
    // Paints `rows` over pixel column x.
    void paintOver(int64_t x, const ColumnRows& rows)
    {
        for (int64_t w = 0; w < words; ++w) {
            size_t i = static_cast<size_t>(w * columns + x - left);
            uint64_t h = rows.humidity.bits[static_cast<size_t>(w)];
            uint64_t t = rows.temperature.bits[static_cast<size_t>(w)];
            if ((h | t) == 0)
                continue;   // nothing painted: leave the mask's words untouched
            humidity[i] = (humidity[i] & ~t) | h;
            temperature[i] = (temperature[i] & ~h) | t;
        }
    }
};

struct Context {
    const CurvePlot& plot;
    const std::vector<Record>& recs;
    Rows humidity, temperature;
    ColumnRows column;                    // what the column at hand paints
    ColumnPaint paint;
    // The values seen in a column, as in the summary's bit sets.
    std::vector<uint64_t> humidityPresent, temperaturePresent;
    DotMask dots;
};

// The rows claimed one by one become the column's row sets.
void keepClaims(Context& c)
{
    ColumnPaint& cp = c.paint;
    c.column.clear();
    for (Paint paint : {Humidity, Temperature}) {
        RowSet& set = paint == Humidity ? c.column.humidity : c.column.temperature;
        for (int64_t row = cp.low[paint]; row <= cp.high[paint]; ++row)
            if (cp.rows[static_cast<size_t>(row)] == paint)
                set.add(row);
    }
    cp.clear();
}

// Paints the rows of both colours in pixel column x, then clears them.
void emit(Context& c, ColumnRows& rows, int64_t x)
{
    const CurvePlot& p = c.plot;
    int words = static_cast<int>(rows.humidity.bits.size());
    platform::fillMask(p.image, clampPixel(x), -1, rows.humidity.bits.data(), 1, words, p.humidityColor);
    platform::fillMask(p.image, clampPixel(x), -1, rows.temperature.bits.data(), 1, words, p.temperatureColor);
    rows.clear();
}

// ----- Dots -----

void claimDot(Context& c, int64_t y, Paint paint)
{
    for (int64_t row = y - 1; row <= y + 1; ++row)
        c.paint.claim(row, paint);
}

void claimRecordDot(Context& c, const Record& r, Paint paint)
{
    if (paint == Humidity)
        claimDot(c, rowOf(c.plot, c.humidity, r.humidity), Humidity);
    else
        claimDot(c, rowOf(c.plot, c.temperature, r.temperature), Temperature);
}

// Adds the centres of the dots of the values in `present`: a run of values
// whose dots touch covers every row from its top centre to its bottom one.
void addPresentCentres(const std::vector<uint64_t>& present, int64_t words, const Rows& rows, RowSet& centres)
{
    forRuns(present, static_cast<size_t>(words), [&](int64_t a, int64_t b) {
        if (rows.breaks[static_cast<size_t>(a)] == rows.breaks[static_cast<size_t>(b)]) {
            centres.addRange(rows.rows[static_cast<size_t>(b)], rows.rows[static_cast<size_t>(a)]);
            return;
        }
        for (int64_t k = a; k <= b; ++k)
            centres.add(rows.rows[static_cast<size_t>(k)]);
    });
}

// Adds the centre rows of the dots of the records of [begin, end): the values
// present in whole blocks come from their bit sets.
void addDotCentres(Context& c, int64_t begin, int64_t end)
{
    int64_t hWords = summary.humidityWords, tWords = summary.temperatureWords;   // both 0 or neither
    std::fill(c.humidityPresent.begin(), c.humidityPresent.end(), 0);
    std::fill(c.temperaturePresent.begin(), c.temperaturePresent.end(), 0);
    auto onRecord = [&](int64_t i) {
        const Record& r = c.recs[static_cast<size_t>(i)];
        if (drawn(r)) {
            c.column.humidity.add(rowOf(c.plot, c.humidity, r.humidity));
            c.column.temperature.add(rowOf(c.plot, c.temperature, r.temperature));
        }
    };
    auto onBlock = [&](size_t b) {
        if (hWords == 0) {
            for (int64_t i = static_cast<int64_t>(b) * blockSize, e = i + blockSize; i < e; ++i)
                onRecord(i);
            return;
        }
        const uint64_t* h = summary.humidityBits.data() + b * static_cast<size_t>(hWords);
        const uint64_t* t = summary.temperatureBits.data() + b * static_cast<size_t>(tWords);
        for (size_t w = 0; w < static_cast<size_t>(hWords); ++w)
            c.humidityPresent[w] |= h[w];
        for (size_t w = 0; w < static_cast<size_t>(tWords); ++w)
            c.temperaturePresent[w] |= t[w];
    };
    forRange(begin, end, onRecord, onBlock);
    addPresentCentres(c.humidityPresent, hWords, c.humidity, c.column.humidity);
    addPresentCentres(c.temperaturePresent, tWords, c.temperature, c.column.temperature);
}

// Where the colours meet, the last dot over a row decides it: walk back from the
// newest record, temperature before humidity, and let the first claim stand.
void replayDots(Context& c, int64_t begin, int64_t end)
{
    for (int64_t i = end - 1; i >= begin; --i) {
        const Record& r = c.recs[static_cast<size_t>(i)];
        if (drawn(r)) {
            claimRecordDot(c, r, Temperature);
            claimRecordDot(c, r, Humidity);
        }
    }
    keepClaims(c);
}

void paintDots(Context& c)
{
    const CurvePlot& p = c.plot;
    const DotMask& m = c.dots;
    int x = clampPixel(m.left), columns = static_cast<int>(m.columns), words = static_cast<int>(m.words);
    platform::fillMask(p.image, x, -1, m.humidity.data(), columns, words, p.humidityColor);
    platform::fillMask(p.image, x, -1, m.temperature.data(), columns, words, p.temperatureColor);
}

void drawDotColumn(Context& c, int64_t x, int64_t begin, int64_t end)
{
    ColumnRows& column = c.column;
    addDotCentres(c, begin, end);
    column.humidity.widen();
    column.temperature.widen();
    if (column.humidity.meets(column.temperature))
        replayDots(c, begin, end);
    for (int64_t dx = -1; dx <= 1; ++dx)
        c.dots.paintOver(x + dx, column);
    column.clear();
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
            keepClaims(c);
            emit(c, c.column, x);
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
    if (!summary.built || summary.changes != records::store().changes)
        buildSummary();
    Context c{p, recs, rowsFor(p, true), rowsFor(p, false), {}, {}, {}, {}, {}};
    int64_t rows = std::max<int64_t>(p.height, 0);
    c.column.reset(rows);
    int64_t plotWidth = p.width - 50;
    if (p.dots)   // from the left edge of column 0's dots to the right edge of the last's
        c.dots.reset(24, std::max<int64_t>(plotWidth + 3, 0), static_cast<int64_t>(c.column.humidity.bits.size()));
    c.paint.rows.assign(static_cast<size_t>(rows), Unpainted);
    c.paint.clear();
    c.humidityPresent.resize(static_cast<size_t>(summary.humidityWords));
    c.temperaturePresent.resize(static_cast<size_t>(summary.temperatureWords));
    int64_t n = static_cast<int64_t>(recs.size());
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
    if (p.dots)
        paintDots(c);
}

} // namespace graph
