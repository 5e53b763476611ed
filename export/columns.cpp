#include "export/columns.h"

#include "records/derived.h"

#include <cmath>

namespace xls {

namespace {

// A derived value in tenths, rounded half to even (the default rounding mode);
// derived values lie far inside 32 bits.
int64_t tenthsOf(double value)
{
    return static_cast<int64_t>(std::nearbyint(value * 10.0));
}

} // namespace

std::array<std::string, ColumnCount> columnTitles(bool fahrenheit)
{
    const std::string degrees = fahrenheit ? "\xC2\xB0" "F" : "\xC2\xB0" "C";
    return {
        "Date and time",
        "Temperature (" + degrees + ")",
        "Humidity (%RH)",
        "Dew point (" + degrees + ")",
        "Absolute humidity (g/m\xC2\xB3)",
    };
}

RowValues rowValues(const records::Record& record, bool fahrenheit)
{
    RowValues values;
    if (records::isGap(record))
        return values;
    // Stored tenths of a degree Celsius are exact: no rounding on the way.
    values[TemperatureColumn - 1] = fahrenheit ? records::fahrenheitTenths(record.temperature) : record.temperature;
    values[HumidityColumn - 1] = record.humidity;
    const records::Derived derived = records::derivedValues(record);
    if (derived.valid) {
        values[DewPointColumn - 1] = tenthsOf(fahrenheit ? records::toFahrenheit(derived.dewPoint) : derived.dewPoint);
        values[AbsoluteHumidityColumn - 1] = tenthsOf(derived.absoluteHumidity);
    }
    return values;
}

std::string decimalText(int64_t value, int decimals)
{
    uint64_t scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::string text = value < 0 ? "-" : "";
    text += std::to_string(magnitude / scale);
    if (decimals > 0) {
        const std::string fraction = std::to_string(magnitude % scale + scale);   // a leading "1", then the digits
        text += "." + fraction.substr(1);
    }
    return text;
}

} // namespace xls
