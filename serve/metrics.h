// metrics.h: the loggers' states as a Prometheus scrape (text format 0.0.4).
//
// One family per quantity, each with its HELP and TYPE lines, every series
// labelled logger="NAME" and address="IPV4". Values are in base units: degrees
// Celsius, seconds, humidity as a ratio 0 to 1. The reading families (the two
// readings, dew point, absolute humidity, the newest sample's time, the stored
// samples and the interval) have a series only for a logger whose last query
// was answered, so a logger that stops answering leaves no stale value behind;
// sentrel_up, the query counters and the limits are there for every logger.
// Times of the logger's clock become UTC through the machine's time zone.
#pragma once

#include "analysis/limits.h"
#include "serve/poller.h"

#include <string>
#include <vector>

namespace serve {

// The whole /metrics body.
std::string metricsText(const std::vector<LoggerState>& states, const analysis::Limits& limits);

} // namespace serve
