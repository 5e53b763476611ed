// bench_graph: one redraw of a 1920 x 1080 graph with a million records loaded.
//
// The main window's client area is sized so that the layout makes the graph
// 1920 x 1080, the store holds 1,000,000 records one minute apart, the graph is
// scrolled to the middle of the store and the mouse rests over the middle of the
// graph, so every redraw also finds the cursor record and writes the readout.
// Each case times drawGraph for the screen, which ends by putting the image on
// the graph view and the readout in the status bar. Levels 20 (52 weeks per
// division: 2,620,800 record intervals across the graph, so the window holds
// every record from the start of the store, as the scroll position is pushed
// back to 0), 16 (a week per division: 50,400 records) and 6 (five minutes per
// division: 25 records), dots and lines. Level 20 runs last, since it moves the
// scroll position.
#include "bench/support.h"

#include "app/ids.h"
#include "app/settings.h"
#include "app/state.h"
#include "graph/graph.h"
#include "graph/timewindow.h"
#include "platform/controls.h"
#include "platform/images.h"
#include "platform/testing.h"
#include "platform/window.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

namespace t = platform::testing;

constexpr int32_t recordCount = 1'000'000;
constexpr int32_t interval = 60;
constexpr int graphWidth = 1920;
constexpr int graphHeight = 1080;
// The graph area starts right of the 200-pixel left column, above the 20-pixel
// scroll bar and the status bar.
constexpr int leftColumn = 200;
constexpr int scrollBarHeight = 20;

bool ready = false;

void loadAndResize()
{
    bench::loadStore(bench::plausibleRecords(recordCount, interval), interval);
    int statusHeight = platform::statusBarHeight(app::statusBar);
    t::resizeWindow(app::mainWindow, {leftColumn + graphWidth, graphHeight + scrollBarHeight + statusHeight});
}

// Runs after a pass of the main loop has laid the window out again.
void scrollAndPoint()
{
    platform::Size image = platform::imageSize(app::graphImage);
    ready = app::state().graphWidth == graphWidth && app::state().graphHeight == graphHeight
        && image.width == graphWidth && image.height == graphHeight;
    if (!ready)
        std::fprintf(stderr, "layout gave a %d x %d graph\n", app::state().graphWidth, app::state().graphHeight);
    platform::setScrollPosition(app::graphScrollBar, recordCount / 2);
    t::setMousePosition(app::mainWindow, leftColumn + graphWidth / 2, graphHeight / 2);
}

void Redraw(benchmark::State& state, int level, bool dots)
{
    if (!ready) {
        state.SkipWithError("the graph is not 1920 x 1080");
        return;
    }
    app::settings().dotStyle = dots;
    graph::setTimeScale(level);
    for (auto _ : state)
        graph::drawGraph(graph::Target::Screen);
    int32_t expected = graph::visibleRecords() > recordCount ? 0 : recordCount / 2;
    if (platform::scrollPosition(app::graphScrollBar) != expected)
        state.SkipWithError("the graph is not scrolled to the middle of the store");
    else if (t::statusText(app::statusBar, 0).empty())
        state.SkipWithError("no cursor readout: the mouse is not over a record");
    state.counters["records"] = graph::visibleRecords();
}
BENCHMARK_CAPTURE(Redraw, level16_dots, 16, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Redraw, level16_lines, 16, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Redraw, level6_dots, 6, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Redraw, level6_lines, 6, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Redraw, level20_dots, 20, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Redraw, level20_lines, 20, false)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::runProgram(argc, argv, {loadAndResize, scrollAndPoint},
                             {[] { t::chooseMenu(app::menuExit); }});
}
