// store.cpp: the record store and its time assignment.
#include "records/store.h"

#include <utility>

namespace records {

namespace {

RecordStore theStore;

// The low 32 bits of `value` as a signed number, as a 32-bit machine keeps them.
int32_t wrap32(int64_t value)
{
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

} // namespace

RecordStore& store()
{
    return theStore;
}

void resetStore()
{
    const uint64_t changes = theStore.changes;
    theStore = RecordStore{};
    theStore.changes = changes + 1;
}

void clearRecords()
{
    theStore.records.clear();
    theStore.recordCount = 0;
    ++theStore.changes;
}

void appendRecord(int32_t temperature, int32_t humidity)
{
    theStore.records.push_back(Record{0, humidity, temperature});
    ++theStore.changes;
}

void replaceRecords(std::vector<Record>&& records)
{
    theStore.records = std::move(records);
    ++theStore.changes;
}

void assignRecordTimes(int32_t newestTime)
{
    assignTimes(theStore.records, newestTime, theStore.interval);
    ++theStore.changes;
}

void assignTimes(std::vector<Record>& records, int32_t newestTime, int32_t interval)
{
    const int64_t count = static_cast<int64_t>(records.size());
    for (int64_t i = 0; i < count; ++i)
        records[static_cast<size_t>(i)].time = timeOfIndex(newestTime, interval, count, i);
}

int32_t timeOfIndex(int32_t newestTime, int32_t interval, int64_t count, int64_t index)
{
    // Each record is its successor's time less the interval, wrapped into 32
    // bits as on a 32-bit machine; wrapping once gives what wrapping after
    // every step would. Fits in 64 bits for any count a list can hold.
    return wrap32(int64_t{newestTime} - (count - 1 - index) * interval);
}

TimeOfRecord timesOf(const std::vector<Record>& records)
{
    return [&records](int64_t index) { return records[static_cast<size_t>(index)].time; };
}

int32_t recordTotal()
{
    return static_cast<int32_t>(theStore.records.size());
}

const Record& recordAt(int32_t index)
{
    return theStore.records[static_cast<size_t>(index)];
}

const Record& newestRecord()
{
    return theStore.records.back();
}

int32_t spanOf(int32_t interval, int32_t count)
{
    return wrap32(int64_t{interval} * count);
}

} // namespace records
