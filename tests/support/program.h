// program.h: fixture for scenario tests that run the whole program.
//
// SetUp writes a preferences.pref whose device address is on loopback, so that
// no test can ever reach a real network, then the test posts its steps and calls
// runProgram(), which runs start-up, the real main loop and the shutdown.
#pragma once

#include "support/seam.h"

#include "app/state.h"
#include "records/store.h"

#include <cstdint>
#include <vector>

class ProgramTest : public SeamTest {
protected:
    void SetUp() override;

    // Start-up, main loop, shutdown: returns the program's exit code.
    int runProgram();

    // Fills the store through its own operations, as a load would, and refreshes:
    // `count` records `interval` seconds apart ending at `newestTime`.
    static void fillStore(int32_t count, int32_t interval, int32_t newestTime);
};
