// drawGraph: the graph image for the screen or the printer, drawn from scratch.
#include "app/ids.h"
#include "app/main_loop.h"
#include "app/settings.h"
#include "app/state.h"
#include "graph/graph.h"
#include "graph/scales.h"
#include "graph/timewindow.h"
#include "platform/controls.h"
#include "platform/images.h"
#include "platform/window.h"
#include "records/datemask.h"
#include "records/store.h"

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
constexpr int statusFields = 5;
constexpr int graphLeft = 200;   // x of the graph view in the main window

// One draw's inputs, taken once.
struct Frame {
    int image;
    int64_t w, h;
    Scales scales;
    bool celsius;
    Color humidityColor, temperatureColor;
};

// The record nearest to the mouse column, found while walking the records.
struct Cursor {
    bool found = false;
    int32_t index = 0;
    int64_t x = 0, y = 0;
    int64_t distance = 0;
};

// Pixel coordinates for the platform: far-off values are pulled in to a range
// where the drawing operations clip them without overflowing.
int px(int64_t v)
{
    constexpr int64_t limit = int64_t{1} << 30;
    return static_cast<int>(std::clamp(v, -limit, limit));
}

void line(const Frame& f, int64_t x1, int64_t y1, int64_t x2, int64_t y2, Color color)
{
    platform::drawLine(f.image, px(x1), px(y1), px(x2), px(y2), color);
}

void text(const Frame& f, int64_t x, int64_t y, const std::string& s)
{
    platform::drawText(f.image, app::graphFont, px(x), px(y), s, black, white);
}

void fill(const Frame& f, int64_t x, int64_t y, int64_t w, int64_t h, Color color)
{
    platform::fillRect(f.image, px(x), px(y), static_cast<int>(w), static_cast<int>(h), color);
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
    int32_t tickStep = timeWindow().tickStep;
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
    text(f, f.w / 2, f.h - 35, "Time (" + timeWindow().timeUnit + ")");
    text(f, 50, 15, "Humidity (%RH)");
    fill(f, 25, 18, 20, 10, f.humidityColor);
    std::string caption = f.celsius ? "Temperature (\xB0" "C)" : "Temperature (\xB0" "F)";
    int64_t width = platform::textWidth(app::graphFont, caption);
    text(f, f.w - width - 25, 15, caption);
    fill(f, f.w - width - 50, 18, 20, 10, f.temperatureColor);
}

void consider(Cursor& c, int32_t index, int64_t x, int64_t y, int64_t mouseX)
{
    int64_t distance = std::llabs(mouseX - x);
    // The first record is the first candidate; on equal distance the earlier stays.
    if (!c.found || distance < c.distance)
        c = Cursor{true, index, x, y, distance};
}

// Walks the visible records from `first`, drawing dots or lines, and finds the
// record nearest to mouseX. x grows with the index, so the walk ends at the
// first record beyond the right edge.
Cursor drawRecords(const Frame& f, int32_t first, int64_t mouseX, bool dots)
{
    Cursor cursor;
    int64_t visible = visibleRecords();
    int32_t n = records::recordTotal();
    if (visible == 0 || first < 0)
        return cursor;
    bool havePrevious = false;
    int64_t px0 = 0, pyH = 0, pyT = 0;
    for (int32_t i = first; i < n; ++i) {
        int64_t x = recordX(i, first, f.w, visible);
        if (x > f.w - 25)
            break;
        const records::Record& r = records::recordAt(i);
        int64_t yH = humidityY(f.scales, f.h, r.humidity);
        int64_t yT = temperatureY(f.scales, f.h, r.temperature, f.celsius);
        consider(cursor, i, x, std::min(yH, yT), mouseX);
        if (r.humidity == 0 || r.temperature == 0)
            continue;   // a gap: nothing drawn, and lines bridge it
        if (dots) {
            fill(f, x - 1, yH - 1, 3, 3, f.humidityColor);
            fill(f, x - 1, yT - 1, 3, 3, f.temperatureColor);
        } else if (havePrevious) {
            line(f, px0, pyH, x, yH, f.humidityColor);
            line(f, px0, pyT, x, yT, f.temperatureColor);
        }
        havePrevious = true;
        px0 = x;
        pyH = yH;
        pyT = yT;
    }
    return cursor;
}

// The cursor line and the four readout texts; empty texts when there is none.
std::array<std::string, statusFields> drawCursor(const Frame& f, const Cursor& c, int64_t mouseX)
{
    std::array<std::string, statusFields> readout;
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
    return readout;
}

Frame frameFor(Target target)
{
    const app::Settings& s = app::settings();
    Frame f;
    f.image = target == Target::Screen ? app::graphImage : app::printImage;
    f.w = app::state().graphWidth;
    f.h = app::state().graphHeight;
    f.celsius = s.celsius;
    f.scales = computeScales(extremes(), s.celsius);
    f.humidityColor = s.humidityColor & 0xFFFFFF;
    f.temperatureColor = s.temperatureColor & 0xFFFFFF;
    return f;
}

} // namespace

void drawGraph(Target target)
{
    int64_t mouseX = app::mouseColumn() - graphLeft;
    Frame f = frameFor(target);
    platform::Size size = platform::imageSize(f.image);
    platform::fillRect(f.image, 0, 0, size.width, size.height, white);
    std::array<std::string, statusFields> readout;
    if (records::store().recordCount > 0 && records::recordTotal() > 0 && f.w > 300 && f.h > 300) {
        int32_t first = firstVisible();
        drawHumidityGrid(f);
        drawTimeGrid(f);
        drawPlotFrame(f);
        drawCaptions(f, first);
        Cursor cursor = drawRecords(f, first, mouseX, app::settings().dotStyle);
        if (target == Target::Screen)
            readout = drawCursor(f, cursor, mouseX);
    }
    if (target == Target::Screen) {
        platform::setControlImage(app::graphView, app::graphImage);
        for (int field = 0; field < statusFields; ++field)
            platform::setStatusText(app::statusBar, field, readout[static_cast<size_t>(field)]);
    }
}

} // namespace graph
