#include "app/state.h"

namespace app {

namespace {
AppState appState;
}

AppState& state()
{
    return appState;
}

void resetState()
{
    appState = AppState{};
}

} // namespace app
