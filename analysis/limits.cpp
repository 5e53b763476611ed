// limits.cpp: limits on the readings, excursions and mean kinetic temperature.
#include "analysis/limits.h"

#include "records/derived.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace analysis {

namespace {

// Activation energy over the gas constant, in kelvin (83.144 kJ/mol / 8.3144 J/(mol K)).
constexpr double activationOverGas = 10000.0;
constexpr double zeroCelsius = 273.15;
// Tenths of a degree Celsius at or below absolute zero hold no temperature a
// logger could read; such records are left out of the MKT.
constexpr int32_t absoluteZeroTenths = -2731;

bool isHigh(LimitKind kind)
{
    return kind == TemperatureHigh || kind == HumidityHigh;
}

// exp(-(dH/R) / T) of a temperature in tenths of a degree Celsius.
double arrheniusTerm(int32_t temperature)
{
    return std::exp(-activationOverGas / (temperature / 10.0 + zeroCelsius));
}

// `f` of every reading's tenths from Lowest to Highest, computed once: a million
// records then cost a look-up each instead of the work of `f`, for the same double.
template <int32_t Lowest, int32_t Highest, double (*f)(int32_t)>
class TenthsTable {
public:
    TenthsTable()
    {
        for (int32_t tenths = Lowest; tenths <= Highest; ++tenths)
            values[tenths - Lowest] = f(tenths);
    }

    double operator()(int32_t tenths) const
    {
        return tenths >= Lowest && tenths <= Highest ? values[tenths - Lowest] : f(tenths);
    }

private:
    double values[Highest - Lowest + 1];
};

// The terms of every temperature a logger reads, -45 to 60 degrees Celsius.
using TermTable = TenthsTable<-450, 600, arrheniusTerm>;

// A static's initialisation is safe with threads.
const TermTable& termTable()
{
    static const TermTable table;
    return table;
}

// A record's term of the MKT's mean, exp(-(dH/R) / T), or NaN for a record
// without one.
double termOf(const TermTable& table, const records::Record& record)
{
    const int32_t t = record.temperature;
    if (records::isGap(record) || t <= absoluteZeroTenths)
        return std::numeric_limits<double>::quiet_NaN();
    return table(t);
}

// The MKT of a mean of terms, in degrees Celsius; none for an underflow to 0.
std::optional<double> fromMeanTerm(double mean)
{
    if (!(mean > 0.0))
        return std::nullopt;
    return activationOverGas / -std::log(mean) - zeroCelsius;
}

// The sum and count of the terms that are not NaN.
struct TermSum {
    double sum = 0.0;
    size_t count = 0;

    void add(double term)
    {
        if (!std::isnan(term)) {
            sum += term;
            ++count;
        }
    }

    // add for a term that is sure to be one.
    void addHeld(double term)
    {
        sum += term;
        ++count;
    }

    void remove(double term)
    {
        if (!std::isnan(term)) {
            sum -= term;
            --count;
        }
    }

    // The MKT of the terms added; none without any.
    std::optional<double> kineticTemperature() const
    {
        return count ? fromMeanTerm(sum / static_cast<double>(count)) : std::nullopt;
    }
};

// A window of `length` consecutive terms sliding over all, keeping the highest
// mean of the windows that hold a reading; the MKT grows with the mean term, so
// the highest mean gives the highest MKT.
//
// A quotient grows with its dividend, so of windows that hold the same number
// of terms the one of the highest sum has the highest mean, the same double:
// the window keeps the highest sum while the number stays (it changes only
// as a record without a term comes or goes: a gap, or a reading at or below
// absolute zero) and divides once when it changes.
struct TermWindow {
    size_t length;
    TermSum terms;
    double highestMean = -1.0;
    size_t runCount = 0;   // the number of terms of the windows since it last changed
    double runHighestSum = 0.0;

    // Takes the term of record i in, `entering`, and `leaving`, that of record
    // i - length (NaN before the window is full), out.
    void slide(size_t i, double entering, double leaving)
    {
        terms.add(entering);
        terms.remove(leaving);
        if (i + 1 < length)
            return;
        // Windows without a term form runs of 0 terms, which have no mean.
        if (terms.count != runCount) {
            highestMean = highestWith(highestMean);
            runCount = terms.count;
            runHighestSum = terms.sum;
        }
        runHighestSum = std::max(runHighestSum, terms.sum);
    }

    // slide for a window that stays full with every term held: `entering`
    // and `leaving` are both terms, so the number of terms stays and so does
    // the run.
    void slideHeld(double entering, double leaving)
    {
        terms.sum = (terms.sum + entering) - leaving;
        runHighestSum = std::max(runHighestSum, terms.sum);
    }

    // The higher of `mean` and the highest mean of the windows since the
    // number of terms last changed.
    double highestWith(double mean) const
    {
        return runCount > 0 ? std::max(mean, runHighestSum / static_cast<double>(runCount)) : mean;
    }

