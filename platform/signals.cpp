// signals.cpp: the stop signals, taken synchronously with sigwait(), so no
// handler runs at a random point in some thread. On Windows the console's
// control events (Ctrl+C, Ctrl+Break, the console closing, log-off, shut-down)
// play their part: the handler, which Windows runs in a thread of its own, only
// sets an event that waitStopSignal waits for.
#include "platform/signals.h"

#include <csignal>

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

namespace platform {

#ifdef _WIN32

namespace {

HANDLE stopEvent;
volatile LONG stopSignal;

BOOL WINAPI onConsoleControl(DWORD type)
{
    InterlockedExchange(&stopSignal, type == CTRL_C_EVENT ? SIGINT : SIGTERM);
    SetEvent(stopEvent);
    // For the closing of the console Windows ends the process once this
    // returns: give the main thread a moment to stop the service first.
    if (type == CTRL_CLOSE_EVENT || type == CTRL_LOGOFF_EVENT || type == CTRL_SHUTDOWN_EVENT)
        Sleep(2000);
    return TRUE;
}

} // namespace

void holdStopSignals()
{
    if (!stopEvent)
        stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

int waitStopSignal()
{
    WaitForSingleObject(stopEvent, INFINITE);
    return static_cast<int>(stopSignal);
}

#else

namespace {

sigset_t stopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

} // namespace

void holdStopSignals()
{
    const sigset_t set = stopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

int waitStopSignal()
{
    const sigset_t set = stopSignals();
    int signal = 0;
    while (sigwait(&set, &signal) != 0) {
    }
    return signal;
}

#endif

} // namespace platform
