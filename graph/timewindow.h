// timewindow.h: the time window of the graph: the time-scale level in force and
// the scroll bar that chooses the first drawn record.
//
// The graph shows five time-axis divisions starting at the record chosen with the
// scroll bar; a level (1 to 20, records/timescale.h) sets the length of a division.
// Levels 17 to 20 are reached only by the wheel and the keys; the track bar then
// shows 16, as it shows 6 for the levels below 6.
#pragma once

#include <cstdint>
#include <string>

namespace graph {

struct TimeWindow {
    // Level in force, 1 to 20; 6 at start-up.
    int32_t timeScalePosition;
    // Seconds per time-axis division, the number printed per division, its unit.
    int32_t timeSpan;
    int32_t tickStep;
    std::string timeUnit;
};

TimeWindow& timeWindow();

// Start-up values: level 6, without touching the scroll bar or the graph.
void resetTimeWindow();

// Applies `level`: its division, then setupScrollBar keeping the position, then a
// redraw of the graph.
void setTimeScale(int level);

// Applies `level` (clamped to 1 .. 20) so that the record at x = anchorX of the
// graph image (pulled into the plot) stays there as far as the scroll range
// allows; the track bar shows the level, 6 below 6 and 16 above 16. Then redraws.
// Nothing happens when the level is in force already.
void zoomTo(int level, int64_t anchorX);

// Scrolls so that record `first` is on the left edge, within the scroll range;
// the scroll bar's hook redraws the graph.
void scrollTo(int64_t first);

// Fits the scroll bar to the store and the level: disabled for fewer than two
// records; otherwise range 0 to n with a page of the visible record count (1 when
// that is 0), the position kept (within the new range) or reset to 0.
void setupScrollBar(bool keepPosition);

// Index of the first drawn record: the scroll bar's position.
int32_t firstVisible();

// How many record intervals five divisions span: (timeSpan * 5) div interval,
// 0 when the interval is 0 or less.
int32_t visibleRecords();
// The same for divisions of `span` seconds.
int32_t recordsAcross(int32_t span);

} // namespace graph
