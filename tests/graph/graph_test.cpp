// The graph: scales and mapping as numbers, and pixels of real draws.
#include "support/program.h"

#include "analysis/statistics.h"
#include "app/ids.h"
#include "app/main_loop.h"
#include "app/settings.h"
#include "graph/graph.h"
#include "graph/scales.h"
#include "graph/timewindow.h"
#include "platform/controls.h"
#include "platform/images.h"
#include "platform/window.h"

using namespace app;
using graph::Extremes;
using graph::Scales;
using platform::rgb;
namespace t = platform::testing;

namespace {

constexpr platform::Color blue = rgb(0, 0, 255);
constexpr platform::Color red = rgb(255, 0, 0);
constexpr platform::Color black = rgb(0, 0, 0);
constexpr platform::Color white = rgb(255, 255, 255);
constexpr platform::Color grid = rgb(200, 200, 200);
constexpr platform::Color cursorGrey = rgb(60, 60, 60);

Scales scalesFor(int32_t hMax, int32_t tMin, int32_t tMax, bool celsius)
{
    return graph::computeScales(Extremes{0, hMax, tMin, tMax}, celsius);
}


int W()
{
    return state().graphWidth;
}

int H()
{
    return state().graphHeight;
}

int count(platform::Color color, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            n += platform::pixel(graphImage, x, y) == color;
    return n;
}

class GraphTest : public ProgramTest {
protected:
    // Runs the program with the client area at 800 x 600 and `steps` in between.
    void runWith(const std::vector<std::function<void()>>& steps)
    {
        t::post([] { t::resizeWindow(mainWindow, {800, 600}); });
        for (const auto& step : steps)
            t::post(step);
        t::post([] { t::chooseMenu(menuExit); });
        EXPECT_EQ(runProgram(), 0);
    }
};

} // namespace

TEST(GraphScales, HumidityAxisEndsOnTheFirstStepAboveTheMaximum)
{
    EXPECT_EQ(scalesFor(455, 0, 0, true).humidityTop, 500);
    EXPECT_EQ(scalesFor(455, 0, 0, true).gridSteps, 10);
    EXPECT_EQ(scalesFor(490, 0, 0, true).humidityTop, 550);
    EXPECT_EQ(scalesFor(100, 0, 0, true).humidityTop, 200);    // raised
    EXPECT_EQ(scalesFor(995, 0, 0, true).humidityTop, 1000);   // lowered
    EXPECT_EQ(scalesFor(2147483647, 0, 0, true).humidityTop, 1000);
}

TEST(GraphScales, TemperatureAxisSharesTheGrid)
{
    Scales c = scalesFor(455, 182, 256, true);
    EXPECT_EQ(c.temperatureStep, 20);
    EXPECT_EQ(c.temperatureBottom, 160);
    EXPECT_EQ(c.temperatureTop, 360);
    EXPECT_EQ(scalesFor(455, -55, 100, true).temperatureBottom, -80);
    EXPECT_EQ(scalesFor(455, -50, 100, true).temperatureBottom, -80);   // raw -60 moves a step lower
    Scales f = scalesFor(455, 200, 250, false);
    EXPECT_EQ(f.temperatureStep, 20);
    EXPECT_EQ(f.temperatureBottom, 660);
    EXPECT_EQ(f.temperatureTop, 860);
    Scales wide = scalesFor(455, -400, 3695, true);
    EXPECT_EQ(wide.temperatureStep, 500);
    Scales huge = scalesFor(455, -2147483647 - 1, 2147483647, false);   // from a hostile file
    EXPECT_EQ(huge.temperatureStep, 1000);
    EXPECT_LT(huge.temperatureBottom, huge.temperatureTop);
}

