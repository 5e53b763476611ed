// recordfile.h: reading and writing whole record files, with no window.
//
// The operations behind File > Import Records and Save As, which the command line
// calls too: each returns what happened, and the caller tells the user.
#pragma once

#include "records/load.h"
#include "records/store.h"

#include <functional>
#include <string>
#include <vector>

namespace records {

// A record file's content: its header and its records with their times.
struct RecordSeries {
    LoadHeader header;
    std::vector<Record> records;   // oldest first, timed from header
    std::string digest;            // SHA-256 of the file's bytes; empty when not from a file
};

// The largest record file read: up to its end marker, at most this many record
// lines in at most this many bytes (ten million of the longest lines the writer
// makes fit). Anything longer, such as a device or a pipe without end, is
// refused as soon as it goes beyond, in bounded memory and time.
constexpr int32_t maxFileRecords = 10'000'000;
constexpr long long maxFileBytes = 300'000'000;

enum class ReadResult {
    Done,
    CannotRead,
    WrongFormat,   // the first line is not the magic line
    TooLong,       // more than maxFileRecords records or maxFileBytes bytes
};

// Whether a read takes the digest of the file's bytes (for the report), which
// means reading past the end marker to the end of the file.
enum class Digest { Skip, Take };

// Reads the record file at `path` into `series` (emptied first), piece by piece
// into one buffer and the records straight into their list. Without the digest
// only what comes before the end marker is read. Nothing but `series` changes,
// whatever the result.
ReadResult readRecordFile(const std::string& path, RecordSeries& series, Digest digest = Digest::Skip);

// Takes records read from a file, a piece at a time, oldest first and untimed;
// it may move them out of `piece`.
using RecordSink = std::function<void(std::vector<Record>& piece)>;

// Reads the record file at `path` as readRecordFile does, without the digest,
// but hands its records to `take` a piece at a time instead of keeping them,
// for the figures of a file of any length in little memory. `header` is
// filled before the first piece. When the result is not Done, what was handed
// over is no file's records.
ReadResult readRecordPieces(const std::string& path, LoadHeader& header, const RecordSink& take);

// Why a file named `name` gave TooLong: "NAME is longer than a record file can
// be (more than 10000000 records or 300000000 bytes)".
std::string tooLongText(const std::string& name);

// The part of `path` after its last "\" or "/".
std::string fileTitleOf(const std::string& path);

// Writes `records` (oldest first) with `interval` as the record file `path`,
// through a temporary file: false, and the old file intact, when it cannot.
// When written, `digest` (if given) receives the SHA-256 of the bytes.
bool writeRecordFile(const std::string& path, const std::vector<Record>& records, int32_t interval,
                     std::string* digest = nullptr);

} // namespace records
