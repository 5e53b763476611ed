// Fuzz target: what a logger sends. The input's first 64 bytes are the query
// reply and the rest is the dump that follows it, of any length: the count in the
// reply and the bytes that came may disagree either way.
//
// As the download does: the reply is taken from a zero-filled buffer and the dump
// goes through decodeDump, which refuses it when fewer bytes came than the count
// announces and never reads beyond the count.
#include "check.h"

#include "device/protocol.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

void checkSample(const unsigned char* bytes)
{
    const device::Sample sample = device::decodeSample(bytes);
    if (bytes[0] == 0) {
        FUZZ_CHECK(sample.temperature == 0 && sample.humidity == 0);
        return;
    }
    FUZZ_CHECK(sample.humidity >= 0 && sample.humidity <= 4095);
    FUZZ_CHECK(sample.temperature >= -400 && sample.temperature <= 3695);
}

bool hasOuterBlank(const std::string& text)
{
    return !text.empty() && (text.front() == ' ' || text.back() == ' ');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The receive buffer is zero-filled, so a short reply reads as zeros beyond its end.
    unsigned char reply[device::queryReplySize] = {};
    std::copy_n(data, std::min<size_t>(size, sizeof reply), reply);

    const device::QueryReply query = device::decodeQuery(reply);
    FUZZ_CHECK(query.status == device::ReplyStatus::Ok || query.status == device::ReplyStatus::Busy
               || query.status == device::ReplyStatus::Other);
    FUZZ_CHECK(query.newestTime >= -1);
    FUZZ_CHECK(query.interval % 60 == 0 && query.interval >= -9 * 60 && query.interval <= 99 * 60);
    FUZZ_CHECK(query.sampleCount >= -9999 && query.sampleCount <= device::maxSamples);

    const device::ReadingTexts texts = device::readingTexts(reply);
    FUZZ_CHECK(texts.temperature.size() <= 5 && texts.humidity.size() <= 5);
    FUZZ_CHECK(!hasOuterBlank(texts.temperature) && !hasOuterBlank(texts.humidity));

    const std::vector<unsigned char> dump(data + std::min<size_t>(size, sizeof reply), data + size);
    std::vector<device::Sample> samples;
    const int32_t came = static_cast<int32_t>(dump.size());
    if (device::decodeDump(dump.data(), came, query.sampleCount, samples))
        FUZZ_CHECK(samples.size() == static_cast<size_t>(std::max(query.sampleCount, 0)));
    else
        FUZZ_CHECK(samples.empty() && int64_t{query.sampleCount} * device::sampleSize > came);
    // Every whole sample that came, whatever the count said.
    for (size_t at = 0; at + device::sampleSize <= dump.size(); at += device::sampleSize)
        checkSample(dump.data() + at);

    // A request is 64 bytes whatever command text it is built from.
    const std::string command(reinterpret_cast<const char*>(data), std::min<size_t>(size, 100));
    FUZZ_CHECK(device::buildRequest(command).size() == device::requestSize);
    return 0;
}
