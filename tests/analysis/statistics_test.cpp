// The statistics panel and the interval in words.
#include "support/program.h"

#include "analysis/statistics.h"
#include "app/ids.h"
#include "app/settings.h"
#include "graph/graph.h"
#include "graph/scales.h"
#include "platform/controls.h"

using namespace app;
namespace t = platform::testing;

namespace {

class StatisticsTest : public ProgramTest {};


std::vector<std::string> panel()
{
    std::vector<std::string> texts;
    for (int id : {firstRecordText, lastRecordText, recordCountText, humidityMaxText, humidityMinText,
                   temperatureMaxText, temperatureMinText})
        texts.push_back(platform::text(id));
    return texts;
}

} // namespace

TEST(DurationText, NamesTheIntervalLargestUnitFirst)
{
    const std::pair<int32_t, const char*> table[] = {
        {45, "45 seconds"},
        {60, "1 minutes"},
        {600, "10 minutes"},
        {3600, "60 minutes"},
        {3660, "1 hours, 1 minutes"},
        {86400, "24 hours"},
        {86461, "1 days, 1 minutes, 1 seconds"},
        {90000, "1 days, 60 minutes"},
        {0, ""},
        {-300, ""},
        {2147483647, "24855 days, 3 hours, 14 minutes, 7 seconds"},
    };
    for (auto [seconds, text] : table)
        EXPECT_EQ(analysis::durationText(seconds), text) << seconds;
}

TEST_F(StatisticsTest, PanelShowsTheStoreAndFollowsTheScaleOnlyOnRefresh)
{
    t::post([] {
        loadValues({{215, 453}}, 600);
        EXPECT_EQ(panel(), (std::vector<std::string>{
                               "From: 2024-03-15  12:00", "To: 2024-03-15  12:00", "1 records\n(interval 10 minutes)",
                               "Hunidity max: 45.3 RH%", "Humidity min: 45.3 RH%",
                               "Temperature max: 21.5 \xB0" "C", "Temperature min: 21.5 \xB0" "C"}));
        // A gap (both 0) is skipped; a record with one zero value counts.
        loadValues({{182, 784}, {0, 0}, {-42, 310}, {256, 0}, {179, 500}}, 0);
        EXPECT_EQ(panel(), (std::vector<std::string>{
                               "From: 2024-03-15  12:00", "To: 2024-03-15  12:00", "5 records\n(interval )",
                               "Hunidity max: 78.4 RH%", "Humidity min: 0.0 RH%",
                               "Temperature max: 25.6 \xB0" "C", "Temperature min: -4.2 \xB0" "C"}));
        app::settings().celsius = false;
        graph::drawGraph(graph::Target::Screen);   // a scale change redraws only the graph
        EXPECT_EQ(platform::text(temperatureMaxText), "Temperature max: 25.6 \xB0" "C");
        analysis::refreshStatistics();
        EXPECT_EQ(platform::text(temperatureMaxText), "Temperature max: 78.1 \xB0" "F");
        EXPECT_EQ(platform::text(temperatureMinText), "Temperature min: 24.4 \xB0" "F");
        loadValues({{0, 0}, {0, 0}}, 60);
        EXPECT_EQ(platform::text(humidityMaxText), "Hunidity max: 0.0 RH%");   // every record a gap
        t::chooseMenu(menuClose);
    });
    t::post([] {
        for (const std::string& text : panel())
            EXPECT_EQ(text, "");
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST(ValueTexts, OneDecimalWithTheUnit)
{
    app::settings().celsius = true;
    EXPECT_EQ(graph::formatHumidity(456), "45.6 RH%");
    EXPECT_EQ(graph::formatHumidity(0), "0.0 RH%");
    EXPECT_EQ(graph::formatTemperature(-42), "-4.2 \xB0" "C");
    app::settings().celsius = false;
    EXPECT_EQ(graph::formatTemperature(250), "77.0 \xB0" "F");
    EXPECT_EQ(graph::formatTemperature(-178), "0.0 \xB0" "F");   // -0.04 loses its sign
    app::settings() = app::defaultSettings();
}

// The largest readings a file can give keep every digit, and their Fahrenheit
// form, beyond 32 bits in tenths, is the true one; so is the axis' bottom.
TEST(ValueTexts, ExtremeReadingsShowTheirTrueValue)
{
    constexpr int32_t most = 2147483647, least = -2147483647 - 1;
    app::settings().celsius = true;
    EXPECT_EQ(graph::formatHumidity(most), "214748364.7 RH%");
    EXPECT_EQ(graph::formatTemperature(least), "-214748364.8 \xB0" "C");
    app::settings().celsius = false;
    EXPECT_EQ(graph::formatTemperature(most), "386547088.5 \xB0" "F");
    EXPECT_EQ(graph::formatTemperature(least), "-386547024.6 \xB0" "F");
    app::settings() = app::defaultSettings();
    const graph::Scales scales = graph::computeScales({0, 500, least, most}, false);
    EXPECT_EQ(scales.temperatureStep, 1000);
    EXPECT_EQ(scales.temperatureBottom, -3865471000);   // below -386547024.6 - 1 degree
}
