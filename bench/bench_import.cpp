// bench_import: File > Import Records on a record file of a million records.
//
// ImportRecords runs the real command with its dialog answered by the script:
// reading the file, the load sequence and the views it refreshes. ReadRecordLines
// is the pure reading of the same bytes (lines and record numbers, nothing
// stored), so the two figures show what the load sequence adds. Both report
// records per second (items_per_second).
#include "bench/support.h"

#include "app/ids.h"
#include "platform/testing.h"
#include "records/commands.h"
#include "records/logfile.h"
#include "records/store.h"

#include <benchmark/benchmark.h>

#include <fstream>

namespace {

constexpr int32_t recordCount = 1'000'000;
constexpr int32_t interval = 60;

std::string recordFile;
std::string fileBytes;

void writeRecordFile()
{
    recordFile = bench::pathOf("million.log");
    fileBytes = records::formatLogFile(bench::plausibleRecords(recordCount, interval), interval);
    std::ofstream(recordFile, std::ios::binary) << fileBytes;
}

void ImportRecords(benchmark::State& state)
{
    for (auto _ : state) {
        platform::testing::answerOpenFile(recordFile);
        records::importRecords();
    }
    if (records::recordTotal() != recordCount || records::store().interval != interval)
        state.SkipWithError("the import did not load the whole file");
    state.SetItemsProcessed(state.iterations() * recordCount);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fileBytes.size()));
}
BENCHMARK(ImportRecords)->Unit(benchmark::kMillisecond)->Iterations(5);

void ReadRecordLines(benchmark::State& state)
{
    int64_t lastCount = 0;
    for (auto _ : state) {
        records::LogLines lines(fileBytes);
        std::string_view line;
        for (int header = 0; header < 5; ++header)
            lines.next(line);
        int32_t temperature = 0, humidity = 0;
        int64_t count = 0;
        while (lines.next(line) && records::readRecordLine(line, temperature, humidity)) {
            benchmark::DoNotOptimize(temperature);
            benchmark::DoNotOptimize(humidity);
            ++count;
        }
        lastCount = count;
    }
    if (lastCount != recordCount)
        state.SkipWithError("the reader did not see every record");
    state.SetItemsProcessed(state.iterations() * recordCount);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fileBytes.size()));
}
BENCHMARK(ReadRecordLines)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char** argv)
{
    return bench::runProgram(argc, argv, {writeRecordFile},
                             {[] { platform::testing::chooseMenu(app::menuExit); }});
}
