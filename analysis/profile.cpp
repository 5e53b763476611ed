#include "analysis/profile.h"

#include "app/ids.h"
#include "platform/controls.h"
#include "records/store.h"

#include <array>
#include <cstdio>

namespace analysis {

namespace {

constexpr int temperatureBands = 14;
constexpr int humidityBands = 11;

// Upper edges of the humidity bands in tenths; the last band takes the rest.
constexpr std::array<int32_t, humidityBands - 1> humidityEdges = {50, 100, 200, 300, 400, 500, 600, 700, 800, 900};

constexpr std::array<const char*, temperatureBands> rowLabels = {
    " 0- 5\xB0" "C", " 5-10\xB0" "C", "10-15\xB0" "C", "15-20\xB0" "C", "20-25\xB0" "C",
    "25-30\xB0" "C", "30-35\xB0" "C", "35-40\xB0" "C", "40-45\xB0" "C", "45-50\xB0" "C",
    "50-55\xB0" "C", "55-60\xB0" "C", "60-65\xB0" "C", "65-70\xB0" "C",
};

using Counts = std::array<std::array<int64_t, humidityBands>, temperatureBands>;
Counts profileCounts;

void countRange()
{
    profileCounts = Counts{};
    const records::RecordStore& s = records::store();
    int32_t first = std::max(s.rangeStart, 0);
    int32_t last = std::min(s.rangeEnd, records::recordTotal() - 1);
    for (int32_t i = first; i <= last; ++i) {
        const records::Record& r = records::recordAt(i);
        int band = temperatureBand(r.temperature);
        if (band >= 0)
            ++profileCounts[static_cast<size_t>(band)][static_cast<size_t>(humidityBand(r.humidity))];
    }
}

// Inserts a row at the top of the list: it ends up above every earlier row.
void addRow(const std::string& label, const std::array<int64_t, humidityBands>& counts)
{
    std::string row = label;
    for (int64_t count : counts) {
        row += '\n';
        row += hoursText(count, records::store().interval);
    }
    platform::insertListRow(app::profileList, 0, row);
}

void addProfileTotal()
{
    std::array<int64_t, humidityBands> totals{};
    for (const auto& band : profileCounts)
        for (size_t h = 0; h < totals.size(); ++h)
            totals[h] += band[h];
    addRow("Tot", totals);
    platform::insertListRow(app::profileList, 0, "");
}

void addProfileRow(const std::string& label, int band)
{
    addRow(label, profileCounts[static_cast<size_t>(band)]);
}

} // namespace

void fillProfile()
{
    platform::clearList(app::profileList);
    countRange();
    addProfileTotal();
    for (int band = 0; band < temperatureBands; ++band)
        addProfileRow(rowLabels[static_cast<size_t>(band)], band);
}

int humidityBand(int32_t humidity)
{
    for (size_t band = 0; band < humidityEdges.size(); ++band)
        if (humidity <= humidityEdges[band])
            return static_cast<int>(band);
    return humidityBands - 1;
}

int temperatureBand(int32_t temperature)
{
    if (temperature <= 0 || temperature > 50 * temperatureBands)
        return -1;
    return (temperature - 1) / 50;
}

std::string hoursText(int64_t count, int32_t interval)
{
    if (count == 0)
        return "-";
    float hours = static_cast<float>(count) * static_cast<float>(interval) / 3600.0f;
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(hours));
    return text;
}

} // namespace analysis
