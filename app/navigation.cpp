#include "app/navigation.h"

#include "app/main_loop.h"
#include "app/main_window.h"
#include "app/state.h"
#include "graph/scales.h"
#include "graph/timewindow.h"
#include "records/store.h"

#include <algorithm>
#include <limits>

namespace app {

namespace {

constexpr int32_t notch = 120;

// Whole notches out of `rest`, the remainder kept for the next turn.
int32_t takeNotches(int32_t& rest, int32_t delta)
{
    rest += delta;
    int32_t notches = rest / notch;
    rest -= notches * notch;
    return notches;
}

bool canScroll()
{
    return records::recordTotal() > 1;
}

int32_t page()
{
    return std::max(graph::visibleRecords(), 1);
}

void zoomBy(int32_t levels, int64_t anchorX)
{
    graph::zoomTo(graph::timeWindow().timeScalePosition + levels, anchorX);
}

// The anchor of "+" and "-": the mouse over the plot, else the plot's middle.
int64_t keyAnchor()
{
    int64_t x = int64_t{mouseColumn()} - leftColumnWidth;
    int64_t width = state().graphWidth;
    return x > 25 && x < width - 25 ? x : width / 2;
}

} // namespace

void turnWheel(const platform::Event& event)
{
    if (records::recordTotal() == 0 || !inGraphArea({event.x, event.y}))
        return;
    AppState& s = state();
    if (event.id == platform::WheelHorizontal || (event.modifiers & platform::ModifierShift)) {
        int32_t notches = takeNotches(s.wheelScrollRest, event.delta);
        int64_t step = std::max(page() / 10, 1);
        if (notches != 0 && canScroll())
            graph::scrollTo(graph::firstVisible() - int64_t{notches} * step);
    } else {
        int32_t notches = takeNotches(s.wheelZoomRest, event.delta);
        if (notches != 0)
            zoomBy(-notches, event.x - leftColumnWidth);
    }
}

void pressMouse(const platform::Event& event)
{
    AppState& s = state();
    s.dragging = canScroll() && inGraphArea({event.x, event.y});
    s.dragStartX = event.x;
    s.dragStartFirst = graph::firstVisible();
}

void dragMouse(const platform::Event& event)
{
    AppState& s = state();
    if (!s.dragging || !canScroll())
        return;
    int64_t moved = graph::recordsAtPixels(int64_t{event.x} - s.dragStartX, s.graphWidth, graph::visibleRecords());
    graph::scrollTo(s.dragStartFirst - moved);
}

void releaseMouse(const platform::Event& event)
{
    dragMouse(event);
    state().dragging = false;
}

void pressKey(int key)
{
    if (records::recordTotal() == 0)
        return;
    int64_t first = graph::firstVisible();
    switch (key) {
    case platform::KeyPlus: zoomBy(-1, keyAnchor()); return;
    case platform::KeyMinus: zoomBy(1, keyAnchor()); return;
    default: break;
    }
    if (!canScroll())
        return;
    switch (key) {
    case platform::KeyLeft: graph::scrollTo(first - 1); break;
    case platform::KeyRight: graph::scrollTo(first + 1); break;
    case platform::KeyPageUp: graph::scrollTo(first - page()); break;
    case platform::KeyPageDown: graph::scrollTo(first + page()); break;
    case platform::KeyHome: graph::scrollTo(0); break;
    case platform::KeyEnd: graph::scrollTo(std::numeric_limits<int32_t>::max()); break;
    default: break;
    }
}

} // namespace app
