// recordfile.h: reading and writing whole record files, with no window.
//
// The operations behind File > Import Records and Save As, which the command line
// calls too: each returns what happened, and the caller tells the user.
#pragma once

#include "records/load.h"
#include "records/store.h"

#include <string>
#include <vector>

namespace records {

// A record file's content: its header and its records with their times.
struct RecordSeries {
    LoadHeader header;
    std::vector<Record> records;   // oldest first, timed from header
    std::string digest;            // SHA-256 of the file's bytes; empty when not from a file
};

enum class ReadResult { Done, CannotRead, WrongFormat };

// Reads the record file at `path` into `series` (emptied first).
ReadResult readRecordFile(const std::string& path, RecordSeries& series);

// Writes `records` (oldest first) with `interval` as the record file `path`,
// through a temporary file: false, and the old file intact, when it cannot.
// When written, `digest` (if given) receives the SHA-256 of the bytes.
bool writeRecordFile(const std::string& path, const std::vector<Record>& records, int32_t interval,
                     std::string* digest = nullptr);

} // namespace records
