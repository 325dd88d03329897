#include "BusyWatchdog.h"

namespace protocol {

bool BusyWatchdog::Tick(bool commsBusy, std::uint64_t framesTransmitted) {
    if (framesTransmitted != framesSeen_) {
        framesSeen_ = framesTransmitted;
        count_ = 2; // where an idle tick leaves it: this transaction's wait starts now
    }
    if (!commsBusy) {
        count_ = 3;
    }
    if (count_ < 0) {
        return true;
    }
    --count_;
    return false;
}

} // namespace protocol
