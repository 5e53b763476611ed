#include "bench/support.h"

#include "analysis/statistics.h"
#include "app/startup.h"
#include "platform/platform.h"
#include "platform/testing.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdlib.h>

namespace fs = std::filesystem;

namespace bench {

namespace {

const char* const loopbackSettings =
    "[Settings]\r\nSerial Port = \r\nColor RH = 16711680\r\nColor Temp = 255\r\n"
    "Temperature scale = Celsius\r\nStyle = Dot\r\n[TCP/IP Settings]\r\nIP Address = 127.0.0.1\r\n";

std::string workDir;

// A fresh temporary directory as the working directory, holding the settings.
bool enterWorkDir()
{
    std::string pattern = (fs::temp_directory_path() / "climadesk-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return false;
    workDir = pattern;
    fs::current_path(workDir);
    std::ofstream(pathOf("preferences.pref"), std::ios::binary) << loopbackSettings;
    return true;
}

void leaveWorkDir()
{
    fs::current_path(fs::temp_directory_path());
    std::error_code ignored;
    fs::remove_all(workDir, ignored);
}

// Small deterministic noise: -3 .. 3 tenths.
int32_t noise(uint32_t& seed)
{
    seed = seed * 1664525u + 1013904223u;
    return static_cast<int32_t>(seed >> 16 & 0xFFFF) % 7 - 3;
}

// 0 at midnight rising to 720 at noon and back: minutes away from midnight.
int32_t dayPhase(int32_t minuteOfDay)
{
    return 720 - std::abs(minuteOfDay - 720);
}

int reportFailures()
{
    const auto& failures = platform::testing::failures();
    for (const std::string& failure : failures)
        std::fprintf(stderr, "platform: %s\n", failure.c_str());
    return failures.empty() ? 0 : 1;
}

} // namespace

int runProgram(int argc, char** argv, const std::vector<Step>& setup, const std::vector<Step>& closing)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (!enterWorkDir()) {
        std::fprintf(stderr, "cannot create a working directory\n");
        return 1;
    }
    platform::init();
    platform::testing::begin();
    for (const Step& step : setup)
        platform::testing::post(step);
    platform::testing::post([&closing] {
        benchmark::RunSpecifiedBenchmarks();
        for (const Step& step : closing)
            platform::testing::post(step);
    });
    app::run();
    int code = reportFailures();
    platform::testing::end();
    leaveWorkDir();
    benchmark::Shutdown();
    return code;
}

std::vector<records::Record> plausibleRecords(int32_t count, int32_t interval)
{
    std::vector<records::Record> recs(static_cast<size_t>(count));
    uint32_t seed = 12345;
    for (int32_t i = 0; i < count; ++i) {
        int32_t time = newestTime - (count - 1 - i) * interval;
        int32_t phase = dayPhase(time % 86400 / 60);
        records::Record& r = recs[static_cast<size_t>(i)];
        r.time = time;
        r.temperature = 170 + phase * 80 / 720 + noise(seed);
        r.humidity = 580 - phase * 200 / 720 + noise(seed);
        if (i % 50000 == 49999)
            r.temperature = r.humidity = 0;
    }
    return recs;
}

void loadStore(const std::vector<records::Record>& recs, int32_t interval)
{
    records::clearRecords();
    for (const records::Record& r : recs)
        records::appendRecord(r.temperature, r.humidity);
    records::store().interval = interval;
    records::store().recordCount = records::recordTotal();
    records::assignRecordTimes(recs.empty() ? -1 : recs.back().time);
    analysis::refreshStatistics();
}

std::string pathOf(const std::string& name)
{
    return (fs::path(workDir) / name).string();
}

} // namespace bench
