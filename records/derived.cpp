#include "records/derived.h"

#include <cmath>
#include <limits>

namespace records {

namespace {

// Sonntag's constants for the Magnus formula over water.
constexpr double magnusA = 17.62;
constexpr double magnusB = 243.12;    // degrees Celsius
constexpr double magnusE0 = 6.112;    // hPa
// Water vapour: grams per cubic metre from hPa and kelvin.
constexpr double vapourFactor = 216.7;
constexpr double zeroCelsius = 273.15;

constexpr int32_t lowestTemperature = lowestDerivedTemperature;
constexpr int32_t highestTemperature = highestDerivedTemperature;
constexpr int32_t highestHumidity = highestDerivedHumidity;

constexpr size_t temperatures = highestTemperature - lowestTemperature + 1;

// The terms of the formulas that depend on one reading alone, for every reading
// that has derived values. Each is computed by the same operations, in the same
// order, as it would be for a single record, so the results are the same doubles;
// a million records then cost no exp or log each.
struct Terms {
    double magnus[temperatures];         // A t / (B + t)
    double expMagnus[temperatures];      // exp of it
    double kelvin[temperatures];         // t + 273.15
    double logRh[highestHumidity + 1];   // ln(rh), rh as a fraction
    double rhE0[highestHumidity + 1];    // rh E0
};

Terms computeTerms()
{
    Terms terms{};
    for (size_t i = 0; i < temperatures; ++i) {
        const double t = (lowestTemperature + static_cast<int32_t>(i)) / 10.0;
        terms.magnus[i] = magnusA * t / (magnusB + t);
        terms.expMagnus[i] = std::exp(terms.magnus[i]);
        terms.kelvin[i] = t + zeroCelsius;
    }
    for (int32_t h = 1; h <= highestHumidity; ++h) {
        const double rh = h / 1000.0;
        terms.logRh[h] = std::log(rh);
        terms.rhE0[h] = rh * magnusE0;
    }
    return terms;
}

// Computed on first use; a static's initialisation is safe with threads.
const Terms& terms()
{
    static const Terms computed = computeTerms();
    return computed;
}

// Only for a record that has derived values.
double gammaOf(const Terms& k, const Record& record)
{
    return k.logRh[record.humidity] + k.magnus[record.temperature - lowestTemperature];
}

double dewPointOf(double gamma)
{
    return magnusB * gamma / (magnusA - gamma);
}

} // namespace

Derived derivedValues(const Record& record)
{
    if (!hasDerivedValues(record))
        return {false, 0.0, 0.0};
    const Terms& k = terms();
    const size_t t = static_cast<size_t>(record.temperature - lowestTemperature);
    const double vapour = k.rhE0[record.humidity] * k.expMagnus[t];
    return {true, dewPointOf(gammaOf(k, record)), vapourFactor * vapour / k.kelvin[t]};
}

void addDewPoints(const Record* first, size_t count, double& sum, size_t& added)
{
    // In locals, in one loop: each record's division runs beside the sum of
    // the ones before.
    const Terms& k = terms();
    double total = sum;
    size_t n = added;
    for (const Record* record = first; record != first + count; ++record)
        if (hasDerivedValues(*record)) {
            total += dewPointOf(gammaOf(k, *record));
            ++n;
        }
    sum = total;
    added = n;
}

double toFahrenheit(double celsius)
{
    return celsius * 1.8 + 32.0;
}

int64_t fahrenheitTenths(int32_t tenthsCelsius)
{
    return static_cast<int64_t>(std::nearbyint(toFahrenheit(tenthsCelsius / 10.0) * 10.0));
}

} // namespace records
