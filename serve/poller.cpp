// poller.cpp: the workers. Why threads rather than one poll loop: each logger's
// exchange stays the plain sequence the Monitor runs (connect, send, wait for
// the reply), a stuck logger cannot stall a shared loop, and the schedule of
// each logger is one line. A hundred loggers cost a hundred sleeping threads.
#include "serve/poller.h"

#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace serve {

namespace {

struct PollerState {
    std::mutex guard;
    std::condition_variable wake;
    std::atomic<bool> stopping{false};
    std::vector<LoggerState> states;
    std::vector<std::thread> workers;
    int64_t everyMs = 0;
};

PollerState poller;

// Sleeps until `when` (steady milliseconds); false when stopping.
bool sleepUntil(int64_t when)
{
    std::unique_lock<std::mutex> lock(poller.guard);
    const auto left = std::chrono::milliseconds(when - platform::milliseconds());
    poller.wake.wait_for(lock, left, [] { return poller.stopping.load(); });
    return !poller.stopping.load();
}

void pollLogger(size_t index)
{
    const uint32_t address = poller.states[index].logger.address;
    Link link;
    int64_t due = platform::milliseconds();
    do {
        // A tenth of the interval stays free, so the next query starts on time.
        const Answer answer = queryLogger(link, address, static_cast<int>(poller.everyMs * 9 / 10), poller.stopping);
        if (poller.stopping.load())
            break;
        {
            std::lock_guard<std::mutex> lock(poller.guard);
            noteAnswer(poller.states[index], answer, platform::secondsNow());
        }
        // Fixed times from the start; a slot already past is skipped, not made up.
        due += poller.everyMs;
        const int64_t now = platform::milliseconds();
        if (due < now)
            due += (now - due) / poller.everyMs * poller.everyMs + poller.everyMs;
    } while (sleepUntil(due));
    closeLink(link);
}

} // namespace

void noteAnswer(LoggerState& state, const Answer& answer, int64_t now)
{
    ++state.queries;
    state.lastDurationMs = answer.durationMs;
    if (answer.failure) {
        ++state.failures[*answer.failure];
        if (state.up || state.downSince == 0)
            state.downSince = now;
        state.up = false;
        return;
    }
    state.up = true;
    state.answeredAt = now;
    state.downSince = 0;
    state.reading = Reading{answer.temperature, answer.humidity, answer.newestTime, answer.interval, answer.sampleCount};
}

void startPolling(const std::vector<Logger>& loggers, int64_t everyMs)
{
    poller.stopping = false;
    poller.everyMs = everyMs > 0 ? everyMs : 1;
    poller.states.clear();
    const int64_t start = platform::secondsNow();
    for (const Logger& logger : loggers) {
        LoggerState state;
        state.logger = logger;
        state.downSince = start;
        poller.states.push_back(state);
    }
    for (size_t i = 0; i < loggers.size(); ++i)
        poller.workers.emplace_back(pollLogger, i);
}

std::vector<LoggerState> snapshot()
{
    std::lock_guard<std::mutex> lock(poller.guard);
    return poller.states;
}

void stopPolling()
{
    {
        std::lock_guard<std::mutex> lock(poller.guard);
        poller.stopping = true;
    }
    poller.wake.notify_all();
    for (std::thread& worker : poller.workers)
        worker.join();
    poller.workers.clear();
}

} // namespace serve
