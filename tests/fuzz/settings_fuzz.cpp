// Fuzz target: the bytes of a settings file, read, written and read again.
// Whatever the file holds, what is written must read back as the same settings,
// and writing those again must give the same bytes.
#include "check.h"

#include "app/settings.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

size_t countOf(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1))
        ++count;
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const app::Settings read = app::parseSettings(bytes);
    const std::string written = app::formatSettings(read);
    const app::Settings reread = app::parseSettings(written);
    FUZZ_CHECK(reread == read);
    FUZZ_CHECK(app::formatSettings(reread) == written);

    // Eight lines, each ended by CR LF, and no other line end: a serial port text
    // cannot break the file into more lines.
    FUZZ_CHECK(countOf(written, "\r\n") == 8);
    FUZZ_CHECK(written.size() >= 2 && written.compare(written.size() - 2, 2, "\r\n") == 0);
    FUZZ_CHECK(countOf(written, "\r") == 8 && countOf(written, "\n") == 8);

    // The address text is four octets of one to three digits.
    const std::string address = app::addressText(read.deviceAddress);
    FUZZ_CHECK(address.size() >= 7 && address.size() <= 15);
    return 0;
}
