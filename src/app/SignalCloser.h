#pragma once

#include <QObject>
#include <functional>

// Turns the system's requests to end into a call on the UI thread, so the program ends as the
// operator's close would: SIGTERM, SIGINT and SIGHUP on POSIX systems, where the signal handler
// only writes a byte into a pipe whose notifier runs the call from the event loop (nested loops
// included); on Windows the console's Ctrl+C, Ctrl+Break and close and the session's logoff and
// shutdown, whose handler thread posts the call to the UI thread. One per process.
//
// Whoever asks so expects the program to end soon: the closing limit after the first request the
// process ends anyway (exit code 1, a line on standard error), should the UI thread be stuck in
// a wait, until this object is destroyed.
class SignalCloser : public QObject {
    Q_OBJECT

public:
    static constexpr unsigned kClosingLimitSeconds = 4;

    explicit SignalCloser(std::function<void()> close,
                          unsigned closingLimitSeconds = kClosingLimitSeconds,
                          QObject* parent = nullptr);
    ~SignalCloser() override;

private:
    void Drain();

    std::function<void()> close_;
};
