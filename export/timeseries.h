// timeseries.h: the records as archives for time-series servers.
//
// - openMetricsText: OpenMetrics with a timestamp on every sample, ending with
//   "# EOF", for Prometheus' back-fill (`promtool tsdb create-blocks-from
//   openmetrics`). The families and names are those of `climadesk serve`:
//   sentrel_temperature_celsius, sentrel_relative_humidity_ratio (0 to 1),
//   sentrel_dew_point_celsius and sentrel_absolute_humidity_grams_per_cubic_meter,
//   each labelled logger="NAME", one family after the other.
// - lineProtocolText: InfluxDB line protocol, one line per record,
//   `sentrel,logger=NAME temperature=21.5,humidity=45.5,dew_point=9.3,
//   absolute_humidity=8.6 1710504000`: humidity in %RH, timestamps in seconds
//   (write it with precision=s).
//
// The values are the CSV's (columns.h), degrees Celsius. Gaps are left out, and
// so are the derived values a record lacks. Record times are the logger's wall
// clock; each becomes UTC by `utcOffset` (seconds east of UTC) when given, else
// through the machine's time zone (platform/clock.h says how a daylight-saving
// hour is read). A record with an invalid time, or whose UTC time is not after
// the one written before it (the hour that a change to daylight saving skips,
// when the logger's clock did not skip it), is left out: both servers need
// times that rise.
#pragma once

#include "records/store.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace xls {

struct SeriesOptions {
    std::string logger;                 // the logger label or tag, UTF-8
    std::optional<int32_t> utcOffset;   // seconds east of UTC; none: the machine's zone
};

// `text` as the value of a Prometheus label, without its quotes: backslash,
// double quote and line feed escaped.
std::string escapedLabel(const std::string& text);

std::string openMetricsText(const std::vector<records::Record>& records, const SeriesOptions& options);
std::string lineProtocolText(const std::vector<records::Record>& records, const SeriesOptions& options);

} // namespace xls
