// columns.h: the five columns of the .xlsx and CSV exports.
//
// Every row holds a record's time, its two readings and the two values derived
// from them (records/derived.h): temperature, relative humidity, dew point and
// absolute humidity. Each value is rounded to tenths of its unit, half to even;
// temperatures and dew points are in degrees Celsius or, on request, Fahrenheit.
// A gap has no values at all, and a record without derived values (see
// derived.h) has no dew point and no absolute humidity: such a value is empty.
//
// The titles are UTF-8, as the files are: they are file content, not texts for
// the platform layer.
#pragma once

#include "records/store.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace xls {

enum Column {
    TimeColumn,
    TemperatureColumn,
    HumidityColumn,
    DewPointColumn,
    AbsoluteHumidityColumn,
    ColumnCount,
};

// The value columns, in order, follow the time column.
constexpr int valueColumnCount = ColumnCount - 1;

// A value in tenths of its column's unit (215 is 21.5), or nothing: an empty
// cell. 64 bits hold the Fahrenheit form of every reading.
using Tenths = std::optional<int64_t>;
// A record's values, indexed by column - 1.
using RowValues = std::array<Tenths, valueColumnCount>;

// The header row: "Date and time", "Temperature (°C)" ... "Absolute humidity (g/m³)".
std::array<std::string, ColumnCount> columnTitles(bool fahrenheit);

// The values one record shows.
RowValues rowValues(const records::Record& record, bool fahrenheit);

// `value` / 10^decimals as exact decimal text, "." for the decimal point:
// decimalText(-42, 1) is "-4.2", decimalText(455, 3) is "0.455".
std::string decimalText(int64_t value, int decimals);

} // namespace xls