TEST(GraphScales, RecordsMapToPixels)
{
    Scales s = scalesFor(455, 182, 256, true);   // humidity 0..500, temperature 160..360
    EXPECT_EQ(graph::humidityY(s, 600, 0), 525);
    EXPECT_EQ(graph::humidityY(s, 600, 500), 50);
    EXPECT_EQ(graph::humidityY(s, 600, 250), 288);   // 475 * 250 / 500 = 237.5 truncates to 237
    EXPECT_EQ(graph::temperatureY(s, 600, 160, true), 525);
    EXPECT_EQ(graph::temperatureY(s, 600, 360, true), 50);
    EXPECT_EQ(graph::recordX(0, 0, 650, 25), 25);
    EXPECT_EQ(graph::recordX(25, 0, 650, 25), 625);   // record first + p on the right edge
    EXPECT_EQ(graph::recordX(13, 10, 650, 25), 25 + 3 * 600 / 25);
    Scales f = scalesFor(455, 200, 250, false);      // 660..860 tenths of F
    // (250 * 1.8 - 660 + 320) * 475 / 200 = 261.25: y = 525 - 261.25 rounds to 264
    EXPECT_EQ(graph::temperatureY(f, 600, 250, false), 264);
}

TEST_F(GraphTest, TimeWindowFollowsLevelAndInterval)
{
    runWith({
        [] {
            loadValues(std::vector<std::pair<int32_t, int32_t>>(100, {215, 450}), 60);
            graph::setTimeScale(6);
            EXPECT_EQ(graph::visibleRecords(), 25);
            t::ScrollInfo info = t::scrollInfo(graphScrollBar);
            EXPECT_EQ(info.maximum, 100);
            EXPECT_EQ(info.page, 25);
            platform::setScrollPosition(graphScrollBar, 1000);
            EXPECT_EQ(platform::scrollPosition(graphScrollBar), 76);
            graph::setTimeScale(16);
            EXPECT_EQ(graph::visibleRecords(), 50400);
            EXPECT_EQ(platform::scrollPosition(graphScrollBar), 0);   // pushed back by the longer page
            records::store().interval = 420;
            graph::setTimeScale(8);
            EXPECT_EQ(graph::visibleRecords(), 14);
            records::store().interval = 7200;
            graph::setTimeScale(6);
            EXPECT_EQ(graph::visibleRecords(), 0);
            // Page 1: the last position is the newest record, never one past it.
            EXPECT_EQ(t::scrollInfo(graphScrollBar).page, 1);
            platform::setScrollPosition(graphScrollBar, 1000);
            EXPECT_EQ(platform::scrollPosition(graphScrollBar), 99);
            records::store().interval = 0;
            graph::setTimeScale(6);
            EXPECT_EQ(graph::visibleRecords(), 0);
        },
    });
}

TEST_F(GraphTest, FrameGridAndDotsLandOnTheirPixels)
{
    runWith({
        [] {
            // Humidity 0..500 (10 grid intervals), temperature axis 160..360.
            loadValues({{215, 450}, {182, 300}, {0, 0}, {256, 455}, {220, 400}}, 300);
            int w = W(), h = H();
            ASSERT_GT(w, 300);
            for (int x : {25, 100, w - 26})
                for (int y : {49, 50, h - 75, h - 74})
                    EXPECT_EQ(platform::pixel(graphImage, x, y), black) << x << "," << y;
            for (int x : {24, 25, w - 25, w - 24})
                EXPECT_EQ(platform::pixel(graphImage, x, h / 2), black) << x;
            int y1 = static_cast<int>((h - 75) - (h - 125) * 1 * 50 / 500);
            EXPECT_EQ(platform::pixel(graphImage, w - 30, y1), grid);
            EXPECT_EQ(platform::pixel(graphImage, 22, y1), black);   // its tick
            // Record 1 (182, 300): a 3 x 3 dot of each colour.
            Scales s = graph::computeScales(graph::extremes(), true);
            int x = static_cast<int>(graph::recordX(1, 0, w, graph::visibleRecords()));
            int yH = static_cast<int>(graph::humidityY(s, h, 300));
            int yT = static_cast<int>(graph::temperatureY(s, h, 182, true));
            EXPECT_EQ(count(blue, x - 1, yH - 1, x + 1, yH + 1), 9);
            EXPECT_EQ(count(red, x - 1, yT - 1, x + 1, yT + 1), 9);
            EXPECT_EQ(count(blue, x - 3, yH - 3, x + 3, yH + 3), 9);
            // The gap (record 2) draws nothing.
            int xGap = static_cast<int>(graph::recordX(2, 0, w, graph::visibleRecords()));
            EXPECT_EQ(count(blue, xGap - 2, 51, xGap + 2, h - 77) + count(red, xGap - 2, 51, xGap + 2, h - 77), 0);
            // Captions and their swatches.
            EXPECT_EQ(platform::pixel(graphImage, 30, 22), blue);
            EXPECT_GT(count(black, 50, 15, 150, 28), 20);
            EXPECT_GT(count(red, w - 200, 18, w - 25, 27), 150);
        },
    });
}

