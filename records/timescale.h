// timescale.h: the sixteen time-scale levels of the graph, and the level that
// suits a span of freshly loaded records.
//
// A level fixes the length of one time-axis division; the graph shows five
// divisions. Levels run from 1 (10 s) to 16 (1 week); levels 17 to 20 (2 to 52
// weeks, up to five years across the graph) follow them for the wheel and the
// keys only, never for a load. Nothing here fails: a level outside the range
// asked for is clamped, and every span, negative ones included, has a level.
#pragma once

#include <cstdint>

namespace records {

constexpr int firstTimeScaleLevel = 1;
constexpr int lastTimeScaleLevel = 16;
// The widest level the wheel and the keys reach.
constexpr int lastZoomLevel = 20;

// One level: a division lasts `span` seconds and is labelled `tickStep` `unit`s.
struct TimeScaleLevel {
    int32_t span;
    int32_t tickStep;
    // "s", "min", "h", "day" or "week".
    const char* unit;
};

// The row of `level`; below 1 gives level 1, above 16 gives level 16.
const TimeScaleLevel& timeScaleLevel(int level);
// The row of `level` among all twenty; below 1 gives 1, above 20 gives 20.
const TimeScaleLevel& zoomScaleLevel(int level);

// The smallest level whose division is longer than span / 5 (truncated), i.e.
// whose five divisions hold the whole span; 16 when none is. Spans below 50 s,
// negative ones included, give level 1.
int levelForSpan(int32_t span);
// The same among all twenty levels, for a picture of the whole span however
// long (the report's graph); 20 when none holds it.
int zoomLevelForSpan(int32_t span);

} // namespace records
