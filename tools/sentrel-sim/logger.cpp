#include "logger.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace sim {

namespace {

constexpr double pi = 3.14159265358979323846;

// A small deterministic generator, so a seed gives the same curves everywhere.
class Random {
public:
    explicit Random(unsigned seed) : state(0x9E3779B97F4A7C15ull ^ seed) {}
    // Uniform in [0, 1).
    double next()
    {
        state += 0x9E3779B97F4A7C15ull;
        uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<double>((z ^ (z >> 31)) >> 11) / 9007199254740992.0;
    }

private:
    uint64_t state;
};

// Now in local time, rounded down to the interval, as "YYYY/MM/DDHH:MM".
std::string nowText(int intervalMinutes)
{
    std::time_t now = std::time(nullptr);
    if (intervalMinutes > 0)
        now -= now % (intervalMinutes * 60);
    std::tm local = {};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min);
    return text;
}

std::string rampSamples(int count)
{
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += i % 25 == 24 ? encodeSample(0, 0) : encodeSample(300 + i % 600, -100 + i % 500);
    return bytes;
}

// About 20 C and 48 %RH, a daily swing ending at the newest sample, a slow drift
// and a little noise; about one sample in 250 is a gap.
std::string curveSamples(int count, int intervalMinutes, unsigned seed)
{
    Random random(seed);
    std::string bytes;
    double drift = 0;
    for (int i = 0; i < count; ++i) {
        drift = std::clamp(drift + (random.next() - 0.5) * 0.4, -15.0, 15.0);
        if (random.next() < 0.004) {
            bytes += encodeSample(0, 0);
            continue;
        }
        double day = 2 * pi * (i - count) * intervalMinutes / 1440.0;
        int temperature = static_cast<int>(std::lround(205 + 20 * std::sin(day) + drift + (random.next() - 0.5) * 4));
        int humidity = static_cast<int>(std::lround(480 - 60 * std::sin(day) - drift * 2 + (random.next() - 0.5) * 8));
        bytes += encodeSample(humidity, temperature);
    }
    return bytes;
}

void put(std::string& reply, size_t offset, const std::string& text)
{
    reply.replace(offset, text.size(), text);
}

} // namespace

std::string encodeSample(int humidity, int temperature)
{
    if (humidity == 0 && temperature == 0)
        return std::string(3, '\0');
    int raw = std::clamp(temperature + 400, 0, 4095);
    humidity = std::clamp(humidity, 0, 4095);
    return {static_cast<char>((humidity >> 8) << 4 | raw >> 8), static_cast<char>(humidity & 0xFF),
            static_cast<char>(raw & 0xFF)};
}

Logger::Logger(const Options& given) : options(given)
{
    if (options.newest.empty())
        newestText = nowText(options.intervalMinutes);
    else
        newestText = options.newest.substr(0, 10) + options.newest.substr(11);
    samples = options.ramp ? rampSamples(options.samples)
                           : curveSamples(options.samples, options.intervalMinutes, options.seed);
}

std::string Logger::queryReply(Status status, double nowSeconds, int query) const
{
    std::string reply(64, ' ');
    switch (status) {
    case Status::Ok: put(reply, 0, "QX51OK"); break;
    case Status::Busy: put(reply, 0, "QX51BUSY"); break;
    case Status::Garbled: put(reply, 0, "QX51ERR"); break;
    }
    put(reply, 10, newestText);
    if (options.zeroDate)
        put(reply, 25, std::string(5, '\0'));
    char field[16];
    std::snprintf(field, sizeof field, "SR = %02dmin", options.intervalMinutes);
    put(reply, 30, field);
    if (options.rawInterval)
        put(reply, 35, std::string(*options.rawInterval).append(2 - options.rawInterval->size(), ' '));
    std::snprintf(field, sizeof field, "%05d", options.samples);
    put(reply, 45, options.rawCount ? std::string(*options.rawCount).append(5 - options.rawCount->size(), ' ') : field);
    put(reply, 50, readingBytes(nowSeconds, query));
    for (int i = 0; i < options.queryExtraBytes; ++i)
        reply += static_cast<char>('a' + i % 26);
    return reply;
}

std::string Logger::dumpReply() const
{
    std::string dump = samples;
    if (options.shortDump >= 0 && static_cast<size_t>(options.shortDump) < dump.size())
        dump.resize(static_cast<size_t>(options.shortDump));
    for (int i = 0; i < options.extraBytes; ++i)
        dump += static_cast<char>('A' + i % 26);
    if (options.resetAfter >= 0 && static_cast<size_t>(options.resetAfter) < dump.size())
        dump.resize(static_cast<size_t>(options.resetAfter));
    return dump;
}

std::string Logger::readingBytes(double nowSeconds, int query) const
{
    if (!options.readings.empty()) {
        const size_t last = options.readings.size() - 1;
        const std::string& text = options.readings[std::min(static_cast<size_t>(query), last)];
        return std::string(text).append(10 - text.size(), '\0');
    }
    // A slow swing of a few minutes with a flicker, so every query may differ.
    double swing = std::sin(2 * pi * nowSeconds / 180);
    double flicker = std::sin(nowSeconds * 7.3) * 0.15;
    char text[32];
    std::snprintf(text, sizeof text, "%5.1f%5.1f", 21.0 + 1.5 * swing + flicker, 47.0 - 4 * swing + flicker);
    return std::string(text, 10);
}

} // namespace sim
