#include "analysis/profile.h"

#include "records/store.h"

#include <algorithm>
#include <cstdio>

namespace analysis {

namespace {

constexpr std::array<const char*, temperatureBands> rowLabels = {
    " 0- 5\xB0" "C", " 5-10\xB0" "C", "10-15\xB0" "C", "15-20\xB0" "C", "20-25\xB0" "C",
    "25-30\xB0" "C", "30-35\xB0" "C", "35-40\xB0" "C", "40-45\xB0" "C", "45-50\xB0" "C",
    "50-55\xB0" "C", "55-60\xB0" "C", "60-65\xB0" "C", "65-70\xB0" "C",
};

constexpr std::array<const char*, humidityBands> columnTitles = {
    "0-5%", "5-10%", "10-20%", "20-30%", "30-40%", "40-50%", "50-60%", "60-70%", "70-80%", "80-90%", "90-95%",
};

// The band of every humidity from 0 to 100.0 %RH, from the edges: a million
// records then take one look-up each.
constexpr int32_t highestTabledHumidity = 1000;
constexpr std::array<uint8_t, highestTabledHumidity + 1> humidityBandTable = [] {
    std::array<uint8_t, highestTabledHumidity + 1> table{};
    for (int32_t humidity = 0; humidity <= highestTabledHumidity; ++humidity) {
        uint8_t band = humidityBands - 1;
        for (size_t edge = 0; edge + 1 < humidityBands; ++edge)
            if (humidity <= humidityBandEdges[edge + 1]) {
                band = static_cast<uint8_t>(edge);
                break;
            }
        table[static_cast<size_t>(humidity)] = band;
    }
    return table;
}();

// humidityBand's and temperatureBand's work, where countProfile can take it in.
inline int bandOfHumidity(int32_t humidity)
{
    if (humidity >= 0 && humidity <= highestTabledHumidity)
        return humidityBandTable[static_cast<size_t>(humidity)];
    return humidity < 0 ? 0 : humidityBands - 1;
}

inline int bandOfTemperature(int32_t temperature)
{
    if (temperature <= 0 || temperature > temperatureBandWidth * temperatureBands)
        return -1;
    return (temperature - 1) / temperatureBandWidth;
}

} // namespace

int humidityBand(int32_t humidity)
{
    return bandOfHumidity(humidity);
}

int temperatureBand(int32_t temperature)
{
    return bandOfTemperature(temperature);
}

ProfileCounts countProfile(const std::vector<records::Record>& records, int32_t first, int32_t last)
{
    ProfileCounts counts{};
    const int64_t start = std::max(first, 0);
    const int64_t end = std::min(int64_t{last}, static_cast<int64_t>(records.size()) - 1);
    if (start <= end)
        addToProfile(counts, records.data() + start, static_cast<size_t>(end - start + 1));
    return counts;
}

void addToProfile(ProfileCounts& counts, const records::Record* first, size_t count)
{
    for (const records::Record* r = first; r != first + count; ++r) {
        int band = bandOfTemperature(r->temperature);
        if (band >= 0)
            ++counts[static_cast<size_t>(band)][static_cast<size_t>(bandOfHumidity(r->humidity))];
    }
}

std::array<int64_t, humidityBands> profileTotals(const ProfileCounts& counts)
{
    std::array<int64_t, humidityBands> totals{};
    for (const auto& band : counts)
        for (size_t h = 0; h < totals.size(); ++h)
            totals[h] += band[h];
    return totals;
}

const char* temperatureBandLabel(int band)
{
    return rowLabels[static_cast<size_t>(band)];
}

const char* humidityBandTitle(int band)
{
    return columnTitles[static_cast<size_t>(band)];
}

float hoursOf(int64_t count, int32_t interval)
{
    return static_cast<float>(count) * static_cast<float>(interval) / 3600.0f;
}

std::string hoursText(int64_t count, int32_t interval)
{
    if (count == 0)
        return "-";
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(hoursOf(count, interval)));
    return text;
}

} // namespace analysis
