// scales.h: the numbers of the graph, computed before anything is drawn.
//
// The graph image is W x H pixels. Its plot area runs from x = 25 to W - 25 and
// from y = 50 (top of both axes) to H - 75 (humidity 0 and the bottom of the
// temperature axis). Both axes share the grid: grid line k stands for k * 5 %RH
// and for temperatureBottom + k * temperatureStep (tenths of the shown scale).
// Divisions truncate toward zero; everything is computed in 64 bits, so no
// value a record file can hold overflows.
#pragma once

#include "graph/graph.h"

#include <cstdint>
#include <vector>

namespace graph {

struct Scales {
    int64_t humidityTop;         // tenths of %RH: a multiple of 50 from 200 to 1000
    int64_t gridSteps;           // humidityTop / 50: one grid interval is 5 %RH
    int64_t temperatureStep;     // tenths of the shown scale per grid interval
    int64_t temperatureBottom;
    int64_t temperatureTop;
};

// The axes for the store's extremes, in Celsius or Fahrenheit.
Scales computeScales(const Extremes& extremes, bool celsius);

// A pixel coordinate for the drawing operations: far-off values are pulled in
// to a range where they are clipped without overflowing.
int clampPixel(int64_t v);
// The y of grid line k.
int64_t gridY(const Scales& scales, int64_t height, int64_t k);
// The x of record `index` when `first` is on the left edge and `visible` record
// intervals span the plot width; visible must not be 0.
int64_t recordX(int64_t index, int64_t first, int64_t width, int64_t visible);
// How many record steps `pixels` pixels of the plot width span (negative to
// the left), rounded to the nearest; 0 when nothing is plotted.
int64_t recordsAtPixels(int64_t pixels, int64_t width, int64_t visible);
// The record the cursor takes at mouse x `mouseX`: of the records first .. last
// (drawn at recordX), the one nearest to mouseX, the earliest on equal distance.
int64_t nearestRecord(int64_t mouseX, int64_t first, int64_t last, int64_t width, int64_t visible);
// The y of a humidity in tenths of %RH.
int64_t humidityY(const Scales& scales, int64_t height, int64_t humidity);
// The y of a temperature in tenths of a degree Celsius, on the shown scale.
int64_t temperatureY(const Scales& scales, int64_t height, int64_t temperature, bool celsius);

// The dashes of a limit line: dashOn pixels drawn, dashOff left, from x `from`
// to `to`, both included; the last dash is cut at `to`.
constexpr int64_t dashOn = 8;
constexpr int64_t dashOff = 4;
struct DashSegment {
    int64_t from, to;
};
std::vector<DashSegment> dashSegments(int64_t from, int64_t to);

} // namespace graph