TEST_F(GraphTest, LinesBridgeGapsButNeverReachBack)
{
    runWith({
        [] {
            app::settings().dotStyle = false;
            loadValues({{0, 0}, {200, 400}, {200, 400}, {0, 0}, {0, 0}, {200, 400}}, 300);
            int w = W(), h = H();
            Scales s = graph::computeScales(graph::extremes(), true);
            int y = static_cast<int>(graph::humidityY(s, h, 400));
            int x1 = static_cast<int>(graph::recordX(1, 0, w, graph::visibleRecords()));
            int x5 = static_cast<int>(graph::recordX(5, 0, w, graph::visibleRecords()));
            EXPECT_EQ(count(blue, x1, y, x5, y), x5 - x1 + 1);   // one line across the gaps
            EXPECT_EQ(count(blue, 26, y - 1, x1 - 1, y + 1), 0);  // the leading gap is not reached
        },
    });
}

TEST_F(GraphTest, CursorLineAndReadoutFollowTheNearestRecord)
{
    runWith({
        [] { loadValues({{215, 450}, {182, 300}, {0, 0}, {256, 455}, {220, 400}}, 300); },
        [] {
            int x3 = static_cast<int>(graph::recordX(3, 0, W(), graph::visibleRecords()));
            t::setMousePosition(mainWindow, 200 + x3 + 2, 100);
        },
        [] {
            int w = W(), h = H();
            Scales s = graph::computeScales(graph::extremes(), true);
            int x3 = static_cast<int>(graph::recordX(3, 0, w, graph::visibleRecords()));
            int top = static_cast<int>(std::min(graph::humidityY(s, h, 455), graph::temperatureY(s, h, 256, true)));
            EXPECT_EQ(platform::pixel(graphImage, x3, (top + h - 76) / 2), cursorGrey);
            EXPECT_EQ(platform::pixel(graphImage, x3, h - 76), cursorGrey);
            EXPECT_EQ(t::statusText(statusBar, 0), "2024-03-15");
            EXPECT_EQ(t::statusText(statusBar, 1), "11:55");
            EXPECT_EQ(t::statusText(statusBar, 2), "45.5 RH%");
            EXPECT_EQ(t::statusText(statusBar, 3), "25.6 \xB0" "C");
            EXPECT_EQ(t::statusText(statusBar, 4), "Dew point 13.0 \xB0" "C   Absolute humidity 10.8 g/m\xB3");
            // Halfway between records 3 and 4: the earlier one.
            int x4 = static_cast<int>(graph::recordX(4, 0, w, graph::visibleRecords()));
            ASSERT_EQ((x4 - x3) % 2, 0);
            t::setMousePosition(mainWindow, 200 + (x3 + x4) / 2, 100);
        },
        [] {
            EXPECT_EQ(t::statusText(statusBar, 2), "45.5 RH%");
            int x2 = static_cast<int>(graph::recordX(2, 0, W(), graph::visibleRecords()));
            t::setMousePosition(mainWindow, 200 + x2, 100);   // nearest to the gap
        },
        [] {
            EXPECT_EQ(t::statusText(statusBar, 0), "");
            EXPECT_EQ(count(cursorGrey, 26, 51, W() - 27, H() - 77), 0);
            app::settings().celsius = false;
            int x4 = static_cast<int>(graph::recordX(4, 0, W(), graph::visibleRecords()));
            t::setMousePosition(mainWindow, 200 + x4, 100);
        },
        [] {
            EXPECT_EQ(t::statusText(statusBar, 3), "71.6 \xB0" "F");
            t::setMousePosition(mainWindow, 150, 100);   // the left column
        },
        [] { EXPECT_EQ(t::statusText(statusBar, 2), ""); },
    });
}

