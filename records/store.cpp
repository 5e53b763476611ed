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
    // Walk backwards so each step is one subtraction; wrapping after every step
    // keeps the running time inside 32 bits however many records there are.
    int32_t time = newestTime;
    for (auto record = records.rbegin(); record != records.rend(); ++record) {
        record->time = time;
        time = wrap32(int64_t{time} - interval);
    }
}

int32_t timeOfIndex(int32_t newestTime, int32_t interval, int64_t count, int64_t index)
{
    // Wrapping once at the end gives what wrapping after every step gives.
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
