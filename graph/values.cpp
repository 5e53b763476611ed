// Extremes of the store, the value texts, and the colour swatches.
#include "app/ids.h"
#include "app/settings.h"
#include "graph/curves.h"
#include "graph/graph.h"
#include "platform/images.h"
#include "records/derived.h"
#include "records/store.h"

#include <cstdio>

namespace graph {

namespace {

Extremes storeExtremes;

bool isGap(const records::Record& r)
{
    return r.humidity == 0 && r.temperature == 0;
}

// One decimal; "-0.0" loses its sign.
std::string oneDecimal(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", value);
    std::string result = text;
    return result == "-0.0" ? "0.0" : result;
}

void widen(Extremes& e, const records::Record& r)
{
    e.humidityMin = std::min(e.humidityMin, r.humidity);
    e.humidityMax = std::max(e.humidityMax, r.humidity);
    e.temperatureMin = std::min(e.temperatureMin, r.temperature);
    e.temperatureMax = std::max(e.temperatureMax, r.temperature);
}

} // namespace

const Extremes& extremes()
{
    return storeExtremes;
}

void scanExtremes()
{
    int32_t n = records::recordTotal();
    int32_t newest = n - 1;
    while (newest >= 0 && isGap(records::recordAt(newest)))
        --newest;
    storeExtremes = Extremes{};
    if (newest >= 0) {
        const records::Record& seed = records::recordAt(newest);
        storeExtremes = {seed.humidity, seed.humidity, seed.temperature, seed.temperature};
        for (int32_t i = newest - 1; i >= 0; --i)
            if (!isGap(records::recordAt(i)))
                widen(storeExtremes, records::recordAt(i));
    }
    records::store().recordCount = n;
    forgetCurveSummary();
}

std::string formatHumidity(int32_t tenths)
{
    return oneDecimal(static_cast<float>(tenths) / 10.0f) + " RH%";
}

std::string formatTemperature(int32_t tenthsCelsius)
{
    if (app::settings().celsius)
        return oneDecimal(static_cast<float>(tenthsCelsius) / 10.0f) + " \xB0" "C";
    double fahrenheit = (tenthsCelsius * 1.8 + 320) / 10;
    return oneDecimal(static_cast<float>(fahrenheit)) + " \xB0" "F";
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

void paintSwatches()
{
    const app::Settings& s = app::settings();
    platform::fillRect(app::humiditySwatch, 0, 0, 20, 10, s.humidityColor & 0xFFFFFF);
    platform::fillRect(app::temperatureSwatch, 0, 0, 20, 10, s.temperatureColor & 0xFFFFFF);
}

} // namespace graph
