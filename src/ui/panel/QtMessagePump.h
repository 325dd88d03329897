#pragma once

#include "MessagePump.h"

#include <QTimer>

// The program's message pump on the Qt event loop.
class QtMessagePump final : public MessagePump {
public:
    QtMessagePump();
    void ProcessPending() override;
    void WaitAndProcess() override;

private:
    // Wakes a wait that nothing else would end.
    QTimer wakeUp_;
};
