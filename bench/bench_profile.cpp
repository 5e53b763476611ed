// bench_profile: the RH Profile window with a million records loaded.
//
// The benchmarks run while the RH Profile window is open (its button clicked
// through the main loop), so fillProfile refills the real list and the record-
// time picker opens over the real window. FillProfile counts the whole store
// and rebuilds the list. PickRecordTime opens the "Input Time" window listing
// 100,000 or 1,000,000 record times; a posted step closes it with its close box
// at its first wait, so each call measures building and showing the list once.
// TypeRecordTime types a record time into the open picker of a million entries.
#include "bench/support.h"

#include "analysis/profile.h"
#include "app/ids.h"
#include "platform/controls.h"
#include "platform/testing.h"
#include "platform/window.h"
#include "records/datemask.h"
#include "records/store.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

namespace t = platform::testing;

constexpr int32_t recordCount = 1'000'000;
constexpr int32_t interval = 60;
// Fourteen temperature bands, an empty row and the "Tot" row.
constexpr size_t profileRows = 16;

void loadAndOpenProfile()
{
    bench::loadStore(bench::plausibleRecords(recordCount, interval), interval);
    t::click(app::profileButton);
}

void FillProfile(benchmark::State& state)
{
    if (!platform::windowExists(app::profileWindow)) {
        state.SkipWithError("the RH Profile window is not open");
        return;
    }
    for (auto _ : state)
        analysis::fillProfile();
    std::vector<std::string> rows = t::listRows(app::profileList);
    if (rows.size() != profileRows || records::store().rangeEnd != recordCount - 1)
        state.SkipWithError("the profile does not cover the whole store");
    state.SetItemsProcessed(state.iterations() * recordCount);
}
BENCHMARK(FillProfile)->Unit(benchmark::kMillisecond);

void PickRecordTime(benchmark::State& state)
{
    const auto listed = static_cast<int32_t>(state.range(0));
    const int32_t current = listed / 2;
    // Once untimed: the picker lists every record time and selects `current`.
    bool listedAll = false;
    t::post([&] {
        listedAll = t::dropDownEntries(app::timePickerList).size() == static_cast<size_t>(listed)
            && platform::selectedDropDownEntry(app::timePickerList) == current;
        t::requestClose(app::timePickerWindow);
    });
    analysis::pickRecordTime(0, current, listed - 1);
    if (!listedAll) {
        state.SkipWithError("the picker does not list every record time");
        return;
    }
    int32_t picked = -1;
    for (auto _ : state) {
        t::post([] { t::requestClose(app::timePickerWindow); });
        picked = analysis::pickRecordTime(0, current, listed - 1);
    }
    // The close box returns the record the picker was opened with.
    if (picked != current || platform::windowExists(app::timePickerWindow))
        state.SkipWithError("the picker did not open and close as expected");
    state.SetItemsProcessed(state.iterations() * listed);
}
BENCHMARK(PickRecordTime)->Arg(100'000)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(PickRecordTime)->Arg(1'000'000)->Iterations(3)->Unit(benchmark::kMillisecond);

// Typing the newest record's time into the picker's million entries, the worst
// case of type-ahead: its first entry lies at the end of the list. Between the
// runs, untimed, the selection goes back to the oldest entry and a pause of the
// type-ahead starts a new search.
void TypeRecordTime(benchmark::State& state)
{
    const std::string newest = records::formatTime("%yyyy-%mm-%dd %hh:%ii:%ss", records::recordAt(recordCount - 1).time);
    bool foundEach = true;
    t::post([&] {
        for (auto _ : state) {
            t::typeText(app::timePickerList, newest);
            state.PauseTiming();
            foundEach = foundEach && platform::selectedDropDownEntry(app::timePickerList) == recordCount - 1;
            platform::selectDropDownEntry(app::timePickerList, 0);
            t::pumpFor(1100);
            state.ResumeTiming();
        }
        t::requestClose(app::timePickerWindow);
    });
    analysis::pickRecordTime(0, 0, recordCount - 1);
    if (!foundEach)
        state.SkipWithError("typing did not select the newest record");
    state.SetItemsProcessed(state.iterations() * recordCount);
}
BENCHMARK(TypeRecordTime)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::runProgram(argc, argv, {loadAndOpenProfile},
                             {[] { t::requestClose(app::profileWindow); },
                              [] { t::chooseMenu(app::menuExit); }});
}
