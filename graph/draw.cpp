// drawGraph: the graph image for the screen or the printer, drawn from scratch.
#include "app/ids.h"
#include "app/main_loop.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "app/state.h"
#include "graph/curves.h"
#include "graph/graph.h"
#include "graph/scales.h"
#include "graph/timewindow.h"
#include "platform/controls.h"
#include "platform/images.h"
#include "platform/window.h"
#include "records/datemask.h"
#include "records/store.h"
#include "records/timescale.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

namespace graph {

namespace {

using platform::Color;
using platform::rgb;

constexpr Color white = rgb(255, 255, 255);
constexpr Color black = rgb(0, 0, 0);
constexpr Color gridGrey = rgb(200, 200, 200);
constexpr Color cursorGrey = rgb(60, 60, 60);

// One draw's inputs, taken once.
struct Frame {
    int image;
    int64_t w, h;
    Scales scales;
    bool celsius;
    Color humidityColor, temperatureColor;
    const records::TimeScaleLevel* level;
    const analysis::Limits* limits;
};

// The record nearest to the mouse column.
struct Cursor {
    bool found = false;
    int32_t index = 0;
    int64_t x = 0, y = 0;
};

void line(const Frame& f, int64_t x1, int64_t y1, int64_t x2, int64_t y2, Color color)
{
    platform::drawLine(f.image, clampPixel(x1), clampPixel(y1), clampPixel(x2), clampPixel(y2), color);
}

void text(const Frame& f, int64_t x, int64_t y, const std::string& s)
{
    platform::drawText(f.image, app::graphFont, clampPixel(x), clampPixel(y), s, black, white);
}

void fill(const Frame& f, int64_t x, int64_t y, int64_t w, int64_t h, Color color)
{
    platform::fillRect(f.image, clampPixel(x), clampPixel(y), static_cast<int>(w), static_cast<int>(h), color);
}

void drawHumidityGrid(const Frame& f)
{
    const Scales& s = f.scales;
    for (int64_t k = 0; k <= s.gridSteps; ++k) {
        int64_t y = gridY(s, f.h, k);
        line(f, 21, y, 25, y, black);
        text(f, 1, y - 8, std::to_string(k * 5));
        text(f, f.w - 25, y - 8, std::to_string((s.temperatureBottom + k * s.temperatureStep) / 10));
        line(f, 25, y, f.w - 26, y, gridGrey);
    }
}

void drawTimeGrid(const Frame& f)
{
    int32_t tickStep = f.level->tickStep;
    for (int64_t j = 0; j <= 5; ++j) {
        int64_t x = (f.w - 50) * j / 5 + 25;
        line(f, x, f.h - 75, x, f.h - 71, black);
        text(f, x, f.h - 67, std::to_string(j * tickStep));
        line(f, x, 50, x, f.h - 76, gridGrey);
    }
}

// Two pixels on each side of the plot area.
void drawPlotFrame(const Frame& f)
{
    for (int64_t y : {f.h - 74, f.h - 75, int64_t{49}, int64_t{50}})
        line(f, 25, y, f.w - 26, y, black);
    for (int64_t x : {int64_t{24}, int64_t{25}, f.w - 24, f.w - 25})
        line(f, x, 50, x, f.h - 76, black);
}

void drawCaptions(const Frame& f, int32_t first)
{
    if (first >= 0 && first < records::recordTotal()) {
        int32_t time = records::recordAt(first).time;
        text(f, 25, f.h - 35, records::formatTime("%yyyy-%mm-%dd", time));
        text(f, 25, f.h - 20, records::formatTime("%hh:%ii", time));
    }
    text(f, f.w / 2, f.h - 35, std::string("Time (") + f.level->unit + ")");
    text(f, 50, 15, "Humidity (%RH)");
    fill(f, 25, 18, 20, 10, f.humidityColor);
    std::string caption = f.celsius ? "Temperature (\xB0" "C)" : "Temperature (\xB0" "F)";
    int64_t width = platform::textWidth(app::graphFont, caption);
    text(f, f.w - width - 25, 15, caption);
    fill(f, f.w - width - 50, 18, 20, 10, f.temperatureColor);
}

// Each set limit as a dashed line across the plot area, inside its frame, in
// its curve's colour; a limit outside the axes is not drawn. The curves are
// drawn over it.
void drawLimitLines(const Frame& f)
{
    for (int kind = 0; kind < analysis::limitKindCount; ++kind) {
        const std::optional<int32_t>& limit = f.limits->value[kind];
        if (!limit)
            continue;
        const bool temperature = kind == analysis::TemperatureHigh || kind == analysis::TemperatureLow;
        const int64_t y = temperature ? temperatureY(f.scales, f.h, *limit, f.celsius) : humidityY(f.scales, f.h, *limit);
        if (y <= 50 || y >= f.h - 75)
            continue;
        for (const DashSegment& d : dashSegments(26, f.w - 26))
            line(f, d.from, y, d.to, y, temperature ? f.temperatureColor : f.humidityColor);
    }
}

// Draws the curves of the records from `first` to the right edge and finds the
// record nearest to mouseX among them.
Cursor drawRecords(const Frame& f, int32_t first, int64_t mouseX, bool dots)
{
    Cursor cursor;
    int64_t visible = recordsAcross(f.level->span);
    int64_t n = records::recordTotal();
    if (visible == 0 || first < 0 || first >= n)
        return cursor;
    drawCurves({f.image, f.w, f.h, f.scales, f.celsius, dots, f.humidityColor, f.temperatureColor, first, visible});
    // The last record left of the right edge (x <= W - 25).
    int64_t last = std::min(n - 1, first + ((f.w - 50 + 1) * visible + f.w - 51) / (f.w - 50) - 1);
    int64_t index = nearestRecord(mouseX, first, last, f.w, visible);
    const records::Record& r = records::recordAt(static_cast<int32_t>(index));
    int64_t y = std::min(humidityY(f.scales, f.h, r.humidity), temperatureY(f.scales, f.h, r.temperature, f.celsius));
    return Cursor{true, static_cast<int32_t>(index), recordX(index, first, f.w, visible), y};
}

// The cursor line and the five readout texts; empty texts when there is none.
Readout drawCursor(const Frame& f, const Cursor& c, int64_t mouseX)
{
    Readout readout;
    if (!(mouseX > 25 && mouseX < f.w - 25 && c.found))
        return readout;
    const records::Record& r = records::recordAt(c.index);
    if (r.humidity == 0 || r.temperature == 0)
        return readout;
    line(f, c.x, c.y, c.x, f.h - 76, cursorGrey);
    readout[0] = records::formatTime("%yyyy-%mm-%dd", r.time);
    readout[1] = records::formatTime("%hh:%ii", r.time);
    readout[2] = formatHumidity(r.humidity);
    readout[3] = formatTemperature(r.temperature);
    readout[4] = formatDerived(r);
    return readout;
}

Frame frameFor(const GraphPicture& picture)
{
    const app::Settings& s = app::settings();
    Frame f;
    f.image = picture.image;
    f.w = picture.width;
    f.h = picture.height;
    f.celsius = s.celsius;
    f.scales = computeScales(extremes(), s.celsius);
    f.humidityColor = s.humidityColor & 0xFFFFFF;
    f.temperatureColor = s.temperatureColor & 0xFFFFFF;
    f.level = &records::zoomScaleLevel(picture.level);
    f.limits = &s.limits;
    return f;
}

} // namespace

Readout renderGraph(const GraphPicture& picture)
{
    Frame f = frameFor(picture);
    platform::Size size = platform::imageSize(f.image);
    platform::fillRect(f.image, 0, 0, size.width, size.height, white);
    Readout readout;
    if (records::store().recordCount > 0 && records::recordTotal() > 0 && f.w >= smallestDrawn && f.h >= smallestDrawn) {
        drawHumidityGrid(f);
        drawTimeGrid(f);
        drawPlotFrame(f);
        drawCaptions(f, picture.first);
        drawLimitLines(f);
        Cursor cursor = drawRecords(f, picture.first, picture.mouseX, app::settings().dotStyle);
        readout = drawCursor(f, cursor, picture.mouseX);
    }
    return readout;
}

void drawGraph(Target target)
{
    const app::AppState& s = app::state();
    bool screen = target == Target::Screen;
    // The print shows no cursor: a mouse x of 0 is left of the plot.
    int32_t mouseX = screen ? app::mouseColumn() - app::leftColumnWidth : 0;
    GraphPicture picture{screen ? app::graphImage : app::printImage, s.graphWidth, s.graphHeight,
                         timeWindow().timeScalePosition, firstVisible(), mouseX};
    Readout readout = renderGraph(picture);
    if (screen) {
        platform::setControlImage(app::graphView, app::graphImage);
        for (size_t field = 0; field < readout.size(); ++field)
            platform::setStatusText(app::statusBar, static_cast<int>(field), readout[field]);
    }
}

} // namespace graph
