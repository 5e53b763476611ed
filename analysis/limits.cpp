// limits.cpp: limits on the readings, excursions and mean kinetic temperature.
#include "analysis/limits.h"

#include "records/derived.h"

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

// The sum and count of the terms (or dew points) that are not NaN.
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
struct TermWindow {
    size_t length;
    TermSum terms;
    double highestMean = -1.0;

    // Takes the term of record i in, `entering`, and `leaving`, that of record
    // i - length (NaN before the window is full), out.
    void slide(size_t i, double entering, double leaving)
    {
        terms.add(entering);
        terms.remove(leaving);
        if (i + 1 >= length && terms.count > 0 && terms.sum / static_cast<double>(terms.count) > highestMean)
            highestMean = terms.sum / static_cast<double>(terms.count);
    }

    std::optional<double> highestKineticTemperature() const
    {
        return highestMean >= 0.0 ? fromMeanTerm(highestMean) : std::nullopt;
    }
};

// The window of `windowSeconds` over `records` records `interval` seconds apart:
// ceil(windowSeconds / interval) of them; none when the records are fewer.
std::optional<TermWindow> windowOf(size_t records, int32_t interval, int64_t windowSeconds)
{
    if (interval <= 0 || windowSeconds <= 0)
        return std::nullopt;
    const size_t length = static_cast<size_t>((windowSeconds + interval - 1) / interval);
    if (records < length)
        return std::nullopt;
    return TermWindow{length, {}, -1.0};
}

// Builds the excursions of one limit as the records pass.
struct RunTracker {
    const Limits& limits;
    LimitKind kind;
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

    void add(const records::Record& record)
    {
        const int32_t value = limitedReading(kind, record);
        if (records::isGap(record) || !isBeyond(limits, kind, value)) {
            close();
            return;
        }
        figures.secondsBeyondCumulative += interval;
        if (!run)
            run = Excursion{record.time, record.time, 0, value};
        run->seconds += interval;
        run->end = static_cast<int32_t>(run->start + run->seconds);
        if (isHigh(kind) ? value > run->peak : value < run->peak)
            run->peak = value;
    }
};

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

// The means of the readings and dew points, and the coverage. Each sum in a
// local of its own, so it stays in a register.
void addMeans(const std::vector<records::Record>& recs, LimitReport& report)
{
    // A static's initialisation is safe with threads.
    static const UnitTable table;
    double temperatureSum = 0.0, humiditySum = 0.0;
    size_t readings = 0;
    for (const records::Record& record : recs) {
        if (records::isGap(record))
            continue;
        ++readings;
        temperatureSum += table(record.temperature);
        humiditySum += table(record.humidity);
    }
    report.temperatureMean = meanOf(temperatureSum, readings);
    report.humidityMean = meanOf(humiditySum, readings);
    report.coveragePercent = meanOf(100.0 * static_cast<double>(readings), recs.size());
    const TermSum dewPoints = records::foldDewPoints(recs, TermSum{}, [](TermSum sum, size_t, double dewPoint) {
        sum.add(dewPoint);
        return sum;
    });
    report.dewPointMean = meanOf(dewPoints.sum, dewPoints.count);
}

// The MKT and its highest over 24 hours and 30 days, in one pass: their sums
// are independent and run side by side.
void addKineticTemperatures(const std::vector<records::Record>& recs, int32_t interval, LimitReport& report)
{
    const TermTable& table = termTable();
    TermSum whole;
    std::optional<TermWindow> day = windowOf(recs.size(), interval, daySeconds);
    std::optional<TermWindow> month = windowOf(recs.size(), interval, monthSeconds);
    // The terms of the latest records, as many as the longer window holds, in a
    // ring: a term leaving a window is the one computed as it entered.
    const size_t longest = month ? month->length : day ? day->length : 0;
    std::vector<double> ring(std::bit_ceil(longest + 1));
    const size_t last = ring.size() - 1;
    const auto leaving = [&](size_t i, const TermWindow& w) {
        return i >= w.length ? ring[(i - w.length) & last] : std::numeric_limits<double>::quiet_NaN();
    };
    for (size_t i = 0; i < recs.size(); ++i) {
        const double term = termOf(table, recs[i]);
        ring[i & last] = term;
        whole.add(term);
        if (day)
            day->slide(i, term, leaving(i, *day));
        if (month)
            month->slide(i, term, leaving(i, *month));
    }
    report.kineticTemperature = whole.kineticTemperature();
    report.highestDayKineticTemperature = day ? day->highestKineticTemperature() : std::nullopt;
    report.highestMonthKineticTemperature = month ? month->highestKineticTemperature() : std::nullopt;
}

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
    int32_t limit = *limits.value[kind];
    return isHigh(kind) ? reading > limit : reading < limit;
}

int32_t limitedReading(LimitKind kind, const records::Record& record)
{
    return kind == TemperatureHigh || kind == TemperatureLow ? record.temperature : record.humidity;
}

LimitFigures limitFigures(const std::vector<records::Record>& recs, int32_t interval, const Limits& limits,
                          LimitKind kind)
{
    RunTracker tracker{limits, kind, interval, int64_t{limits.delayMinutes} * 60, {}, std::nullopt};
    for (const records::Record& record : recs)
        tracker.add(record);
    tracker.close();
    return std::move(tracker.figures);
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
    std::optional<TermWindow> window = windowOf(recs.size(), interval, windowSeconds);
    if (!window)
        return std::nullopt;
    const TermTable& table = termTable();
    const size_t length = window->length;
    for (size_t i = 0; i < recs.size(); ++i)
        window->slide(i, termOf(table, recs[i]),
                      i >= length ? termOf(table, recs[i - length]) : std::numeric_limits<double>::quiet_NaN());
    return window->highestKineticTemperature();
}

LimitReport limitReport(const std::vector<records::Record>& recs, int32_t interval, const Limits& limits)
{
    LimitReport report;
    for (int kind = 0; kind < limitKindCount; ++kind)
        if (limits.value[kind])
            report.limit[kind] = limitFigures(recs, interval, limits, static_cast<LimitKind>(kind));
    addMeans(recs, report);
    addKineticTemperatures(recs, interval, report);
    return report;
}

} // namespace analysis
