// merge.h: merging a download into an archive of records, so that one record
// file grows into one continuous series.
//
// Both series must have the same interval and their samples must lie on the same
// grid of that interval. The merged series runs from the older of the two oldest
// samples to the newer of the two newest, one record per interval: where both
// hold a time, the archive's record is kept unless it is a gap and the download
// has a reading (nothing archived is ever replaced); where only one holds it,
// that one's record; where neither does (a hole between them), a gap. A gap is
// what the store calls one (isGap). A hole longer than a logger can ever hold
// (device::maxSamples, 99,999 samples) is refused: it means a wrong clock or the
// wrong archive, and its gap lines would fill memory and disk.
#pragma once

#include "records/recordfile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace records {

enum class MergeFailure {
    None,
    CannotRead,        // the archive exists but cannot be read
    NotARecordFile,    // the archive is no record file
    TooLong,           // the archive is longer than a record file can be
    CannotWrite,       // the merged file cannot be written (the archive is unchanged)
    IntervalDiffers,   // the two intervals are not the same
    NoInterval,        // the common interval is 0 or less: there is no grid
    NoTime,            // a series with records has no valid newest time
    GridDiffers,       // the samples of the two lie between each other's
    HoleTooLong,       // more than device::maxSamples intervals lie between the two
};

struct MergeResult {
    MergeFailure failure = MergeFailure::None;
    std::vector<Record> records;   // the merged series, oldest first, timed
    // Readings only: a gap of the download counts in none of the three.
    int64_t newSamples = 0;        // downloaded readings the result gains
    int64_t alreadyArchived = 0;   // downloaded readings at a time the archive holds a reading for
    int64_t differing = 0;         // of those, the ones whose readings differ
    int64_t gapLines = 0;          // records of the result written as gap lines (isGap)
    int64_t hole = 0;              // intervals between the two series that neither holds
    int32_t archiveInterval = 0;   // the two intervals, for the words of a failure
    int32_t downloadInterval = 0;
};

// Merges `download` into `archive`; a failure brings no records.
MergeResult mergeSeries(const RecordSeries& archive, const RecordSeries& download);

// Merges `download` into the record file `path`, writing the result through a
// temporary file; without a file at `path`, writes the download as it is. On
// any failure nothing is written.
MergeResult mergeIntoFile(const std::string& path, const RecordSeries& download);

// "12345 new samples, 87654 already archived, 0 differing, 3 gap lines in the file".
std::string mergeSummary(const MergeResult& merge);

// Why a merge into the file `archiveName` failed, in words ("Can't merge: the
// interval is 5 min in FILE.log and 1 min in the download"). The words are plain
// ASCII, so the text is in the character set of `archiveName`.
std::string mergeFailureText(const MergeResult& merge, const std::string& archiveName);

} // namespace records
