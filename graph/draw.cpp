// drawGraph: the graph image for the screen or the printer.
#include "app/ids.h"
#include "graph/graph.h"
#include "platform/controls.h"
#include "platform/images.h"
#include "platform/window.h"

namespace graph {

namespace {

constexpr platform::Color white = platform::rgb(255, 255, 255);
constexpr int statusFields = 5;

void clearReadout()
{
    for (int field = 0; field < statusFields; ++field)
        platform::setStatusText(app::statusBar, field, "");
}

} // namespace

void drawGraph(Target target)
{
    int image = target == Target::Screen ? app::graphImage : app::printImage;
    platform::Size size = platform::imageSize(image);
    platform::fillRect(image, 0, 0, size.width, size.height, white);
    if (target == Target::Screen) {
        platform::setControlImage(app::graphView, app::graphImage);
        clearReadout();
    }
}

} // namespace graph
