#include "Clock.h"

#include <thread>

namespace {

class RealClock final : public Clock {
public:
    std::uint32_t TickCount() override {
        const auto since = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
    }
    void Sleep(std::uint32_t milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
    std::chrono::system_clock::time_point Now() override {
        return std::chrono::system_clock::now();
    }
};

} // namespace

Clock& SystemClock() {
    // Never destroyed: a serial worker still running while the process exits (a lost display
    // ends it from inside the event loop) may still read it.
    static RealClock* const clock = new RealClock;
    return *clock;
}
