#include "graph/print.h"

#include "app/ids.h"
#include "app/state.h"
#include "graph/graph.h"
#include "platform/images.h"
#include "platform/print.h"
#include "records/store.h"

#include <algorithm>
#include <cmath>

namespace graph {

namespace {

constexpr platform::Color white = platform::rgb(255, 255, 255);
constexpr platform::Color black = platform::rgb(0, 0, 0);
// The enlargement stops once the graph is this wide or this high.
constexpr int32_t printMinWidth = 1000;
constexpr int32_t printMinHeight = 800;
// Top of the title text inside its band.
constexpr int titleTextTop = 50;

// Nearest integer, halves to the even one (the default rounding mode).
int32_t roundEven(float value)
{
    return static_cast<int32_t>(std::lrint(value));
}

void drawTitleImage(int32_t width)
{
    platform::createImage(app::printTitleImage, width, printTitleHeight);
    platform::fillRect(app::printTitleImage, 0, 0, width, printTitleHeight, white);
    const std::string& title = records::store().fileTitle;
    int x = width / 2 - platform::textWidth(app::printTitleFont, title) / 2;
    platform::drawText(app::printTitleImage, app::printTitleFont, x, titleTextTop, title, black, white);
}

void drawPage(const PrintLayout& layout)
{
    const platform::Rect& t = layout.title;
    const platform::Rect& g = layout.graph;
    platform::drawPrintImage(app::printTitleImage, t.x, t.y, t.width, t.height);
    platform::drawPrintImage(app::printImage, g.x, g.y, g.width, g.height);
}

} // namespace

bool graphPrintable(platform::Size graph)
{
    return graph.width > 0 && graph.height > 0;
}

platform::Size enlargedGraphSize(platform::Size graph)
{
    if (!graphPrintable(graph))
        return graph;   // adding nothing (or less) would never reach the goal
    platform::Size enlarged = graph;
    while (enlarged.width < printMinWidth && enlarged.height < printMinHeight) {
        enlarged.width += graph.width;
        enlarged.height += graph.height;
    }
    return enlarged;
}

PrintLayout printLayout(platform::Size graph, platform::Size page)
{
    int32_t marginX = page.width / 20;
    int32_t marginY = page.height / 20;
    float usableWidth = static_cast<float>(page.width - 2 * marginX);
    float usableHeight = static_cast<float>(page.height - 2 * marginY);
    float s = std::min(usableWidth / static_cast<float>(graph.width),
                       usableHeight / static_cast<float>(graph.height + printTitleHeight));
    if (!(s > 1.0f))
        s = 1.0f;   // never shrink, even when the page is too small
    float width = static_cast<float>(graph.width) * s;
    float titleHeight = static_cast<float>(printTitleHeight) * s;
    int32_t x = roundEven(static_cast<float>(marginX) + (usableWidth - width) / 2.0f);
    PrintLayout layout;
    layout.scale = s;
    layout.title = {x, marginY, roundEven(width), roundEven(titleHeight)};
    layout.graph = {x, roundEven(static_cast<float>(marginY) + titleHeight), roundEven(width),
                    roundEven(static_cast<float>(graph.height) * s)};
    return layout;
}

void printGraph()
{
    app::AppState& s = app::state();
    const platform::Size screen{s.graphWidth, s.graphHeight};
    if (!graphPrintable(screen))
        return;
    if (!platform::printDialog())
        return;
    if (!platform::startPrintJob("Graph print"))
        return;
    // drawGraph reads the graph size from the state: enlarge it for the print only.
    const platform::Size enlarged = enlargedGraphSize(screen);
    s.graphWidth = enlarged.width;
    s.graphHeight = enlarged.height;
    PrintLayout layout = printLayout(enlarged, platform::printPageSize());
    platform::createImage(app::printImage, enlarged.width, enlarged.height);
    drawGraph(Target::Print);
    drawTitleImage(enlarged.width);
    drawPage(layout);
    platform::freeImage(app::printTitleImage);
    platform::freeImage(app::printImage);
    s.graphWidth = screen.width;
    s.graphHeight = screen.height;
    platform::endPrintJob();
}

} // namespace graph
