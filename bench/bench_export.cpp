// bench_export: the export operation to the new formats, as File > Export As
// Excel runs it after its dialog.
//
// ExportXlsx writes 99,999 records (a full logger) to an Excel Workbook:
// libxlsxwriter, the check of what it wrote and the replacing of the file.
// ExportCsv writes a million records (an archive) to CSV in each style. Both
// report records per second (items_per_second).
#include "bench/support.h"

#include "app/ids.h"
#include "export/export.h"
#include "platform/testing.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int32_t loggerRecords = 99'999;
constexpr int32_t archiveRecords = 1'000'000;
constexpr int32_t interval = 60;

std::vector<records::Record> logger;
std::vector<records::Record> archive;

void makeRecords()
{
    logger = bench::plausibleRecords(loggerRecords, interval);
    archive = bench::plausibleRecords(archiveRecords, interval);
}

void exportOrFail(benchmark::State& state, const std::vector<records::Record>& recs, const std::string& path,
                  xls::Format format, xls::ExportOptions options)
{
    for (auto _ : state) {
        if (xls::exportRecords(recs, path, format, options) != xls::ExportResult::Written)
            state.SkipWithError("the export failed");
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(recs.size()));
}

void ExportXlsx(benchmark::State& state)
{
    exportOrFail(state, logger, bench::pathOf("logger.xlsx"), xls::Format::Xlsx, {});
}
BENCHMARK(ExportXlsx)->Unit(benchmark::kMillisecond)->Iterations(5);

void ExportCsv(benchmark::State& state)
{
    const auto style = static_cast<xls::CsvStyle>(state.range(0));
    exportOrFail(state, archive, bench::pathOf("archive.csv"), xls::Format::Csv, {style, false, {}, {}});
}
BENCHMARK(ExportCsv)
    ->Arg(static_cast<int>(xls::CsvStyle::Data))
    ->Arg(static_cast<int>(xls::CsvStyle::Spreadsheet))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    return bench::runProgram(argc, argv, {makeRecords}, {[] { platform::testing::chooseMenu(app::menuExit); }});
}
