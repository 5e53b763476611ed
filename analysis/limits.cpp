// limits.cpp: limits on the readings, excursions and mean kinetic temperature.
#include "analysis/limits.h"

#include "records/derived.h"

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

// The terms of every temperature a logger reads, -45 to 60 degrees Celsius,
// computed once: a million records then cost no exp each.
constexpr int32_t tabledLowest = -450, tabledHighest = 600;
struct TermTable {
    double term[tabledHighest - tabledLowest + 1];
};

TermTable computeTermTable()
{
    TermTable table{};
    for (int32_t t = tabledLowest; t <= tabledHighest; ++t)
        table.term[t - tabledLowest] = arrheniusTerm(t);
    return table;
}

// A record's term of the MKT's mean, or NaN for a record without one.
double termOf(const records::Record& record)
{
    // A static's initialisation is safe with threads.
    static const TermTable table = computeTermTable();
    if (records::isGap(record) || record.temperature <= absoluteZeroTenths)
        return std::numeric_limits<double>::quiet_NaN();
    if (record.temperature >= tabledLowest && record.temperature <= tabledHighest)
        return table.term[record.temperature - tabledLowest];
    return arrheniusTerm(record.temperature);
}

// The MKT of a mean of terms, in degrees Celsius; none for an underflow to 0.
std::optional<double> fromMeanTerm(double mean)
{
    if (!(mean > 0.0))
        return std::nullopt;
    return activationOverGas / -std::log(mean) - zeroCelsius;
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
    double sum = 0.0;
    size_t count = 0;
    for (const records::Record& record : recs) {
        const double term = termOf(record);
        if (!std::isnan(term)) {
            sum += term;
            ++count;
        }
    }
    return count ? fromMeanTerm(sum / static_cast<double>(count)) : std::nullopt;
}

std::optional<double> highestKineticTemperature(const std::vector<records::Record>& recs, int32_t interval,
                                                int64_t windowSeconds)
{
    if (interval <= 0 || windowSeconds <= 0)
        return std::nullopt;
    const size_t length = static_cast<size_t>((windowSeconds + interval - 1) / interval);
    if (recs.size() < length)
        return std::nullopt;
    // A sliding sum of the terms and count of readings; the MKT grows with the
    // mean term, so the highest mean gives the highest MKT.
    double sum = 0.0, highestMean = -1.0;
    size_t count = 0;
    for (size_t i = 0; i < recs.size(); ++i) {
        const double entering = termOf(recs[i]);
        if (!std::isnan(entering)) {
            sum += entering;
            ++count;
        }
        const double leaving = i >= length ? termOf(recs[i - length]) : std::numeric_limits<double>::quiet_NaN();
        if (!std::isnan(leaving)) {
            sum -= leaving;
            --count;
        }
        if (i + 1 >= length && count > 0 && sum / static_cast<double>(count) > highestMean)
            highestMean = sum / static_cast<double>(count);
    }
    return highestMean >= 0.0 ? fromMeanTerm(highestMean) : std::nullopt;
}

LimitReport limitReport(const std::vector<records::Record>& recs, int32_t interval, const Limits& limits)
{
    LimitReport report;
    for (int kind = 0; kind < limitKindCount; ++kind)
        if (limits.value[kind])
            report.limit[kind] = limitFigures(recs, interval, limits, static_cast<LimitKind>(kind));
    double temperatureSum = 0.0, humiditySum = 0.0, dewPointSum = 0.0;
    size_t readings = 0, dewPoints = 0;
    for (const records::Record& record : recs) {
        if (records::isGap(record))
            continue;
        ++readings;
        temperatureSum += record.temperature / 10.0;
        humiditySum += record.humidity / 10.0;
        const records::Derived derived = records::derivedValues(record);
        if (derived.valid) {
            ++dewPoints;
            dewPointSum += derived.dewPoint;
        }
    }
    report.temperatureMean = meanOf(temperatureSum, readings);
    report.humidityMean = meanOf(humiditySum, readings);
    report.dewPointMean = meanOf(dewPointSum, dewPoints);
    report.kineticTemperature = kineticTemperature(recs);
    report.highestDayKineticTemperature = highestKineticTemperature(recs, interval, daySeconds);
    report.highestMonthKineticTemperature = highestKineticTemperature(recs, interval, monthSeconds);
    report.coveragePercent = meanOf(100.0 * static_cast<double>(readings), recs.size());
    return report;
}

} // namespace analysis