    std::optional<double> highestKineticTemperature() const
    {
        const double highest = highestWith(highestMean);
        return highest >= 0.0 ? fromMeanTerm(highest) : std::nullopt;
    }
};

// The window of `windowSeconds` over records `interval` seconds apart:
// ceil(windowSeconds / interval) of them. Fewer records fill no window, and
// the window then has no highest MKT.
std::optional<TermWindow> windowOf(int32_t interval, int64_t windowSeconds)
{
    if (interval <= 0 || windowSeconds <= 0)
        return std::nullopt;
    const size_t length = static_cast<size_t>((windowSeconds + interval - 1) / interval);
    return TermWindow{length, {}};
}

// Builds the excursions of one limit as the records pass. Until timed, each
// excursion's start holds the index of its first record, and its end nothing.
struct RunTracker {
    LimitKind kind;
    int32_t limit;   // the limit of `kind`
    int32_t interval;
    int64_t delaySeconds;
    LimitFigures figures;
    std::optional<Excursion> run;

    void close()
    {
        if (!run)
            return;
        if (run->seconds >= delaySeconds) {
            figures.secondsBeyond += run->seconds;
            if (!figures.longest || run->seconds > figures.longest->seconds)
                figures.longest = run;
            figures.excursions.push_back(*run);
        }
        run.reset();
    }

    void add(const records::Record& record, int64_t index)
    {
        const int32_t value = limitedReading(kind, record);
        if (records::isGap(record) || !beyondLimit(kind, limit, value)) {
            close();
            return;
        }
        figures.secondsBeyondCumulative += interval;
        if (!run)
            run = Excursion{static_cast<int32_t>(index), 0, 0, value};
        run->seconds += interval;
        if (isHigh(kind) ? value > run->peak : value < run->peak)
            run->peak = value;
    }

    // The figures with every excursion timed: its first record's time, and
    // its end that time plus its duration.
    LimitFigures timed(const records::TimeOfRecord& timeOf)
    {
        close();
        const auto time = [&](Excursion& e) {
            e.start = timeOf(e.start);
            e.end = static_cast<int32_t>(e.start + e.seconds);
        };
        for (Excursion& e : figures.excursions)
            time(e);
        if (figures.longest)
            time(*figures.longest);
        return std::move(figures);
    }
};

RunTracker trackerOf(const Limits& limits, LimitKind kind, int32_t interval)
{
    return RunTracker{kind, *limits.value[kind], interval, int64_t{limits.delayMinutes} * 60, {}, std::nullopt};
}

template <typename Value>
std::optional<double> meanOf(double sum, Value count)
{
    return count > 0 ? std::optional<double>(sum / static_cast<double>(count)) : std::nullopt;
}

double unitsOf(int32_t tenths)
{
    return tenths / 10.0;
}

// Tenths as a reading in its unit for every temperature a logger reads and
// every humidity, -45.0 to 100.0: no division per record.
using UnitTable = TenthsTable<-450, 1000, unitsOf>;

const UnitTable& unitTable()
{
    static const UnitTable table;
    return table;
}

// The sums behind the means of the readings and dew points, and the coverage.
struct MeanSums {
    double temperatureSum = 0.0, humiditySum = 0.0;
    size_t readings = 0, records = 0;
    double dewPointSum = 0.0;
    size_t dewPointCount = 0;

    // The readings of one record, which counts when it is no gap.
    void take(const records::Record& record, const UnitTable& table)
    {
        if (records::isGap(record))
            return;
        ++readings;
        temperatureSum += table(record.temperature);
        humiditySum += table(record.humidity);
    }

    void fill(LimitReport& report) const
    {
        report.temperatureMean = meanOf(temperatureSum, readings);
        report.humidityMean = meanOf(humiditySum, readings);
        report.coveragePercent = meanOf(100.0 * static_cast<double>(readings), records);
        report.dewPointMean = meanOf(dewPointSum, dewPointCount);
    }
};

// A window too long for any list stands for none: it never fills.
constexpr size_t noWindow = std::numeric_limits<size_t>::max();

TermWindow windowOrNone(int32_t interval, int64_t windowSeconds)
{
    return windowOf(interval, windowSeconds).value_or(TermWindow{noWindow, {}});
}

// The sums of the MKT and of its windows over 24 hours and 30 days. The terms
// of the latest records, as many as the longer window holds, are kept in a
// ring (`terms`, `last` + 1 long, a power of two): a term leaving a window is
// the one computed as it entered. The ring is longer than either window, so
// before a window is full the term leaving it is one not yet written: NaN,
// as none.
struct KineticSums {
    TermSum whole;
    TermWindow day, month;

    // The term of record i.
    void take(double term, size_t i, double* terms, size_t last)
    {
        terms[i & last] = term;
        if (month.length == noWindow) {
            whole.add(term);
            return;
        }
        const double dayLeaving = terms[(i - day.length) & last];
        const double monthLeaving = terms[(i - month.length) & last];
        if (std::isnan(term + dayLeaving + monthLeaving)) {
            whole.add(term);
            day.slide(i, term, dayLeaving);
            month.slide(i, term, monthLeaving);
            return;
        }
        // Most records enter and leave full windows with terms held, the one
        // case in which no count changes: the short way.
        whole.addHeld(term);
        day.slideHeld(term, dayLeaving);
        month.slideHeld(term, monthLeaving);
    }

