// poller.h: every logger queried on its own schedule, one thread per logger.
//
// Each logger has a worker thread that queries it (query.h) every `everyMs`
// milliseconds, at fixed times from the start, and keeps what came in that
// logger's LoggerState. A query takes at most nine tenths of the interval, so no
// logger ever has two requests out at a time, and a logger that is silent,
// refuses, hangs up or talks garbage holds up only its own thread: the others
// keep their schedule. The HTTP handlers read copies of the states (snapshot),
// taken under one lock, so a page never shows half an update.
//
// Use: startPolling once, snapshot as often as wanted, stopPolling once; it
// wakes every worker, waits for them (at most about 100 ms each) and closes
// their connections.
#pragma once

#include "serve/loggers.h"
#include "serve/query.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace serve {

// What the last answered query said.
struct Reading {
    int32_t temperature;   // tenths of a degree Celsius
    int32_t humidity;      // tenths of %RH
    int32_t newestTime;    // wall-clock time of the newest stored sample, -1 unreadable
    int32_t interval;      // seconds
    int32_t sampleCount;
};

struct LoggerState {
    Logger logger;
    // True when the last query was answered; false before the first.
    bool up = false;
    // The last answered query's reading; kept while the logger does not answer.
    std::optional<Reading> reading;
    // UTC seconds of the last answer, and since when it has not answered
    // (the first failure after an answer, or the start); 0 for never.
    int64_t answeredAt = 0;
    int64_t downSince = 0;
    uint64_t queries = 0;
    uint64_t failures[queryFailureCount] = {};
    int64_t lastDurationMs = 0;
};

// Starts one worker per logger.
void startPolling(const std::vector<Logger>& loggers, int64_t everyMs);
// The loggers' states now, in the order they were given.
std::vector<LoggerState> snapshot();
void stopPolling();

// Updates `state` with the outcome of one query at UTC second `now`.
void noteAnswer(LoggerState& state, const Answer& answer, int64_t now);

} // namespace serve
