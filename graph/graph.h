// graph.h: drawing the graph of the record store, and the small procedures the
// other views share with it.
//
// drawGraph draws everything from scratch into an off-screen image: graphImage
// for the screen (then shown in the graph view, with the cursor readout in the
// status bar) or printImage for the printer, which the print command creates at
// its enlarged size beforehand. Both go through renderGraph, which needs no
// window: it draws the picture of a given size, level and first record into any
// image, so a picture made without the program's windows has the same pixels.
// Only a summary of the store that speeds up the curves is kept between draws
// (graph/curves.h); it never changes a pixel.
#pragma once

#include "records/store.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace graph {

enum class Target { Screen, Print };

void drawGraph(Target target);

// The smallest width and height at which the graph draws more than white.
constexpr int32_t smallestDrawn = 301;

// One picture of the graph.
struct GraphPicture {
    int image;              // an existing image (images.h), normally width x height
    int32_t width, height;  // the graph's size in pixels; nothing but white at 300 or less
    int level;              // time-scale level, 1 to 20 (records/timescale.h)
    int32_t first;          // index of the record on the left edge
    int32_t mouseX;         // x of the mouse in the image for the cursor; 0: no cursor
};

// The status bar's five readout texts: date, time, humidity, temperature, and
// dew point with absolute humidity. All empty without a cursor.
using Readout = std::array<std::string, 5>;

// Draws `picture` from the store, its extremes (as of the last scanExtremes) and
// the settings' colours, temperature scale, style and limits (each set limit a
// dashed line in its curve's colour, under the curves); returns the readout of
// the record under the cursor line.
Readout renderGraph(const GraphPicture& picture);

// Fills the two 20 x 10 colour swatches with the curve colours of the settings.
void paintSwatches();

// Extremes of the whole store, in tenths, kept until the next scanExtremes.
struct Extremes {
    int32_t humidityMin, humidityMax;
    int32_t temperatureMin, temperatureMax;
};
const Extremes& extremes();

// Sets the extremes over every record that is not a gap (both values 0), seeded
// from the newest such record; all 0 when every record is a gap. Also sets the
// store's recordCount to the number of records.
void scanExtremes();

// Where the extremes of `recs` lie: for each, the index of the oldest record
// that holds it; all -1 when every record is a gap.
struct ExtremePlaces {
    int32_t humidityMin, humidityMax;
    int32_t temperatureMin, temperatureMax;
};
ExtremePlaces findExtremes(const std::vector<records::Record>& recs);

// The extremes of records given a piece at a time, oldest first: what
// findExtremes finds in the records all together.
class ExtremeScan {
public:
    // The smallest and largest value of one reading, with the index of the
    // oldest record holding each.
    struct Place {
        int32_t min, max;
        int32_t minIndex, maxIndex;
    };

    // Takes the next `count` records, the first of them at index `firstIndex`.
    void add(const records::Record* first, size_t count, int32_t firstIndex);
    // False while every record taken is a gap; the places mean nothing then.
    bool any() const { return seeded; }
    const Place& humidity() const { return humidityPlace; }
    const Place& temperature() const { return temperaturePlace; }

private:
    bool seeded = false;
    Place humidityPlace{}, temperaturePlace{};
};

// "45.6 RH%" for 456: one decimal, a negative zero without its sign.
std::string formatHumidity(int32_t tenths);
// "-4.2 \xB0" "C" for -42, or with the Fahrenheit setting "77.0 \xB0" "F" for 250.
std::string formatTemperature(int32_t tenthsCelsius);
// "Dew point 11.1 \xB0" "C   Absolute humidity 9.7 g/m\xB3" (the dew point in
// Fahrenheit with that setting); "" for a record without derived values.
std::string formatDerived(const records::Record& record);

} // namespace graph
