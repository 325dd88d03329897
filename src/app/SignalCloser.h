#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a call on the UI thread, so the program ends as the
// operator's close would. The signal handler only writes a byte into a pipe; the pipe's
// notifier runs the call from the event loop (nested loops included). One per process.
class SignalCloser : public QObject {
    Q_OBJECT

public:
    explicit SignalCloser(std::function<void()> close, QObject* parent = nullptr);
    ~SignalCloser() override;

private:
    void Drain();

    std::function<void()> close_;
    QSocketNotifier* notifier_ = nullptr;
};
