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

// Takes record `i` into the places. Scanning goes from newer to older and an
// older record wins a tie, so each place ends at the oldest record holding it.
void widen(ExtremePlaces& p, int32_t i, const std::vector<records::Record>& recs)
{
    const auto at = [&](int32_t index) -> const records::Record& { return recs[static_cast<size_t>(index)]; };
    const records::Record& r = at(i);
    if (r.humidity <= at(p.humidityMin).humidity)
        p.humidityMin = i;
    if (r.humidity >= at(p.humidityMax).humidity)
        p.humidityMax = i;
    if (r.temperature <= at(p.temperatureMin).temperature)
        p.temperatureMin = i;
    if (r.temperature >= at(p.temperatureMax).temperature)
        p.temperatureMax = i;
}

} // namespace

ExtremePlaces findExtremes(const std::vector<records::Record>& recs)
{
    int32_t newest = static_cast<int32_t>(recs.size()) - 1;
    while (newest >= 0 && records::isGap(recs[static_cast<size_t>(newest)]))
        --newest;
    ExtremePlaces p = {newest, newest, newest, newest};
    for (int32_t i = newest - 1; i >= 0; --i)
        if (!records::isGap(recs[static_cast<size_t>(i)]))
            widen(p, i, recs);
    return p;
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
