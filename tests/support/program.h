// program.h: fixture for scenario tests that run the whole program.
//
// SetUp writes a preferences.pref whose device address is on loopback, so that
// no test can ever reach a real network, then the test posts its steps and calls
// runProgram(), which runs start-up, the real main loop and the shutdown.
#pragma once

#include "support/seam.h"

#include "app/state.h"
#include "platform/platform.h"
#include "records/store.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A control's caption (nullptr: not checked) and its rectangle in client coordinates.
struct Placement {
    int id;
    const char* caption;
    platform::Rect rect;
};

// Checks that every control has its caption and stands at its rectangle.
void expectPlacements(const std::vector<Placement>& placements);

class ProgramTest : public SeamTest {
protected:
    void SetUp() override;

    // Start-up, main loop, shutdown: returns the program's exit code.
    int runProgram();

    // Replaces preferences.pref: default colours and dots, the given scale and address.
    void writePreferences(const std::string& address, bool celsius = true) const;
    // The settings file as the program writes it for those settings.
    static std::string preferencesText(const std::string& address, bool celsius = true);

    // 2024-03-15 12:00:00 as the program counts (no time zone).
    static constexpr int32_t march15Noon = 1710504000;

    // Loads `values` ({temperature, humidity} in tenths, oldest first) through the
    // store's own operations, as a load would, `interval` seconds apart with the
    // newest at `newestTime`, and refreshes the views.
    static void loadValues(const std::vector<std::pair<int32_t, int32_t>>& values, int32_t interval,
                           int32_t newestTime = march15Noon);
    // `count` plausible records, loaded as above.
    static void fillStore(int32_t count, int32_t interval, int32_t newestTime = march15Noon);
};
