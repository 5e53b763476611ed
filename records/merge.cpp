// merge.cpp: laying two series on one time grid. Times are counted in 64 bits
// here, so no sum of times and intervals can overflow.
#include "records/merge.h"

#include "device/protocol.h"
#include "platform/file.h"
#include "records/logfile.h"

#include <algorithm>

namespace records {

namespace {

int64_t oldestTime(const RecordSeries& s)
{
    return int64_t{s.header.newestTime} - int64_t{s.header.interval} * (static_cast<int64_t>(s.records.size()) - 1);
}

// The record of `s` at grid slot `slot` when the series starts at `first`, or nullptr.
const Record* recordAtSlot(const RecordSeries& s, int64_t first, int64_t slot)
{
    const int64_t index = slot - first;
    if (index < 0 || index >= static_cast<int64_t>(s.records.size()))
        return nullptr;
    return &s.records[static_cast<size_t>(index)];
}

MergeFailure failureOf(const RecordSeries& archive, const RecordSeries& download)
{
    const int32_t interval = archive.header.interval;
    if (interval != download.header.interval)
        return MergeFailure::IntervalDiffers;
    if (archive.records.empty() || download.records.empty())
        return MergeFailure::None;   // one series alone needs no common grid
    if (interval <= 0)
        return MergeFailure::NoInterval;
    if (archive.header.newestTime < 0 || download.header.newestTime < 0)
        return MergeFailure::NoTime;
    if ((int64_t{archive.header.newestTime} - download.header.newestTime) % interval != 0)
        return MergeFailure::GridDiffers;
    return MergeFailure::None;
}

// The record for one slot from what the two hold there, counted. Only readings
// count as new, archived or differing; a slot without one becomes a gap.
Record pickRecord(const Record* archived, const Record* downloaded, MergeResult& merge)
{
    const bool reading = downloaded && !isGap(*downloaded);
    if (archived && !isGap(*archived)) {
        if (reading) {
            ++merge.alreadyArchived;
            if (archived->temperature != downloaded->temperature || archived->humidity != downloaded->humidity)
                ++merge.differing;
        }
        return *archived;
    }
    if (reading) {
        ++merge.newSamples;
        return *downloaded;
    }
    return Record{0, 0, 0};
}

// One series alone: it is the result, and the download's readings are new.
void takeAlone(const RecordSeries& archive, const RecordSeries& download, MergeResult& merge)
{
    merge.records = archive.records.empty() ? download.records : archive.records;
    if (archive.records.empty())
        merge.newSamples = static_cast<int64_t>(merge.records.size())
            - std::count_if(merge.records.begin(), merge.records.end(), isGap);
}

// Both series on one grid, slot by slot; refused when the hole between them
// is longer than a logger holds.
void mergeSlots(const RecordSeries& archive, const RecordSeries& download, MergeResult& merge)
{
    // Grid slots count intervals from the older of the two oldest samples.
    const int64_t interval = archive.header.interval;
    const int64_t start = std::min(oldestTime(archive), oldestTime(download));
    const int64_t archiveFirst = (oldestTime(archive) - start) / interval;
    const int64_t downloadFirst = (oldestTime(download) - start) / interval;
    const int64_t archiveEnd = archiveFirst + static_cast<int64_t>(archive.records.size());
    const int64_t downloadEnd = downloadFirst + static_cast<int64_t>(download.records.size());
    merge.hole = std::max(int64_t{0}, std::max(archiveFirst, downloadFirst) - std::min(archiveEnd, downloadEnd));
    if (merge.hole > device::maxSamples) {
        merge.failure = MergeFailure::HoleTooLong;
        return;
    }
    const int64_t slots = std::max(archiveEnd, downloadEnd);
    merge.records.reserve(static_cast<size_t>(slots));
    for (int64_t slot = 0; slot < slots; ++slot)
        merge.records.push_back(pickRecord(recordAtSlot(archive, archiveFirst, slot),
                                           recordAtSlot(download, downloadFirst, slot), merge));
    assignTimes(merge.records, static_cast<int32_t>(start + (slots - 1) * interval), archive.header.interval);
}

std::string minutesText(int32_t interval)
{
    return std::to_string(interval / 60) + " min";
}

} // namespace

MergeResult mergeSeries(const RecordSeries& archive, const RecordSeries& download)
{
    MergeResult merge;
    merge.archiveInterval = archive.header.interval;
    merge.downloadInterval = download.header.interval;
    merge.failure = failureOf(archive, download);
    if (merge.failure != MergeFailure::None)
        return merge;
    if (archive.records.empty() || download.records.empty())
        takeAlone(archive, download, merge);
    else
        mergeSlots(archive, download, merge);
    // Counted as the file will hold them, by the writer's own rule.
    merge.gapLines = std::count_if(merge.records.begin(), merge.records.end(), isGap);
    return merge;
}

std::string mergeSummary(const MergeResult& merge)
{
    return std::to_string(merge.newSamples) + " new samples, " + std::to_string(merge.alreadyArchived)
        + " already archived, " + std::to_string(merge.differing) + " differing, " + std::to_string(merge.gapLines)
        + " gap lines in the file";
}

MergeResult mergeIntoFile(const std::string& path, const RecordSeries& download)
{
    MergeResult merge;
    RecordSeries archive;
    if (!platform::fileExists(path)) {
        archive.header.interval = download.header.interval;
        merge = mergeSeries(archive, download);
    } else {
        switch (readRecordFile(path, archive)) {
        case ReadResult::Done: merge = mergeSeries(archive, download); break;
        case ReadResult::CannotRead: merge.failure = MergeFailure::CannotRead; break;
        case ReadResult::WrongFormat: merge.failure = MergeFailure::NotARecordFile; break;
        case ReadResult::TooLong: merge.failure = MergeFailure::TooLong; break;
        }
    }
    if (merge.failure == MergeFailure::None && !writeRecordFile(path, merge.records, download.header.interval))
        merge.failure = MergeFailure::CannotWrite;
    return merge;
}

std::string mergeFailureText(const MergeResult& merge, const std::string& archiveName)
{
    switch (merge.failure) {
    case MergeFailure::None: return "";
    case MergeFailure::CannotRead: return "Can't read " + archiveName;
    case MergeFailure::NotARecordFile: return "Can't merge: " + archiveName + " is not a record file";
    case MergeFailure::TooLong: return "Can't merge: " + tooLongText(archiveName);
    case MergeFailure::CannotWrite: return "Can't write " + archiveName;
    case MergeFailure::IntervalDiffers:
        return "Can't merge: the interval is " + minutesText(merge.archiveInterval) + " in " + archiveName + " and "
            + minutesText(merge.downloadInterval) + " in the download";
    case MergeFailure::NoInterval: return "Can't merge: " + archiveName + " and the download have no interval";
    case MergeFailure::NoTime:
        return "Can't merge: the time of the newest sample in " + archiveName + " or in the download is not valid";
    case MergeFailure::GridDiffers:
        return "Can't merge: the samples in " + archiveName + " and in the download do not lie on the same "
            + minutesText(merge.archiveInterval) + " grid";
    case MergeFailure::HoleTooLong:
        return "Can't merge: " + std::to_string(merge.hole) + " samples are missing between " + archiveName
            + " and the download, more than a logger holds (" + std::to_string(device::maxSamples) + ")";
    }
    return "";
}

} // namespace records
