#pragma once

#include "serial/HandOverQueue.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Plays the UI thread for serial tests: the test's own thread runs the hand-overs whenever
// the queue wakes it, until a condition holds or time runs out.
class UiPump {
public:
    UiPump() : queue_([this] { Wake(); }) {}

    HandOverQueue& Queue() { return queue_; }

    // Returns whether done() held before the limit.
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        for (;;) {
            queue_.ProcessPending();
            if (done()) {
                return true;
            }
            const auto now = std::chrono::steady_clock::now();
            if (now >= deadline) {
                return false;
            }
            std::unique_lock lock(mutex_);
            woken_.wait_until(lock, std::min(deadline, now + std::chrono::milliseconds(20)),
                              [this] { return wakeUps_ > 0; });
            wakeUps_ = 0;
        }
    }

    void RunFor(std::chrono::milliseconds time) {
        RunUntil([] { return false; }, time);
    }

    // Runs nothing: returns whether a worker got blocked in a hand-over before the limit.
    bool WaitForBlockedHandOver(std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (queue_.PendingCount() == 0 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return queue_.PendingCount() == 1;
    }

private:
    void Wake() {
        {
            std::lock_guard lock(mutex_);
            ++wakeUps_;
        }
        woken_.notify_one();
    }

    std::mutex mutex_;
    std::condition_variable woken_;
    int wakeUps_ = 0;
    HandOverQueue queue_;
};