    void fill(LimitReport& report) const
    {
        report.kineticTemperature = whole.kineticTemperature();
        report.highestDayKineticTemperature = day.highestKineticTemperature();
        report.highestMonthKineticTemperature = month.highestKineticTemperature();
    }
};

} // namespace

bool anyLimit(const Limits& limits)
{
    for (const std::optional<int32_t>& value : limits.value)
        if (value)
            return true;
    return false;
}

bool isBeyond(const Limits& limits, LimitKind kind, int32_t reading)
{
    return beyondLimit(kind, *limits.value[kind], reading);
}

LimitFigures limitFigures(const std::vector<records::Record>& recs, int32_t interval, const Limits& limits,
                          LimitKind kind)
{
    RunTracker tracker = trackerOf(limits, kind, interval);
    for (size_t i = 0; i < recs.size(); ++i)
        tracker.add(recs[i], static_cast<int64_t>(i));
    return tracker.timed(records::timesOf(recs));
}

std::optional<double> kineticTemperature(const std::vector<records::Record>& recs)
{
    const TermTable& table = termTable();
    TermSum whole;
    for (const records::Record& record : recs)
        whole.add(termOf(table, record));
    return whole.kineticTemperature();
}

std::optional<double> highestKineticTemperature(const std::vector<records::Record>& recs, int32_t interval,
                                                int64_t windowSeconds)
{
    std::optional<TermWindow> window = windowOf(interval, windowSeconds);
    if (!window)
        return std::nullopt;
    const TermTable& table = termTable();
    const size_t length = window->length;
    for (size_t i = 0; i < recs.size(); ++i)
        window->slide(i, termOf(table, recs[i]),
                      i >= length ? termOf(table, recs[i - length]) : std::numeric_limits<double>::quiet_NaN());
    return window->highestKineticTemperature();
}

struct LimitScan::State {
    std::optional<RunTracker> trackers[limitKindCount];
    MeanSums means;
    KineticSums kinetic;
    std::vector<double> ring;   // the kinetic sums' terms
    int64_t count = 0;

    State(int32_t interval, const Limits& limits)
        : kinetic{{}, windowOrNone(interval, daySeconds), windowOrNone(interval, monthSeconds)},
          ring(std::bit_ceil((kinetic.month.length != noWindow ? kinetic.month.length : 0) + 1),
               std::numeric_limits<double>::quiet_NaN())
    {
        for (int kind = 0; kind < limitKindCount; ++kind)
            if (limits.value[kind])
                trackers[kind] = trackerOf(limits, static_cast<LimitKind>(kind), interval);
    }
};

LimitScan::LimitScan(int32_t interval, const Limits& limits) : state(std::make_unique<State>(interval, limits)) {}

LimitScan::~LimitScan() = default;

void LimitScan::add(const records::Record* first, size_t count)
{
    for (std::optional<RunTracker>& kept : state->trackers)
        if (kept) {
            // A local while the records pass, so that what it counts stays in registers.
            RunTracker tracker = std::move(*kept);
            for (size_t i = 0; i < count; ++i)
                tracker.add(first[i], state->count + static_cast<int64_t>(i));
            *kept = std::move(tracker);
        }
    records::addDewPoints(first, count, state->means.dewPointSum, state->means.dewPointCount);
    // The means and the MKT's sums in one loop, so that their chains of
    // additions run side by side, and in locals, which the ring's stores
    // cannot touch: they stay in registers.
    MeanSums means = state->means;
    KineticSums kinetic = state->kinetic;
    const UnitTable& units = unitTable();
    const TermTable& terms = termTable();
    double* const ring = state->ring.data();
    const size_t last = state->ring.size() - 1;
    const size_t taken = static_cast<size_t>(state->count);
    for (size_t i = 0; i < count; ++i) {
        means.take(first[i], units);
        kinetic.take(termOf(terms, first[i]), taken + i, ring, last);
    }
    means.records += count;
    state->means = means;
    state->kinetic = kinetic;
    state->count += static_cast<int64_t>(count);
}

LimitReport LimitScan::finish(const records::TimeOfRecord& timeOf)
{
    LimitReport report;
    for (int kind = 0; kind < limitKindCount; ++kind)
        if (state->trackers[kind])
            report.limit[kind] = state->trackers[kind]->timed(timeOf);
    state->means.fill(report);
    state->kinetic.fill(report);
    return report;
}

LimitReport limitReport(const std::vector<records::Record>& recs, int32_t interval, const Limits& limits)
{
    LimitScan scan(interval, limits);
    scan.add(recs.data(), recs.size());
    return scan.finish(records::timesOf(recs));
}

} // namespace analysis
