#include "serve/query.h"

#include "app/settings.h"
#include "device/link.h"
#include "device/protocol.h"
#include "platform/clock.h"

#include <algorithm>

namespace serve {

namespace {

constexpr int silenceTimeoutMs = 2000;
constexpr int waitSliceMs = 100;
constexpr int maxDroppedBytes = 4096;

bool connectLink(Link& link, uint32_t address, int timeoutMs)
{
    if (link.socket != platform::noSocket)
        return true;
    link.socket = platform::connectTcp(app::addressText(address), device::devicePort, timeoutMs);
    return link.socket != platform::noSocket;
}

// Receives the 64-byte reply into `reply`; none, or the failure.
std::optional<QueryFailure> receiveQueryReply(Link& link, int64_t deadline, const std::atomic<bool>& stopping,
                                              unsigned char* reply)
{
    int received = 0;
    int64_t silenceEnd = platform::milliseconds() + silenceTimeoutMs;
    while (received < device::queryReplySize) {
        const int64_t now = platform::milliseconds();
        const int64_t end = std::min(deadline, silenceEnd);
        if (now >= end || stopping.load())
            return Silent;
        const int wait = static_cast<int>(std::min<int64_t>(end - now, waitSliceMs));
        switch (platform::waitSocket(link.socket, wait)) {
        case platform::PollResult::Closed: return ClosedByLogger;
        case platform::PollResult::Nothing: break;
        case platform::PollResult::DataWaiting:
            received += platform::receive(link.socket, reply + received,
                                          static_cast<size_t>(device::queryReplySize - received));
            silenceEnd = platform::milliseconds() + silenceTimeoutMs;
            break;
        }
    }
    return std::nullopt;
}

// The reply's readings and header, or the failure it amounts to.
void decodeAnswer(const unsigned char* reply, Answer& answer)
{
    const device::QueryReply decoded = device::decodeQuery(reply);
    if (decoded.status == device::ReplyStatus::Busy) {
        answer.failure = Busy;
        return;
    }
    const device::ReadingTexts texts = device::readingTexts(reply);
    const std::optional<int32_t> temperature = device::readingTenths(texts.temperature);
    const std::optional<int32_t> humidity = device::readingTenths(texts.humidity);
    if (decoded.status != device::ReplyStatus::Ok || !temperature || !humidity) {
        answer.failure = Garbage;
        return;
    }
    answer.temperature = *temperature;
    answer.humidity = *humidity;
    answer.newestTime = decoded.newestTime;
    answer.interval = decoded.interval;
    answer.sampleCount = decoded.sampleCount;
}

} // namespace

const char* failureReason(QueryFailure failure)
{
    switch (failure) {
    case ConnectFailed: return "connect";
    case ClosedByLogger: return "closed";
    case Silent: return "silent";
    case Garbage: return "garbage";
    case Busy: return "busy";
    }
    return "";
}

Answer queryLogger(Link& link, uint32_t address, int budgetMs, const std::atomic<bool>& stopping)
{
    Answer answer;
    const int64_t start = platform::milliseconds();
    const int64_t deadline = start + budgetMs;
    if (!connectLink(link, address, std::min(budgetMs, device::connectTimeoutMs))) {
        answer.failure = ConnectFailed;
    } else {
        // Anything still waiting is a stray reply of an earlier query: the link
        // was closed after every failure, so only a logger that talks unasked
        // sends it. It is dropped, as the Monitor drops it, but only so much of
        // it: from a logger that never stops talking, the rest makes the reply
        // garbage and the link is closed.
        unsigned char reply[device::queryReplySize];
        int dropped = 0;
        while (dropped < maxDroppedBytes && platform::pollSocket(link.socket) == platform::PollResult::DataWaiting) {
            const int got = platform::receive(link.socket, reply, sizeof reply);
            if (got <= 0)
                break;
            dropped += got;
        }
        const std::string request = device::buildRequest(device::queryCommand);
        platform::sendAll(link.socket, request.data(), request.size());
        answer.failure = receiveQueryReply(link, deadline, stopping, reply);
        if (!answer.failure)
            decodeAnswer(reply, answer);
    }
    if (answer.failure)
        closeLink(link);
    answer.durationMs = platform::milliseconds() - start;
    return answer;
}

void closeLink(Link& link)
{
    if (link.socket != platform::noSocket)
        platform::closeSocket(link.socket);
    link.socket = platform::noSocket;
}

} // namespace serve
