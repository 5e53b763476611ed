// graph.h: drawing the graph of the record store, and the small procedures the
// other views share with it.
//
// drawGraph draws everything from scratch into an off-screen image: graphImage
// for the screen (then shown in the graph view, with the cursor readout in the
// status bar) or printImage for the printer, which the print command creates at
// its enlarged size beforehand. Nothing is cached between draws.
#pragma once

#include "records/store.h"

#include <cstdint>
#include <string>
#include <vector>

namespace graph {

enum class Target { Screen, Print };

void drawGraph(Target target);

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

// "45.6 RH%" for 456: one decimal, a negative zero without its sign.
std::string formatHumidity(int32_t tenths);
// "-4.2 \xB0" "C" for -42, or with the Fahrenheit setting "77.0 \xB0" "F" for 250.
std::string formatTemperature(int32_t tenthsCelsius);

} // namespace graph
