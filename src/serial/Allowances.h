#pragma once

#include <cstdint>

// The time allowances of the serial link: how long a burst of received bytes may take before
// it is closed as a cluster, and how long a send may stay pending.

// Microseconds per character for a line speed: the value of the highest table speed that is
// at most the given one, 1100 below 110 baud.
std::uint32_t AutomaticCharDelay(std::uint32_t baudRate);

// Milliseconds allowed for count bytes: count x perCharMicroseconds / 1000 + extra. The product
// is taken in 32 bits, as the allowance always has been; the rest is real arithmetic.
double ByteAllowance(std::uint32_t count, std::uint32_t perCharMicroseconds,
                     std::uint16_t extraMilliseconds);

// Line-error bits that close a cluster at once: receive-queue overflow, overrun, parity,
// framing, break.
inline constexpr std::uint32_t kClusterClosingErrors = 0x1F;

struct ClusterLook {
    std::uint32_t queued = 0;    // bytes in the input queue at the last status poll
    std::uint32_t now = 0;       // millisecond tick
    std::uint32_t idleSince = 0; // tick at which the queue was last seen empty
    bool readRequest = false;
    std::uint16_t clusterSize = 0;
    std::uint32_t charDelay = 0;  // microseconds per queued byte
    std::uint16_t extraDelay = 0; // milliseconds
    std::uint32_t lineErrors = 0;
};

// Whether the queued bytes are to be read as one cluster now. The elapsed time is the 32-bit
// tick difference, so a wrap of the tick counter is harmless.
bool ClusterIsDue(const ClusterLook& look);
