#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a call on the UI thread, so the program ends as the
// operator's close would. The signal handler only writes a byte into a pipe; the pipe's
// notifier runs the call from the event loop (nested loops included). One per process.
//
// Whoever sends such a signal expects the program to end soon: the closing limit after the
// first one the process ends anyway (exit code 1, a line on standard error), should the UI
// thread be stuck in a wait, until this object is destroyed.
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
    QSocketNotifier* notifier_ = nullptr;
};
