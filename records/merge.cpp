// merge.cpp: laying two series on one time grid. Times are counted in 64 bits
// here, so no sum of times and intervals can overflow.
#include "records/merge.h"

#include <algorithm>

namespace records {

namespace {

bool isGap(const Record& r)
{
    return r.temperature == 0 && r.humidity == 0;
}

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

MergeRefusal refusalOf(const RecordSeries& archive, const RecordSeries& download)
{
    const int32_t interval = archive.header.interval;
    if (interval != download.header.interval)
        return MergeRefusal::IntervalDiffers;
    if (interval <= 0)
        return MergeRefusal::NoInterval;
    for (const RecordSeries* s : {&archive, &download})
        if (!s->records.empty() && s->header.newestTime < 0)
            return MergeRefusal::NoTime;
    if (!archive.records.empty() && !download.records.empty()
        && (int64_t{archive.header.newestTime} - download.header.newestTime) % interval != 0)
        return MergeRefusal::GridDiffers;
    return MergeRefusal::None;
}

// The record for one slot from what the two hold there, counted.
Record pickRecord(const Record* archived, const Record* downloaded, MergeResult& merge)
{
    if (archived && downloaded) {
        if (isGap(*archived) && !isGap(*downloaded)) {
            ++merge.newSamples;
            return *downloaded;
        }
        ++merge.alreadyArchived;
        if (!isGap(*archived) && !isGap(*downloaded)
            && (archived->temperature != downloaded->temperature || archived->humidity != downloaded->humidity))
            ++merge.differing;
        return *archived;
    }
    if (archived)
        return *archived;
    if (downloaded) {
        ++merge.newSamples;
        return *downloaded;
    }
    ++merge.gapLines;
    return Record{0, 0, 0};
}

std::string minutesText(int32_t interval)
{
    return std::to_string(interval / 60) + " min";
}

} // namespace

MergeResult mergeSeries(const RecordSeries& archive, const RecordSeries& download)
{
    MergeResult merge;
    merge.refusal = refusalOf(archive, download);
    if (merge.refusal != MergeRefusal::None)
        return merge;
    const int64_t interval = archive.header.interval;
    // Grid slots count intervals from the oldest sample of either series.
    int64_t last = -1, archiveFirst = 0, downloadFirst = 0;
    const bool both = !archive.records.empty() && !download.records.empty();
    const RecordSeries& only = archive.records.empty() ? download : archive;
    const int64_t start = both ? std::min(oldestTime(archive), oldestTime(download)) : oldestTime(only);
    if (!archive.records.empty()) {
        archiveFirst = (oldestTime(archive) - start) / interval;
        last = std::max(last, archiveFirst + static_cast<int64_t>(archive.records.size()) - 1);
    }
    if (!download.records.empty()) {
        downloadFirst = (oldestTime(download) - start) / interval;
        last = std::max(last, downloadFirst + static_cast<int64_t>(download.records.size()) - 1);
    }
    merge.records.reserve(static_cast<size_t>(last + 1));
    for (int64_t slot = 0; slot <= last; ++slot)
        merge.records.push_back(pickRecord(recordAtSlot(archive, archiveFirst, slot),
                                           recordAtSlot(download, downloadFirst, slot), merge));
    const int64_t newest = start + last * interval;
    assignTimes(merge.records, static_cast<int32_t>(newest), archive.header.interval);
    return merge;
}

std::string mergeSummary(const MergeResult& merge)
{
    return std::to_string(merge.newSamples) + " new samples, " + std::to_string(merge.alreadyArchived)
        + " already archived, " + std::to_string(merge.differing) + " differing, " + std::to_string(merge.gapLines)
        + " gap lines added";
}

std::string refusalText(MergeRefusal refusal, const std::string& archiveName, int32_t archiveInterval,
                        int32_t downloadInterval)
{
    switch (refusal) {
    case MergeRefusal::None: return "";
    case MergeRefusal::IntervalDiffers:
        return "Can't merge: the interval is " + minutesText(archiveInterval) + " in " + archiveName + " and "
            + minutesText(downloadInterval) + " in the download";
    case MergeRefusal::NoInterval: return "Can't merge: " + archiveName + " and the download have no interval";
    case MergeRefusal::NoTime:
        return "Can't merge: the time of the newest sample in " + archiveName + " or in the download is not valid";
    case MergeRefusal::GridDiffers:
        return "Can't merge: the samples in " + archiveName + " and in the download do not lie on the same "
            + minutesText(archiveInterval) + " grid";
    }
    return "";
}

} // namespace records
