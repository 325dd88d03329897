#include "QtMessagePump.h"

#include <QCoreApplication>

namespace {

constexpr int kLongestSleepMs = 100;

} // namespace

QtMessagePump::QtMessagePump() {
    wakeUp_.setSingleShot(true);
    wakeUp_.setInterval(kLongestSleepMs);
}

void QtMessagePump::ProcessPending() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtMessagePump::WaitAndProcess() {
    wakeUp_.start();
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}
