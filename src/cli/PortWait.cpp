#include "PortWait.h"

#include "StopSignal.h"

#include <chrono>

void PortWait::WaitForActivity(std::uint32_t milliseconds) {
    {
        std::unique_lock lock(mutex_);
        woken_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return pending_; });
        pending_ = false;
    }
    queue_.ProcessPending();
}

bool PortWait::Closing() {
    return StopRequested();
}

void PortWait::Wake() {
    {
        std::lock_guard lock(mutex_);
        pending_ = true;
    }
    woken_.notify_one();
}
