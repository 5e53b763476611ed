// store.h: the record store, the one in-memory collection of logged samples.
//
// Every view (graph, statistics, profile, record file, spreadsheet) reads the
// records through the accessors below; only a load (import or download) and
// File > Close change them. Records are kept oldest first and carry no time of
// their own in any source: assignRecordTimes derives every time from the newest
// time and the interval. Readings are integers in tenths (%RH, degrees Celsius);
// a record whose two readings are both 0 is a gap. Times are signed 32-bit
// seconds since 1970-01-01 00:00:00 as written, -1 meaning "invalid".
//
// Nothing here fails. Times and spans that leave the 32-bit range wrap around as
// they would on a 32-bit machine (two's complement), instead of overflowing.
// recordAt and newestRecord require a valid index / a non-empty store.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace records {

// One sample: seconds, tenths of %RH, tenths of a degree Celsius.
struct Record {
    int32_t time;
    int32_t humidity;
    int32_t temperature;
};

// The program's records and what belongs to them.
struct RecordStore {
    // Oldest first: index 0 is the oldest record, the last index the newest.
    std::vector<Record> records;
    // Number of records after the last load; 0 when empty.
    int32_t recordCount = 0;
    // Seconds between two consecutive records; kept when the store is cleared.
    int32_t interval = 0;
    // First and last record index of the humidity profile's range.
    int32_t rangeStart = 0;
    int32_t rangeEnd = 0;
    // Name of the record file last imported or saved; empty when none.
    std::string fileTitle;
    // Full path of the last record file written; default for the next save.
    std::string lastSavePath;
    // SHA-256 of the record file's bytes as last imported or saved, in hex
    // (records/sha256.h); empty after a download not yet saved, or with no records.
    std::string fileDigest;
    // Counts every change of the records, so that what is kept about them (the
    // graph's summary) knows when it is out of date. Never goes back.
    uint64_t changes = 0;
};

// A record whose two readings are both 0 holds no sample.
inline bool isGap(const Record& record)
{
    return record.humidity == 0 && record.temperature == 0;
}

// The one store of the program; empty at start-up.
RecordStore& store();
// Puts the store back into its start-up state (every member zero or empty).
void resetStore();

// Removes every record and sets recordCount to 0; the interval, the profile
// range, fileTitle and lastSavePath stay as they are.
void clearRecords();
// Adds a record after the newest one, with time 0 until assignRecordTimes runs.
void appendRecord(int32_t temperature, int32_t humidity);
// Puts `records` (oldest first) in place of the store's records, without a copy.
void replaceRecords(std::vector<Record>&& records);
// Gives the newest record `newestTime` and each earlier one the time of its
// successor minus the interval. Does nothing when the store is empty.
void assignRecordTimes(int32_t newestTime);
// The same for any list of records, oldest first, `interval` seconds apart.
void assignTimes(std::vector<Record>& records, int32_t newestTime, int32_t interval);

// The time assignTimes gives the record at `index` of `count` records, the
// newest at `newestTime`, `interval` seconds apart: for records not kept.
int32_t timeOfIndex(int32_t newestTime, int32_t interval, int64_t count, int64_t index);
// The time of the record at an index of a list: how the figures of records
// taken a piece at a time learn their times at the end.
using TimeOfRecord = std::function<int32_t(int64_t index)>;
// The times of `records` as they hold them.
TimeOfRecord timesOf(const std::vector<Record>& records);

// Number of records in the store.
int32_t recordTotal();
// The record at `index` (0 = oldest); index must lie in 0 .. recordTotal() - 1.
const Record& recordAt(int32_t index);
// The newest record; the store must not be empty.
const Record& newestRecord();

// interval * count in 32 bits: the true product wrapped into the signed 32-bit
// range (two's complement), never an overflow.
int32_t spanOf(int32_t interval, int32_t count);

} // namespace records
