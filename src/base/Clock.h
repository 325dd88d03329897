#pragma once

#include <chrono>
#include <cstdint>

// The one source of time for the whole program: a millisecond tick that wraps at 32 bits,
// a sleep, and the wall clock. Logic takes a Clock& so tests can drive time themselves.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t TickCount() = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    virtual std::chrono::system_clock::time_point Now() = 0;
};

// The real clock: a monotonic tick, the thread's sleep and the system's wall clock.
Clock& SystemClock();
