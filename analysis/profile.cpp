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

} // namespace

ProfileCounts countProfile(const std::vector<records::Record>& records, int32_t first, int32_t last)
{
    ProfileCounts counts{};
    const int64_t end = std::min(int64_t{last}, static_cast<int64_t>(records.size()) - 1);
    for (int64_t i = std::max(first, 0); i <= end; ++i) {
        const records::Record& r = records[static_cast<size_t>(i)];
        int band = temperatureBand(r.temperature);
        if (band >= 0)
            ++counts[static_cast<size_t>(band)][static_cast<size_t>(humidityBand(r.humidity))];
    }
    return counts;
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

int humidityBand(int32_t humidity)
{
    for (size_t band = 0; band + 1 < humidityBands; ++band)
        if (humidity <= humidityBandEdges[band + 1])
            return static_cast<int>(band);
    return humidityBands - 1;
}

int temperatureBand(int32_t temperature)
{
    if (temperature <= 0 || temperature > temperatureBandWidth * temperatureBands)
        return -1;
    return (temperature - 1) / temperatureBandWidth;
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
