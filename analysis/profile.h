// profile.h: the humidity profile and the record-time picker of the RH Profile
// window.
//
// The profile counts the records of the chosen range (store rangeStart to
// rangeEnd) by temperature band (5 degrees C wide, 0 to 70 degrees C) and humidity
// band ("0-5%" to "90-95%"), and shows each count as hours in the window's list.
#pragma once

#include "records/store.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace analysis {

constexpr int temperatureBands = 14;
constexpr int humidityBands = 11;
// Where the bands begin and end, in tenths: humidity band b runs above edge b
// up to edge b + 1 (the last one takes all above); temperature band t above
// t * width up to (t + 1) * width.
constexpr std::array<int32_t, humidityBands + 1> humidityBandEdges = {0, 50, 100, 200, 300, 400, 500, 600, 700, 800, 900, 950};
constexpr int32_t temperatureBandWidth = 50;

// Records per temperature band (first index) and humidity band.
using ProfileCounts = std::array<std::array<int64_t, humidityBands>, temperatureBands>;

// Counts `records` from index `first` to `last`, both included (clipped to the
// list), by band; records in no temperature band are not counted.
ProfileCounts countProfile(const std::vector<records::Record>& records, int32_t first, int32_t last);
// Adds the `count` records from `first` on to `counts`, as countProfile counts them.
void addToProfile(ProfileCounts& counts, const records::Record* first, size_t count);
// The sum of each humidity column over the temperature bands.
std::array<int64_t, humidityBands> profileTotals(const ProfileCounts& counts);

// Row label of temperature band 0 to 13: " 0- 5\xB0" "C" to "65-70\xB0" "C".
const char* temperatureBandLabel(int band);
// Column title of humidity band 0 to 10: "0-5%" to "90-95%".
const char* humidityBandTitle(int band);

// Rebuilds the list of the RH Profile window from the range of the store: the
// fourteen temperature rows from "65-70\xB0" "C" down to " 0- 5\xB0" "C", an empty
// row, and the "Tot" row.
void fillProfile();

// The humidity band of a humidity in tenths: 0 ("0-5%") to 10 ("90-95%").
int humidityBand(int32_t humidity);
// The temperature band of a temperature in tenths of degrees C: 0 to 13, or -1
// when it is 0 or below, or above 70.0 degrees C (not counted anywhere).
int temperatureBand(int32_t temperature);
// The hours `count` records of `interval` seconds stand for, in single
// precision as the window shows them; every view of the profile uses it.
float hoursOf(int64_t count, int32_t interval);
// A cell: hoursOf with two decimals, or "-" for a count of 0.
std::string hoursText(int64_t count, int32_t interval);

// Shows the "Input Time" window listing the times of records `first` to `last`
// with record `current` selected; returns the record chosen with "Ok", or
// `current` when the window is closed without it.
int32_t pickRecordTime(int32_t first, int32_t current, int32_t last);

} // namespace analysis
