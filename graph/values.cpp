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

// Moves a place to `value` at `index` when it is strictly smaller or larger:
// so the oldest record of equals keeps it. Without a branch.
inline void take(ExtremeScan::Place& place, int32_t value, int32_t index)
{
    const bool smaller = value < place.min, larger = value > place.max;
    place.min = smaller ? value : place.min;
    place.minIndex = smaller ? index : place.minIndex;
    place.max = larger ? value : place.max;
    place.maxIndex = larger ? index : place.maxIndex;
}

} // namespace

void ExtremeScan::add(const records::Record* first, size_t count, int32_t firstIndex)
{
    size_t i = 0;
    if (!seeded) {
        while (i < count && records::isGap(first[i]))
            ++i;
        if (i == count)
            return;
        // Seeded with the first record that is not a gap, the scan takes the
        // others without a branch.
        const int32_t at = firstIndex + static_cast<int32_t>(i);
        humidityPlace = {first[i].humidity, first[i].humidity, at, at};
        temperaturePlace = {first[i].temperature, first[i].temperature, at, at};
        seeded = true;
        ++i;
    }
    // In locals while the records pass: stores into members could be stores
    // into the records, for all the compiler knows, and would stay stores.
    Place humidity = humidityPlace, temperature = temperaturePlace;
    for (; i < count; ++i)
        if (!records::isGap(first[i])) {
            const int32_t at = firstIndex + static_cast<int32_t>(i);
            take(humidity, first[i].humidity, at);
            take(temperature, first[i].temperature, at);
        }
    humidityPlace = humidity;
    temperaturePlace = temperature;
}

ExtremePlaces findExtremes(const std::vector<records::Record>& recs)
{
    ExtremeScan scan;
    scan.add(recs.data(), recs.size(), 0);
    if (!scan.any())
        return {-1, -1, -1, -1};
    return {scan.humidity().minIndex, scan.humidity().maxIndex, scan.temperature().minIndex,
            scan.temperature().maxIndex};
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
