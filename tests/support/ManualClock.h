#pragma once

#include "base/Clock.h"

#include <atomic>

// A clock that moves only when told to: Sleep advances it instead of waiting.
class ManualClock final : public Clock {
public:
    explicit ManualClock(
        std::chrono::system_clock::time_point start =
            std::chrono::system_clock::time_point(std::chrono::seconds(1796637302)))
        : wall_(start) {}

    std::uint32_t TickCount() override { return tick_.load(); }
    void Sleep(std::uint32_t milliseconds) override { Advance(milliseconds); }
    std::chrono::system_clock::time_point Now() override {
        return wall_ + std::chrono::milliseconds(elapsed_.load());
    }

    void Advance(std::uint32_t milliseconds) {
        tick_ += milliseconds;
        elapsed_ += milliseconds;
    }
    void SetTick(std::uint32_t tick) { tick_ = tick; }

private:
    std::atomic<std::uint32_t> tick_{0};
    std::atomic<std::int64_t> elapsed_{0};
    std::chrono::system_clock::time_point wall_;
};
