// fetch.cpp: the query and the dump, judged before anything is kept.
#include "device/fetch.h"

namespace device {

namespace {

// Dumps `count` samples into fetch.samples, or fails the fetch when fewer than
// all their bytes came.
void receiveDump(int32_t count, const Progress& progress, Fetch& fetch)
{
    sendCommand(dumpCommand);
    int32_t received = receiveReply(count > 0 ? count * sampleSize : 0, progress);
    fetch.closedByDevice = linkState().closedByDevice;
    if (!decodeDump(linkState().receiveBuffer.data(), received, count, fetch.samples))
        fetch.failure = LinkFailure::IncompleteDump;
}

} // namespace

Fetch fetchSamples(uint32_t address, const Progress& progress)
{
    Fetch fetch;
    if (!connectDevice(address)) {
        fetch.failure = LinkFailure::CannotConnect;
        return fetch;
    }
    sendCommand(queryCommand);
    // A short reply is no reply: the buffer's rest would be an older reply's bytes.
    const bool whole = receiveReply(queryReplySize, progress) >= queryReplySize;
    fetch.closedByDevice = linkState().closedByDevice;
    if (!whole) {
        fetch.failure = LinkFailure::NoDevice;
        return fetch;
    }
    copyReplyBlock(queryReplySize);
    const QueryReply reply = decodeQuery(linkState().replyBytes);
    switch (reply.status) {
    case ReplyStatus::Ok:
        fetch.newestTime = reply.newestTime;
        fetch.interval = reply.interval;
        receiveDump(reply.sampleCount, progress, fetch);
        break;
    case ReplyStatus::Busy: fetch.failure = LinkFailure::Busy; break;
    case ReplyStatus::Other: fetch.failure = LinkFailure::NoDevice; break;
    }
    return fetch;
}

records::RecordSeries seriesOf(const Fetch& fetch)
{
    records::RecordSeries series;
    series.header.newestTime = fetch.newestTime;
    series.header.interval = fetch.interval;
    series.records.reserve(fetch.samples.size());
    for (const Sample& sample : fetch.samples)
        series.records.push_back(records::Record{0, sample.humidity, sample.temperature});
    records::assignTimes(series.records, fetch.newestTime, fetch.interval);
    return series;
}

} // namespace device
