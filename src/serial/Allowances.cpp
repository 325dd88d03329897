#include "Allowances.h"

#include <array>
#include <utility>

std::uint32_t AutomaticCharDelay(std::uint32_t baudRate) {
    // clang-format off
    static constexpr std::array<std::pair<std::uint32_t, std::uint32_t>, 15> kTable{{
        {110, 100000}, {300, 37000}, {600, 18000}, {1200, 9000}, {2400, 4500},
        {4800, 2300}, {9600, 1100}, {14400, 760}, {19200, 570}, {38400, 290},
        {56000, 200}, {57600, 190}, {115200, 95}, {128000, 85}, {256000, 43},
    }};
    // clang-format on
    std::uint32_t delay = 1100;
    for (const auto& [rate, microseconds] : kTable) {
        if (rate <= baudRate) {
            delay = microseconds;
        }
    }
    return delay;
}

double ByteAllowance(std::uint32_t count, std::uint32_t perCharMicroseconds,
                     std::uint16_t extraMilliseconds) {
    const std::uint32_t product = count * perCharMicroseconds;
    return product / 1000.0 + extraMilliseconds;
}

bool ClusterIsDue(const ClusterLook& look) {
    if (look.queued == 0) {
        return false;
    }
    const std::uint32_t elapsed = look.now - look.idleSince;
    return look.readRequest || look.queued >= look.clusterSize ||
           elapsed > ByteAllowance(look.queued, look.charDelay, look.extraDelay) ||
           (look.lineErrors & kClusterClosingErrors) != 0;
}
