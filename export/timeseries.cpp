#include "export/timeseries.h"

#include "export/columns.h"
#include "platform/clock.h"

namespace xls {

namespace {

// A record to write: its UTC second and its values.
struct Point {
    int64_t utc;
    RowValues values;
};

// The records that are written, in order, with their UTC times.
std::vector<Point> pointsOf(const std::vector<records::Record>& records, const SeriesOptions& options)
{
    std::vector<Point> points;
    points.reserve(records.size());
    for (const records::Record& record : records) {
        if (record.time < 0 || records::isGap(record))
            continue;
        const int64_t utc = options.utcOffset ? int64_t{record.time} - *options.utcOffset
                                              : platform::utcOfWallClock(record.time);
        if (!points.empty() && utc <= points.back().utc)
            continue;
        points.push_back({utc, rowValues(record, false)});
    }
    return points;
}

struct Family {
    const char* name;
    const char* help;
    Column column;
    int decimals;   // of the value in the column's tenths: 1, or 3 for a ratio of %RH tenths
};

constexpr Family families[] = {
    {"sentrel_temperature_celsius", "Temperature, in degrees Celsius.", TemperatureColumn, 1},
    {"sentrel_relative_humidity_ratio", "Relative humidity, as a ratio from 0 to 1.", HumidityColumn, 3},
    {"sentrel_dew_point_celsius", "Dew point, in degrees Celsius.", DewPointColumn, 1},
    {"sentrel_absolute_humidity_grams_per_cubic_meter", "Absolute humidity, in grams of water per cubic metre of air.",
     AbsoluteHumidityColumn, 1},
};

// Commas, equals signs and blanks of a tag value take a backslash.
std::string escapedTag(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == ',' || c == '=' || c == ' ' || c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

constexpr const char* fieldNames[valueColumnCount] = {"temperature", "humidity", "dew_point", "absolute_humidity"};

} // namespace

std::string escapedLabel(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return out;
}

std::string openMetricsText(const std::vector<records::Record>& records, const SeriesOptions& options)
{
    const std::vector<Point> points = pointsOf(records, options);
    const std::string labels = "{logger=\"" + escapedLabel(options.logger) + "\"} ";
    std::string out;
    out.reserve(points.size() * 4 * (labels.size() + 50));
    for (const Family& family : families) {
        out += std::string("# TYPE ") + family.name + " gauge\n";
        out += std::string("# HELP ") + family.name + " " + family.help + "\n";
        for (const Point& point : points) {
            const Tenths value = point.values[family.column - 1];
            if (value)
                out += family.name + labels + decimalText(*value, family.decimals) + " " + std::to_string(point.utc) + "\n";
        }
    }
    out += "# EOF\n";
    return out;
}

std::string lineProtocolText(const std::vector<records::Record>& records, const SeriesOptions& options)
{
    const std::vector<Point> points = pointsOf(records, options);
    const std::string measurement = "sentrel,logger=" + escapedTag(options.logger) + " ";
    std::string out;
    out.reserve(points.size() * (measurement.size() + 90));
    for (const Point& point : points) {
        out += measurement;
        bool first = true;
        for (int i = 0; i < valueColumnCount; ++i) {
            if (!point.values[i])
                continue;
            out += (first ? "" : ",") + std::string(fieldNames[i]) + "=" + decimalText(*point.values[i], 1);
            first = false;
        }
        out += " " + std::to_string(point.utc) + "\n";
    }
    return out;
}

} // namespace xls
