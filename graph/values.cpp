// Where the extremes of records lie, and the value texts.
#include "app/settings.h"
#include "graph/graph.h"
#include "records/decimal.h"
#include "records/derived.h"
#include "records/store.h"

#include <cstdio>

namespace graph {

namespace {

// One decimal; "-0.0" loses its sign.
std::string oneDecimal(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", value);
    std::string result = text;
    return result == "-0.0" ? "0.0" : result;
}

// Tenths with one decimal, exact (no "-0.0" arises), then the unit.
std::string tenthsText(int64_t tenths, const char* unit)
{
    std::string text;
    records::appendTenths(text, tenths);
    return text + unit;
}

// The oldest record holding the smallest and the largest value of one reading,
// as the records pass oldest first: only a strictly smaller or larger value
// moves a place. Seeded with the first record, it takes the others without a
// branch.
struct Place {
    int32_t min, max;
    int32_t minIndex, maxIndex;

    void take(int32_t value, int32_t index)
    {
        const bool smaller = value < min, larger = value > max;
        min = smaller ? value : min;
        minIndex = smaller ? index : minIndex;
        max = larger ? value : max;
        maxIndex = larger ? index : maxIndex;
    }
};

} // namespace

ExtremePlaces findExtremes(const std::vector<records::Record>& recs)
{
    size_t first = 0;
    while (first < recs.size() && records::isGap(recs[first]))
        ++first;
    if (first == recs.size())
        return {-1, -1, -1, -1};
    const int32_t at = static_cast<int32_t>(first);
    Place humidity{recs[first].humidity, recs[first].humidity, at, at};
    Place temperature{recs[first].temperature, recs[first].temperature, at, at};
    for (size_t i = first + 1; i < recs.size(); ++i)
        if (!records::isGap(recs[i])) {
            humidity.take(recs[i].humidity, static_cast<int32_t>(i));
            temperature.take(recs[i].temperature, static_cast<int32_t>(i));
        }
    return {humidity.minIndex, humidity.maxIndex, temperature.minIndex, temperature.maxIndex};
}

std::string formatHumidity(int32_t tenths)
{
    return tenthsText(tenths, " RH%");
}

std::string formatTemperature(int32_t tenthsCelsius)
{
    if (app::settings().celsius)
        return tenthsText(tenthsCelsius, " \xB0" "C");
    return tenthsText(records::fahrenheitTenths(tenthsCelsius), " \xB0" "F");
}

std::string formatDerived(const records::Record& record)
{
    records::Derived d = records::derivedValues(record);
    if (!d.valid)
        return {};
    std::string dewPoint = app::settings().celsius ? oneDecimal(d.dewPoint) + " \xB0" "C"
                                                   : oneDecimal(records::toFahrenheit(d.dewPoint)) + " \xB0" "F";
    return "Dew point " + dewPoint + "   Absolute humidity " + oneDecimal(d.absoluteHumidity) + " g/m\xB3";
}

} // namespace graph
