#include "cli/cancel_signals.h"

#include <windows.h>

namespace {

volatile LONG requested = 0;

BOOL WINAPI onControl(DWORD event)
{
    InterlockedExchange(&requested, 1);
    // Closing the console, logging off or shutting down end the process as soon as this returns:
    // waiting here gives the run the few seconds the system allows to remove its unfinished file.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        Sleep(10000);
    return TRUE;
}

} // namespace

void cancelOnSignals() { SetConsoleCtrlHandler(onControl, TRUE); }

bool cancelRequested() { return InterlockedCompareExchange(&requested, 0, 0) != 0; }

// Windows sends no signal for a closed pipe: the write fails by itself.
void ignoreClosedPipes() {}
