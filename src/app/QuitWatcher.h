#pragma once

#include <QObject>
#include <functional>

class QCoreApplication;

// Calls a function when the application is asked to quit, before the application closes its
// windows: at the end of the desktop session (the session manager's request to quit) as much
// as after the program's own close, which asks the same.
class QuitWatcher : public QObject {
    Q_OBJECT

public:
    QuitWatcher(QCoreApplication& application, std::function<void()> beforeWindowsClose);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QCoreApplication& application_;
    std::function<void()> beforeWindowsClose_;
};
