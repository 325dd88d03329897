#include "QuitWatcher.h"

#include <QCoreApplication>
#include <QEvent>

QuitWatcher::QuitWatcher(QCoreApplication& application, std::function<void()> beforeWindowsClose)
    : application_(application), beforeWindowsClose_(std::move(beforeWindowsClose)) {
    application_.installEventFilter(this);
}

bool QuitWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &application_ && event->type() == QEvent::Quit) {
        beforeWindowsClose_();
    }
    return false;
}
