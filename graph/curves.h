// curves.h: the humidity and temperature curves of the graph, drawn column by
// column at a cost that does not grow with the records a column holds.
//
// Records stand at x = (i - first) * (W - 50) div p + 25, so when p exceeds the
// plot width many share a pixel column; what they leave there is, per row, the
// colour that painted it last. drawCurves works that out per column from a
// summary of the store in blocks (the values present, their extremes, the first
// and last drawn record) and paints each row once; only a column where the two
// colours meet is replayed record by record, newest first. Dots, three pixels
// wide, are composed for the whole plot first and painted in bands of rows. The
// pixels equal those of drawing every record in order: a 3 x 3 dot of each
// colour per drawn record, or lines between consecutive drawn records, gaps
// skipped and bridged. The summary is rebuilt on the first draw after
// forgetCurveSummary or after any change of the store's records (its change count).
#pragma once

#include "graph/scales.h"
#include "platform/platform.h"

#include <cstdint>

namespace graph {

struct CurvePlot {
    int image;
    int64_t width, height;
    Scales scales;
    bool celsius;
    bool dots;                 // 3 x 3 dots; otherwise lines
    platform::Color humidityColor, temperatureColor;
    int64_t first;             // record on the left edge, 0 .. n - 1
    int64_t visible;           // record intervals across the plot width, at least 1
};

// Draws both curves of the records from `first` up to the right edge.
void drawCurves(const CurvePlot& plot);

// Drops the summary: the store has changed.
void forgetCurveSummary();

} // namespace graph
