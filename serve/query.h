// query.h: one query of one logger, the Monitor's "QX51C" exchange, over a
// connection of the logger's own, for `climadesk serve`.
//
// A Link is one logger's connection; it stays open between queries, as the
// Monitor keeps it, and is opened again when it was lost. queryLogger sends the
// query and waits for the 64-byte reply: it gives up when no byte came for 2 s
// (the receive routine's silence time-out) or when the whole query has taken
// `budgetMs`, so one query never outlasts the caller's interval. Waiting is in
// slices of at most 100 ms, and `stopping` (when it turns true) ends the wait
// early. After any failure the connection is closed, so the next query starts
// clean and no late bytes of an old reply are taken for a new one.
//
// The readings are the logger's display texts (protocol.h) read as numbers
// with at most one decimal ("21.3", "-4", " 47.9"); a reply whose status is not
// "QX51OK" or "BUSY", or whose texts are no such numbers, is garbage.
#pragma once

#include "platform/socket.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string_view>

namespace serve {

// Why a query brought no reading. The order of the reasons' table.
enum QueryFailure : int {
    ConnectFailed = 0,   // "connect": no connection could be made
    ClosedByLogger = 1,  // "closed": the logger closed the connection before the whole reply
    Silent = 2,          // "silent": no whole reply in time
    Garbage = 3,         // "garbage": a reply that says nothing readable
    Busy = 4,            // "busy": the logger answered "BUSY"
};
constexpr int queryFailureCount = 5;

// The reason's label value: "connect", "closed", "silent", "garbage", "busy".
const char* failureReason(QueryFailure failure);

struct Answer {
    std::optional<QueryFailure> failure;   // none: the fields below hold the reply
    int32_t temperature = 0;   // tenths of a degree Celsius
    int32_t humidity = 0;      // tenths of %RH
    int32_t newestTime = -1;   // wall-clock time of the newest stored sample, -1 unreadable
    int32_t interval = 0;      // seconds between stored samples
    int32_t sampleCount = 0;   // stored samples
    int64_t durationMs = 0;    // how long the query took
};

struct Link {
    int socket = platform::noSocket;
};

// Queries the logger at `address` (first octet in the low byte) on port 80.
Answer queryLogger(Link& link, uint32_t address, int budgetMs, const std::atomic<bool>& stopping);

// Closes the link's connection, if open.
void closeLink(Link& link);

} // namespace serve
