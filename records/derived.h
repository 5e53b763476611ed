// derived.h: quantities derived from one record, for the readout, the exports
// and the command line alike.
//
// The dew point and the absolute humidity follow the Magnus formula with
// Sonntag's constants over water. A record has no derived value when it is a
// gap, when its humidity is not above 0 and at most 100 %RH, or when its
// temperature lies outside -45 to 60 degrees Celsius; `valid` is false then.
#pragma once

#include "records/store.h"

namespace records {

struct Derived {
    bool valid;
    double dewPoint;           // degrees Celsius
    double absoluteHumidity;   // grams of water per cubic metre of air
};

// Dew point and absolute humidity of a record (readings in tenths of a degree
// Celsius and tenths of %RH).
Derived derivedValues(const Record& record);

// Degrees Celsius as degrees Fahrenheit (x 1.8 + 32): the one conversion of
// every view that shows Fahrenheit.
double toFahrenheit(double celsius);
// Tenths of a degree Celsius as tenths of a degree Fahrenheit, rounded to the
// nearest (never a half); 64 bits hold it for every 32-bit reading.
int64_t fahrenheitTenths(int32_t tenthsCelsius);

} // namespace records
