// bench_report: the PDF report of a full logger, 99,999 records with all four
// limits set, written by report::writeReport as File > Export Report and
// `climadesk report` write it: the figures, the graph drawn and embedded, the
// tables, the file. The goal is under 0.5 s.
#include "bench/support.h"

#include "app/ids.h"
#include "app/settings.h"
#include "platform/file.h"
#include "platform/testing.h"
#include "report/report.h"

#include <benchmark/benchmark.h>

namespace {

namespace t = platform::testing;

constexpr int32_t recordCount = 99'999;
constexpr int32_t interval = 600;

// Limits the indoor swing (17 to 25 degrees C, 38 to 58 %RH) crosses every day.
void loadWithLimits()
{
    bench::loadStore(bench::plausibleRecords(recordCount, interval), interval);
    analysis::Limits& limits = app::settings().limits;
    limits.value[analysis::TemperatureLow] = 180;
    limits.value[analysis::TemperatureHigh] = 240;
    limits.value[analysis::HumidityLow] = 400;
    limits.value[analysis::HumidityHigh] = 550;
    limits.delayMinutes = 30;
}

void WriteReport(benchmark::State& state)
{
    const std::string path = platform::workingDirectory() + "report.pdf";
    for (auto _ : state)
        if (!report::writeReport(path)) {
            state.SkipWithError("the report was not written");
            return;
        }
    std::string bytes;
    if (!platform::readFile(path, bytes) || bytes.compare(0, 5, "%PDF-") != 0)
        state.SkipWithError("no PDF file was written");
    state.counters["bytes"] = static_cast<double>(bytes.size());
    state.SetItemsProcessed(state.iterations() * recordCount);
}
BENCHMARK(WriteReport)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::runProgram(argc, argv, {loadWithLimits}, {[] { t::chooseMenu(app::menuExit); }});
}
