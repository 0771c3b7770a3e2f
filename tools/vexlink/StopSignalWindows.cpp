#include "StopSignal.h"

#include <windows.h>

#include <atomic>

namespace vexlink_cli {

namespace {

std::atomic<bool> gStop{false};

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI onConsoleEvent(DWORD event) {
    gStop = true;
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        // The process ends when this returns: give the sampling loop time to put the tracker
        // back and close the port first (the loop ends the process sooner when it is done).
        ::Sleep(2000);
    }
    return TRUE;
}

}  // namespace

void installStopHandlers() { ::SetConsoleCtrlHandler(onConsoleEvent, TRUE); }

bool stopRequested() { return gStop; }

}  // namespace vexlink_cli