TEST_F(GraphTest, NothingIsPlottedWhenFiveDivisionsHoldNoInterval)
{
    runWith({
        [] {
            loadValues({{215, 450}, {216, 451}, {217, 452}}, 7200);
            int w = W(), h = H();
            EXPECT_EQ(count(blue, 26, 51, w - 27, h - 77) + count(red, 26, 51, w - 27, h - 77), 0);
            EXPECT_EQ(platform::pixel(graphImage, 25, 50), black);   // the frame is there
        },
    });
}

TEST_F(GraphTest, SmallOrEmptyGraphIsPlainWhite)
{
    auto allWhite = [] {
        platform::Size size = platform::imageSize(graphImage);
        return count(white, 0, 0, size.width - 1, size.height - 1) == size.width * size.height;
    };
    t::post([] { loadValues({{215, 450}, {216, 451}}, 300); });
    t::post([] { t::resizeWindow(mainWindow, {500, 300 + 20 + platform::statusBarHeight(statusBar)}); });
    t::post([&] {
        EXPECT_EQ(W(), 300);
        EXPECT_EQ(H(), 300);
        EXPECT_TRUE(allWhite());
        t::resizeWindow(mainWindow, {800, 600});
    });
    t::post([&] {
        EXPECT_FALSE(allWhite());
        t::chooseMenu(menuClose);
    });
    t::post([&] {
        EXPECT_TRUE(allWhite());
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(GraphTest, SetLimitsAreDashedLinesInTheirCurvesColours)
{
    runWith({
        [] {
            // Temperature axis 160..360 (tenths of degrees C), humidity 0..500.
            loadValues({{215, 450}, {182, 300}, {0, 0}, {256, 455}, {220, 400}}, 300);
            const int w = W(), h = H();
            const int other = 950;   // an image of the test's own
            platform::createImage(other, w, h);
            graph::renderGraph({other, w, h, graph::timeWindow().timeScalePosition, graph::firstVisible(), 0});
            graph::drawGraph(graph::Target::Screen);
            EXPECT_EQ(differingPixels(graphImage, other), 0);   // the window's graph, no cursor

            analysis::Limits& limits = settings().limits;
            limits.value[analysis::TemperatureHigh] = 330;
            limits.value[analysis::HumidityLow] = 100;
            limits.value[analysis::HumidityHigh] = 600;   // above the axis: not drawn
            graph::drawGraph(graph::Target::Screen);
            const Scales s = graph::computeScales(graph::extremes(), true);
            const int yT = static_cast<int>(graph::temperatureY(s, h, 330, true));
            const int yH = static_cast<int>(graph::humidityY(s, h, 100));
            // Dashes of 8 pixels and gaps of 4 from x = 26, inside the frame.
            for (int x = 26; x <= w - 26; ++x) {
                const bool dash = (x - 26) % 12 < 8;
                EXPECT_EQ(platform::pixel(graphImage, x, yT) == red, dash) << x;
                EXPECT_EQ(platform::pixel(graphImage, x, yH) == blue, dash) << x;
            }
            EXPECT_EQ(platform::pixel(graphImage, 25, yT), black);
            EXPECT_EQ(platform::pixel(graphImage, w - 25, yT), black);
            // Nothing else changed: the two lines are the only difference.
            const int dashes = count(red, 26, yT, w - 26, yT) + count(blue, 26, yH, w - 26, yH);
            EXPECT_EQ(differingPixels(graphImage, other), dashes);

            // In Fahrenheit the temperature line follows its axis (23.0 degrees C
            // lies on both, between the records' values).
            settings().celsius = false;
            limits.value[analysis::TemperatureHigh] = 230;
            limits.value[analysis::HumidityLow].reset();
            graph::drawGraph(graph::Target::Screen);
            const Scales f = graph::computeScales(graph::extremes(), false);
            const int yF = static_cast<int>(graph::temperatureY(f, h, 230, false));
            EXPECT_NE(yF, static_cast<int>(graph::temperatureY(s, h, 230, true)));
            EXPECT_GE(count(red, 26, yF, w - 26, yF), 8 * ((w - 51) / 12) - 3);
            EXPECT_EQ(count(blue, 26, yH, w - 26, yH), 0);

            // With no limit set, every pixel is as before.
            settings().celsius = true;
            limits = analysis::Limits{};
            graph::drawGraph(graph::Target::Screen);
            EXPECT_EQ(differingPixels(graphImage, other), 0);
            platform::freeImage(other);
        },
    });
}
