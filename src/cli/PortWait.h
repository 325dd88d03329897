#pragma once

#include "protocol/Exchange.h"
#include "serial/HandOverQueue.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>

// How the tool waits for the instrument: it blocks until the serial worker hands something
// over (a received cluster) or the step's time has passed, then runs what was handed over on
// this thread. The program closes when a stop signal has come.
class PortWait final : public protocol::LinkWait {
public:
    PortWait() : queue_([this] { Wake(); }) {}

    // What the serial port hands its clusters, events and messages through.
    UiHandOver& HandOver() { return queue_; }

    void WaitForActivity(std::uint32_t milliseconds) override;
    bool Closing() override;

private:
    // The worker's thread: something has been handed over.
    void Wake();

    std::mutex mutex_;
    std::condition_variable woken_;
    bool pending_ = false;
    HandOverQueue queue_; // last: its wake-up uses the members above
};
