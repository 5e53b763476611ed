#include "graph/timewindow.h"

#include "app/ids.h"
#include "app/state.h"
#include "graph/graph.h"
#include "graph/scales.h"
#include "platform/controls.h"
#include "records/store.h"
#include "records/timescale.h"

#include <algorithm>
#include <limits>

namespace graph {

namespace {

TimeWindow window;

constexpr int startLevel = 6;
constexpr int32_t divisionsShown = 5;

void applyLevel(int level)
{
    level = std::clamp(level, records::firstTimeScaleLevel, records::lastZoomLevel);
    const records::TimeScaleLevel& row = records::zoomScaleLevel(level);
    window.timeSpan = row.span;
    window.tickStep = row.tickStep;
    window.timeUnit = row.unit;
    window.timeScalePosition = level;
}

} // namespace

TimeWindow& timeWindow()
{
    return window;
}

void resetTimeWindow()
{
    applyLevel(startLevel);
}

void setTimeScale(int level)
{
    applyLevel(level);
    setupScrollBar(true);
    drawGraph(Target::Screen);
}

void zoomTo(int level, int64_t anchorX)
{
    level = std::clamp(level, records::firstTimeScaleLevel, records::lastZoomLevel);
    if (level == window.timeScalePosition)
        return;
    int64_t width = app::state().graphWidth;
    int64_t offset = std::clamp<int64_t>(anchorX, 25, std::max<int64_t>(width - 25, 25)) - 25;
    int64_t anchor = firstVisible() + recordsAtPixels(offset, width, visibleRecords());
    applyLevel(level);
    platform::setTrackBarPosition(app::timeScaleTrackBar, level);
    const int before = platform::scrollPosition(app::graphScrollBar);
    setupScrollBar(true);
    scrollTo(anchor - recordsAtPixels(offset, width, visibleRecords()));
    // A moved scroll bar has redrawn the graph through its hook already.
    if (platform::scrollPosition(app::graphScrollBar) == before)
        drawGraph(Target::Screen);
}

void scrollTo(int64_t first)
{
    int64_t limited = std::clamp<int64_t>(first, 0, std::numeric_limits<int32_t>::max());
    platform::setScrollPosition(app::graphScrollBar, static_cast<int>(limited));
}

void setupScrollBar(bool keepPosition)
{
    int32_t n = records::recordTotal();
    if (n <= 1) {
        platform::enableControl(app::graphScrollBar, false);
        return;
    }
    platform::enableControl(app::graphScrollBar, true);
    int32_t page = visibleRecords();
    // With a page of 1 the last position would be n, one past the newest record:
    // end the range at n - 1 so that the first drawn record always exists.
    int32_t maximum = page <= 1 ? n - 1 : n;
    platform::setScrollRange(app::graphScrollBar, 0, maximum, page <= 0 ? 1 : page);
    if (!keepPosition)
        platform::setScrollPosition(app::graphScrollBar, 0);
}

int32_t firstVisible()
{
    // With one record or none the scroll bar is off and keeps a stale position.
    if (records::recordTotal() <= 1)
        return 0;
    return platform::scrollPosition(app::graphScrollBar);
}

int32_t visibleRecords()
{
    return recordsAcross(window.timeSpan);
}

int32_t recordsAcross(int32_t span)
{
    int32_t interval = records::store().interval;
    return interval > 0 ? span * divisionsShown / interval : 0;
}

} // namespace graph
