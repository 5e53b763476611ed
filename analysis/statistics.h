// statistics.h: the statistics panel of the left column.
//
// refreshStatistics is the one step after every change of the record store: it
// rewrites the seven panel texts (first and last time, count and interval,
// extremes), applies the enabling rule, resets the graph's scroll bar and redraws
// the graph.
#pragma once

#include <cstdint>
#include <string>

namespace analysis {

void refreshStatistics();

// The interval in words, largest unit first, parts joined by ", ":
// 86461 gives "1 days, 1 minutes, 1 seconds"; 0 or less gives "".
std::string durationText(int32_t seconds);

} // namespace analysis
