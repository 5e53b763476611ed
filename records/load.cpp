#include "records/load.h"

#include "analysis/statistics.h"
#include "app/commands.h"
#include "app/ids.h"
#include "graph/timewindow.h"
#include "platform/controls.h"
#include "platform/window.h"
#include "records/recordfile.h"
#include "records/store.h"
#include "records/timescale.h"

namespace records {

namespace {

const char* const programTitle = "Climadesk";

// Empties the store and every view of it before a source is read.
void startLoad()
{
    clearRecords();
    analysis::refreshStatistics();
    store().fileTitle.clear();
    store().fileDigest.clear();
    platform::setWindowTitle(app::mainWindow, programTitle);
}

// The steps after the source's samples are in the store: its interval, the
// count and the times.
void takeHeader(const LoadHeader& header)
{
    store().interval = header.interval;
    store().recordCount = recordTotal();
    assignRecordTimes(header.newestTime);
}

} // namespace

bool loadRecords(const ReadSource& read, const std::string& fileTitle)
{
    startLoad();
    LoadHeader header;
    if (!read(header)) {
        clearRecords();
        app::setBusyCursor(false);
        return false;
    }
    takeHeader(header);
    app::setBusyCursor(false);
    analysis::refreshStatistics();
    if (!fileTitle.empty()) {
        store().fileTitle = fileTitle;
        platform::setWindowTitle(app::mainWindow, std::string(programTitle) + " - " + fileTitle);
    }
    fitTimeScale(spanOf(store().interval, store().recordCount));
    return true;
}

int fittingLevel()
{
    return levelForSpan(spanOf(store().interval, store().recordCount));
}

void loadSeries(RecordSeries& series, const std::string& fileTitle)
{
    loadRecords(
        [&](LoadHeader& loaded) {
            loaded = series.header;
            replaceRecords(std::move(series.records));
            return true;
        },
        fileTitle);
    store().fileDigest = series.digest;
}

void storeSeries(RecordSeries& series, const std::string& fileTitle)
{
    replaceRecords(std::move(series.records));
    takeHeader(series.header);
    store().fileTitle = fileTitle;
    store().fileDigest = series.digest;
}

void fitTimeScale(int32_t span)
{
    int level = levelForSpan(span);
    platform::setTrackBarPosition(app::timeScaleTrackBar, level);
    graph::setTimeScale(level);
}

} // namespace records
