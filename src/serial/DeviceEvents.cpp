#include "DeviceEvents.h"

std::uint32_t DeviceEventsBetween(std::uint32_t modemBefore, std::uint32_t modemAfter,
                                  std::uint32_t outQueueBefore, std::uint32_t outQueueAfter,
                                  std::uint32_t lineErrors, bool inputArrived) {
    std::uint32_t events = inputArrived ? DeviceEvent::kRxChar : 0;
    const std::uint32_t changed = modemBefore ^ modemAfter;
    if (changed & ModemLine::kCts) {
        events |= DeviceEvent::kCts;
    }
    if (changed & ModemLine::kDsr) {
        events |= DeviceEvent::kDsr;
    }
    if (changed & ModemLine::kRlsd) {
        events |= DeviceEvent::kRlsd;
    }
    if (changed & ModemLine::kRing) {
        events |= DeviceEvent::kRing;
    }
    if (lineErrors & LineError::kBreak) {
        events |= DeviceEvent::kBreak;
    }
    if (lineErrors &
        (LineError::kRxOverflow | LineError::kOverrun | LineError::kParity | LineError::kFraming)) {
        events |= DeviceEvent::kLineError;
    }
    if (outQueueBefore > 0 && outQueueAfter == 0) {
        events |= DeviceEvent::kTxEmpty;
    }
    return events;
}
