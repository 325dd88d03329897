// The stop signals of a Windows console: Ctrl+C, Ctrl+Break, the console window closed, the
// user logging off and the system shutting down. The handler runs on a thread of its own and
// only sets the flag.
#include "StopSignal.h"

#include <atomic>
#include <windows.h>

namespace {

// Windows ends the process as soon as the handler returns from a close, log-off or shutdown:
// it waits here, for at most the few seconds the system grants, while the program closes its
// port and files and exits.
constexpr DWORD kClosingGraceMilliseconds = 4500;

std::atomic<bool> stopRequested{false};

BOOL WINAPI RequestStop(DWORD event) {
    stopRequested = true;
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        Sleep(kClosingGraceMilliseconds);
    }
    return TRUE;
}

} // namespace

void CatchStopSignals() {
    SetConsoleCtrlHandler(RequestStop, TRUE);
}

bool StopRequested() {
    return stopRequested;
}
