// load.h: the load sequence that the import and the download share, and the
// choice of a time scale for freshly loaded records.
//
// loadRecords empties the store (and the views with it), lets the source read its
// header and deliver its samples through appendRecord, then gives the records
// their times, refreshes the views, names the window and fits the time scale.
// A source that fails leaves the store empty: nothing of the earlier records
// survives a load that has started.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace records {

struct RecordSeries;

// What a source's header says.
struct LoadHeader {
    int32_t newestTime = -1;   // time of the newest (last) sample
    int32_t interval = 0;      // seconds between samples
};

// Reads the header into the given LoadHeader and appends the samples, oldest
// first (through appendRecord, or by filling store().records at once); false
// when the source turned out unusable (nothing is loaded then).
using ReadSource = std::function<bool(LoadHeader&)>;

// Runs the load sequence with `read`. `fileTitle` names the file the records come
// from ("" for a device): the window title then becomes "Climadesk - " + it.
// The caller switches the wait cursor on (the import after accepting the file's
// first line, the download before connecting); the sequence switches it off.
// Returns what `read` returned.
bool loadRecords(const ReadSource& read, const std::string& fileTitle);
// The load sequence with records already read: they move into the store, and
// the series's digest becomes the store's.
void loadSeries(RecordSeries& series, const std::string& fileTitle);
// The load's own steps without a window: the records of `series` move into the
// store, with its interval and count, timed from its newest time, its digest and
// `fileTitle`; no view is touched. For a picture or a report made with no window.
void storeSeries(RecordSeries& series, const std::string& fileTitle);

// Chooses the time-scale level for a span of `span` seconds, shows it on the
// track bar (which shows 6 for the levels below 6) and applies it.
void fitTimeScale(int32_t span);
// The level fitTimeScale chooses for the store's span.
int fittingLevel();

} // namespace records
