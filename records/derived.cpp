#include "records/derived.h"

#include <cmath>

namespace records {

namespace {

// Sonntag's constants for the Magnus formula over water.
constexpr double magnusA = 17.62;
constexpr double magnusB = 243.12;    // degrees Celsius
constexpr double magnusE0 = 6.112;    // hPa
// Water vapour: grams per cubic metre from hPa and kelvin.
constexpr double vapourFactor = 216.7;
constexpr double zeroCelsius = 273.15;

constexpr int32_t lowestTemperature = -450;   // tenths of a degree Celsius
constexpr int32_t highestTemperature = 600;
constexpr int32_t highestHumidity = 1000;     // tenths of %RH

bool hasDerivedValues(const Record& record)
{
    // A gap has humidity 0, so it is left out too.
    return record.humidity > 0 && record.humidity <= highestHumidity
        && record.temperature >= lowestTemperature && record.temperature <= highestTemperature;
}

} // namespace

Derived derivedValues(const Record& record)
{
    if (!hasDerivedValues(record))
        return {false, 0.0, 0.0};
    double t = record.temperature / 10.0;
    double rh = record.humidity / 1000.0;
    double magnus = magnusA * t / (magnusB + t);
    double vapour = rh * magnusE0 * std::exp(magnus);
    double gamma = std::log(rh) + magnus;
    return {true, magnusB * gamma / (magnusA - gamma), vapourFactor * vapour / (t + zeroCelsius)};
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
