// derived.h: quantities derived from one record, for the readout, the exports
// and the command line alike.
//
// The dew point and the absolute humidity follow the Magnus formula with
// Sonntag's constants over water. A record has no derived value when it is a
// gap, when its humidity is not above 0 and at most 100 %RH, or when its
// temperature lies outside -45 to 60 degrees Celsius; `valid` is false then.
#pragma once

#include "records/store.h"

#include <cstddef>

namespace records {

struct Derived {
    bool valid;
    double dewPoint;           // degrees Celsius
    double absoluteHumidity;   // grams of water per cubic metre of air
};

// The readings that have derived values, in tenths.
constexpr int32_t lowestDerivedTemperature = -450;
constexpr int32_t highestDerivedTemperature = 600;
constexpr int32_t highestDerivedHumidity = 1000;

// True when `record` has derived values (a gap has humidity 0, so it has none).
inline bool hasDerivedValues(const Record& record)
{
    return record.humidity > 0 && record.humidity <= highestDerivedHumidity
        && record.temperature >= lowestDerivedTemperature && record.temperature <= highestDerivedTemperature;
}

// Dew point and absolute humidity of a record (readings in tenths of a degree
// Celsius and tenths of %RH). At each temperature the dew point grows strictly
// with the humidity, every value a double of its own (the tests check each pair).
Derived derivedValues(const Record& record);

// Adds the dew points of the `count` records from `first` on that have derived
// values to `sum`, oldest first, derivedValues's doubles one after the other,
// and their number to `added`.
void addDewPoints(const Record* first, size_t count, double& sum, size_t& added);

// Degrees Celsius as degrees Fahrenheit (x 1.8 + 32): the one conversion of
// every view that shows Fahrenheit.
double toFahrenheit(double celsius);
// Tenths of a degree Celsius as tenths of a degree Fahrenheit, rounded to the
// nearest (never a half); 64 bits hold it for every 32-bit reading.
int64_t fahrenheitTenths(int32_t tenthsCelsius);

} // namespace records
