// signals.h: waiting for the request to stop that a service gets (SIGINT from
// Ctrl+C, SIGTERM from systemd or kill).
//
// Use: call holdStopSignals before any thread starts, so every thread inherits
// the mask and none is interrupted by them; later the main thread calls
// waitStopSignal, which returns when one of them comes. A signal that came
// between the two is not lost: it waits, held, until then.
#pragma once

namespace platform {

// Holds SIGINT and SIGTERM back in the calling thread and the threads it starts.
void holdStopSignals();
// Waits until SIGINT or SIGTERM comes; returns its number.
int waitStopSignal();

} // namespace platform
