#pragma once

#include "serial/HandOverQueue.h"

#include <QObject>

// The serial worker's hand-over on the Qt side: each call the worker queues posts one queued
// call to this object, on the UI thread, which runs the queue. Posted events are delivered by
// the main loop and by every nested processEvents loop alike.
class QtHandOver : public QObject {
    Q_OBJECT

public:
    explicit QtHandOver(QObject* parent = nullptr);

    UiHandOver& Queue() { return queue_; }

private:
    HandOverQueue queue_;
};
