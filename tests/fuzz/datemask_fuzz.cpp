// Fuzz target: date masks and texts. The input gives a time (any 32-bit value,
// negative ones included), a mask and a text. Formatting must agree with the C
// library's UTC calendar, parsing must stay in range, and a mask holding all six
// fields must read back the time it wrote.
#include "check.h"

#include "records/datemask.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view fieldTokens[] = {"%yyyy", "%mm", "%dd", "%hh", "%ii", "%ss"};

bool holdsEveryField(std::string_view mask)
{
    for (std::string_view token : fieldTokens) {
        if (mask.find(token) == std::string_view::npos)
            return false;
    }
    return true;
}

// The six fields of `time` from gmtime_r, an independent calendar; zeros when negative.
std::string referenceFields(int32_t time)
{
    if (time < 0)
        return "00000000000000";
    const std::time_t seconds = time;
    std::tm fields{};
    gmtime_r(&seconds, &fields);
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", fields.tm_year + 1900,
                  fields.tm_mon + 1, fields.tm_mday, fields.tm_hour, fields.tm_min, fields.tm_sec);
    return text;
}

void checkFormat(const std::string& mask, int32_t time)
{
    const std::string text = records::formatTime(mask, time);
    // Tokens only shrink ("%yyyy" gives 4 characters, the others 2).
    FUZZ_CHECK(text.size() <= mask.size());
    FUZZ_CHECK(records::formatTime("%yyyy%mm%dd%hh%ii%ss", time) == referenceFields(time));
    if (time >= 0 && holdsEveryField(mask))
        FUZZ_CHECK(records::parseTime(mask, text) == time);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int32_t time = input.ConsumeIntegral<int32_t>();
    const std::string mask = input.ConsumeRandomLengthString(64);
    const std::string text = input.ConsumeRemainingBytesAsString();

    checkFormat(mask, time);

    const int32_t parsed = records::parseTime(mask, text);
    FUZZ_CHECK(parsed >= -1);
    // A time that parses is written back through the same mask as a text that
    // names the same time (it may differ in leading zeros).
    if (parsed >= 0)
        FUZZ_CHECK(records::parseTime(mask, records::formatTime(mask, parsed)) == parsed);
    return 0;
}
