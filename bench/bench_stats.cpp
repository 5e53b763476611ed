// bench_stats: the parts of `climadesk stats` on a record file of a million
// records, taken a piece at a time as the command takes them: the reading
// alone, the summary and the audit (means, dew points, MKT and its windows,
// the excursions of four limits). scripts/bench-stats times the whole process.
#include "bench/support.h"

#include "analysis/limits.h"
#include "analysis/summary.h"
#include "app/ids.h"
#include "platform/testing.h"
#include "records/logfile.h"
#include "records/recordfile.h"

#include <benchmark/benchmark.h>

#include <fstream>

namespace {

constexpr int32_t recordCount = 1'000'000;
constexpr int32_t interval = 60;
// The records of one piece of the reading (256 KiB of lines).
constexpr size_t pieceRecords = 21'845;

std::string recordFile;
std::vector<records::Record> recs;

void writeRecordFile()
{
    recs = bench::plausibleRecords(recordCount, interval);
    recordFile = bench::pathOf("million.log");
    std::ofstream(recordFile, std::ios::binary) << records::formatLogFile(recs, interval);
}

// Hands `recs` to `take` in pieces as the reading would.
template <typename Take>
void inPieces(Take take)
{
    for (size_t at = 0; at < recs.size(); at += pieceRecords)
        take(recs.data() + at, std::min(pieceRecords, recs.size() - at));
}

void ReadRecordPieces(benchmark::State& state)
{
    size_t count = 0;
    for (auto _ : state) {
        count = 0;
        records::LoadHeader header;
        const auto take = [&count](std::vector<records::Record>& piece) { count += piece.size(); };
        if (records::readRecordPieces(recordFile, header, take) != records::ReadResult::Done)
            state.SkipWithError("the file was not read");
    }
    if (count != recordCount)
        state.SkipWithError("the reading did not hand over every record");
    state.SetItemsProcessed(state.iterations() * recordCount);
}
BENCHMARK(ReadRecordPieces)->Unit(benchmark::kMillisecond);

void SummaryScan(benchmark::State& state)
{
    for (auto _ : state) {
        analysis::SummaryScan scan;
        inPieces([&scan](const records::Record* first, size_t n) { scan.add(first, n); });
        benchmark::DoNotOptimize(scan.finish(interval, records::timesOf(recs)));
    }
    state.SetItemsProcessed(state.iterations() * recordCount);
}
BENCHMARK(SummaryScan)->Unit(benchmark::kMillisecond);

void LimitScan(benchmark::State& state)
{
    analysis::Limits limits;
    if (state.range(0)) {
        limits.value[analysis::TemperatureLow] = 180;
        limits.value[analysis::TemperatureHigh] = 240;
        limits.value[analysis::HumidityLow] = 400;
        limits.value[analysis::HumidityHigh] = 550;
    }
    for (auto _ : state) {
        analysis::LimitScan scan(interval, limits);
        inPieces([&scan](const records::Record* first, size_t n) { scan.add(first, n); });
        benchmark::DoNotOptimize(scan.finish(records::timesOf(recs)));
    }
    state.SetItemsProcessed(state.iterations() * recordCount);
}
BENCHMARK(LimitScan)->ArgName("limits")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::runProgram(argc, argv, {writeRecordFile},
                             {[] { platform::testing::chooseMenu(app::menuExit); }});
}
