#pragma once

#include "FakeInstrumentPort.h"
#include "support/ManualClock.h"
#include "ui/panel/MessagePump.h"

#include <QCoreApplication>

// The message pump of window tests: each wait moves the manual clock on by a step, hands over
// the fake instrument's answers and handles Qt's pending events, so waits end without real time.
class FakePump final : public MessagePump {
public:
    FakePump(FakeInstrumentPort& port, ManualClock& clock) : port_(port), clock_(clock) {}

    void ProcessPending() override {
        port_.Deliver();
        QCoreApplication::processEvents();
    }
    void WaitAndProcess() override {
        ++waits;
        clock_.Advance(stepMs);
        ProcessPending();
    }

    std::uint32_t stepMs = 10;
    int waits = 0;

private:
    FakeInstrumentPort& port_;
    ManualClock& clock_;
};
