#include "device/link.h"

#include "app/settings.h"
#include "device/protocol.h"
#include "platform/clock.h"
#include "platform/events.h"

#include <algorithm>
#include <cstring>

namespace device {

namespace {

constexpr int silenceTimeoutMs = 2000;
constexpr int pollSleepMs = 50;
constexpr int maxChunkBytes = 1000;
constexpr int pollsPerProgress = 11;

LinkState link;

void allocateBuffer()
{
    if (link.receiveBuffer.size() != static_cast<size_t>(receiveBufferSize))
        link.receiveBuffer.assign(receiveBufferSize, 0);
}

// Takes one waiting chunk; what lies beyond `wanted` is dropped. The number of
// bytes the chunk held.
int takeChunk(int32_t wanted)
{
    unsigned char chunk[maxChunkBytes];
    int got = platform::receive(link.deviceConnection, chunk, sizeof chunk);
    int kept = std::min(got, wanted - link.receivedBytes);
    if (kept > 0) {
        std::memcpy(link.receiveBuffer.data() + link.receivedBytes, chunk, static_cast<size_t>(kept));
        link.receivedBytes += kept;
    }
    return got;
}

int percentReceived(int32_t expected)
{
    return static_cast<int>(static_cast<int64_t>(link.receivedBytes) * 100 / expected);
}

// Bytes still arriving from an earlier reply would be taken for the start of the
// next one: drop what is waiting before a request goes out.
void discardWaiting()
{
    unsigned char scrap[1000];
    while (platform::pollSocket(link.deviceConnection) == platform::PollResult::DataWaiting
           && platform::receive(link.deviceConnection, scrap, sizeof scrap) > 0) {
    }
}

} // namespace

LinkState& linkState()
{
    return link;
}

void startLink()
{
    link.deviceConnection = platform::noSocket;
    allocateBuffer();
    std::fill(link.receiveBuffer.begin(), link.receiveBuffer.end(), 0);
    link.receiveReadPos = 0;
    link.receivedBytes = 0;
    link.closedByDevice = false;
}

bool connectDevice(uint32_t address)
{
    if (link.deviceConnection != platform::noSocket)
        platform::closeSocket(link.deviceConnection);
    link.deviceConnection = platform::connectTcp(app::addressText(address), devicePort, connectTimeoutMs);
    return link.deviceConnection != platform::noSocket;
}

void sendCommand(const std::string& command)
{
    discardWaiting();
    // A failed send is not reported here: the receive that follows finds the
    // connection closed and says so.
    std::string request = buildRequest(command);
    platform::sendAll(link.deviceConnection, request.data(), request.size());
}

int32_t receiveReply(int32_t expected, const Progress& progress)
{
    allocateBuffer();
    const int32_t wanted = std::min(expected, receiveBufferSize);
    link.receivedBytes = 0;
    link.closedByDevice = false;
    int64_t silenceMark = platform::milliseconds();
    int polls = 0;
    while (link.receivedBytes < wanted && platform::milliseconds() - silenceMark < silenceTimeoutMs) {
        platform::PollResult poll = platform::pollSocket(link.deviceConnection);
        if (poll == platform::PollResult::Closed) {
            link.closedByDevice = true;
            break;
        }
        if (poll == platform::PollResult::DataWaiting && takeChunk(wanted) > 0)
            silenceMark = platform::milliseconds();
        platform::sleepPainting(pollSleepMs);
        if (++polls == pollsPerProgress) {
            polls = 0;
            if (progress)
                progress(percentReceived(wanted));
        }
    }
    link.receiveReadPos = 0;
    return link.receivedBytes;
}

void copyReplyBlock(int size)
{
    if (size < 0 || size > queryReplySize || link.receiveReadPos > static_cast<int32_t>(link.receiveBuffer.size()) - size)
        return;
    std::memcpy(link.replyBytes, link.receiveBuffer.data() + link.receiveReadPos, static_cast<size_t>(size));
    link.receiveReadPos += size;
}

} // namespace device
