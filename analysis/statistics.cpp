#include "analysis/statistics.h"

#include "app/commands.h"
#include "app/ids.h"
#include "graph/graph.h"
#include "graph/timewindow.h"
#include "platform/controls.h"
#include "records/datemask.h"
#include "records/store.h"

namespace analysis {

namespace {

constexpr int panelTexts[] = {
    app::firstRecordText, app::lastRecordText, app::recordCountText, app::humidityMaxText,
    app::humidityMinText, app::temperatureMaxText, app::temperatureMinText,
};

// Two blanks between the date and the time.
const char* const panelTimeMask = "%yyyy-%mm-%dd  %hh:%ii";

void emptyPanel()
{
    for (int text : panelTexts)
        platform::setText(text, "");
}

void fillPanel()
{
    const records::RecordStore& s = records::store();
    const graph::Extremes& e = graph::extremes();
    platform::setText(app::firstRecordText, "From: " + records::formatTime(panelTimeMask, records::recordAt(0).time));
    platform::setText(app::lastRecordText, "To: " + records::formatTime(panelTimeMask, records::newestRecord().time));
    platform::setText(app::recordCountText,
                      std::to_string(s.recordCount) + " records\r\n(interval " + durationText(s.interval) + ")");
    platform::setText(app::humidityMaxText, "Hunidity max: " + graph::formatHumidity(e.humidityMax));
    platform::setText(app::humidityMinText, "Humidity min: " + graph::formatHumidity(e.humidityMin));
    platform::setText(app::temperatureMaxText, "Temperature max: " + graph::formatTemperature(e.temperatureMax));
    platform::setText(app::temperatureMinText, "Temperature min: " + graph::formatTemperature(e.temperatureMin));
}

} // namespace

void refreshStatistics()
{
    if (records::store().recordCount == 0 || records::recordTotal() == 0) {
        emptyPanel();
    } else {
        graph::scanExtremes();
        graph::paintSwatches();
        fillPanel();
    }
    app::applyEnabling();
    graph::setupScrollBar(false);
    graph::drawGraph(graph::Target::Screen);
}

} // namespace analysis
