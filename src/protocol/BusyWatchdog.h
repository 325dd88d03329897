#pragma once

#include <cstdint>

namespace protocol {

// Frees a link whose transaction has stayed unanswered for four ticks. The count restarts for
// every new frame on the line, so a poll sent by the tick itself, or by any window between two
// ticks, is never cut short by the wait of an earlier one.
class BusyWatchdog {
public:
    // Step of one tick, after that tick's own poll: true when the link is to be freed.
    bool Tick(bool commsBusy, std::uint64_t framesTransmitted);

private:
    int count_ = 0;
    std::uint64_t framesSeen_ = 0;
};

} // namespace protocol
