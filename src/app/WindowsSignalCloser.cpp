#include "SignalCloser.h"

#include <QMetaObject>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <windows.h>

namespace {

std::mutex g_mutex;
std::function<void()> g_post; // posts the close to the UI thread while a closer exists
HANDLE g_destroyed = nullptr;
DWORD g_closingLimitMilliseconds = SignalCloser::kClosingLimitSeconds * 1000;

// Runs on a thread of its own. The system ends the process when this returns from a console
// close, a logoff or a shutdown, so it waits for the close to finish, and ends the process
// itself should the close not finish within the limit.
BOOL WINAPI OnConsoleEnd(DWORD) {
    {
        const std::lock_guard lock(g_mutex);
        if (!g_post) {
            return FALSE;
        }
        g_post();
    }
    if (WaitForSingleObject(g_destroyed, g_closingLimitMilliseconds) == WAIT_TIMEOUT) {
        std::fputs("control-panel: the close did not end in time; ending now\n", stderr);
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }
    return TRUE;
}

} // namespace

SignalCloser::SignalCloser(std::function<void()> close, unsigned closingLimitSeconds,
                           QObject* parent)
    : QObject(parent), close_(std::move(close)) {
    if (g_destroyed == nullptr) {
        g_destroyed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (g_destroyed == nullptr) {
            throw std::runtime_error("no event for the console's ending");
        }
    }
    ResetEvent(g_destroyed);
    g_closingLimitMilliseconds = closingLimitSeconds * 1000;
    {
        const std::lock_guard lock(g_mutex);
        g_post = [this] {
            QMetaObject::invokeMethod(
                this, [this] { Drain(); }, Qt::QueuedConnection);
        };
    }
    SetConsoleCtrlHandler(OnConsoleEnd, TRUE);
}

SignalCloser::~SignalCloser() {
    SetConsoleCtrlHandler(OnConsoleEnd, FALSE);
    {
        const std::lock_guard lock(g_mutex);
        g_post = nullptr;
    }
    SetEvent(g_destroyed);
}

void SignalCloser::Drain() {
    close_();
}
