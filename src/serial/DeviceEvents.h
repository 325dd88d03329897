#pragma once

#include <cstdint>

// Bits of the modem status word.
namespace ModemLine {
inline constexpr std::uint32_t kCts = 0x10;
inline constexpr std::uint32_t kDsr = 0x20;
inline constexpr std::uint32_t kRing = 0x40;
inline constexpr std::uint32_t kRlsd = 0x80;
} // namespace ModemLine

// Bits of the line-error word.
namespace LineError {
inline constexpr std::uint32_t kRxOverflow = 0x01;
inline constexpr std::uint32_t kOverrun = 0x02;
inline constexpr std::uint32_t kParity = 0x04;
inline constexpr std::uint32_t kFraming = 0x08;
inline constexpr std::uint32_t kBreak = 0x10;
} // namespace LineError

// Bits of a device event mask.
namespace DeviceEvent {
inline constexpr std::uint32_t kRxChar = 0x001;
inline constexpr std::uint32_t kRxEventChar = 0x002;
inline constexpr std::uint32_t kTxEmpty = 0x004;
inline constexpr std::uint32_t kCts = 0x008;
inline constexpr std::uint32_t kDsr = 0x010;
inline constexpr std::uint32_t kRlsd = 0x020;
inline constexpr std::uint32_t kBreak = 0x040;
inline constexpr std::uint32_t kLineError = 0x080;
inline constexpr std::uint32_t kRing = 0x100;
inline constexpr std::uint32_t kAll = 0x1FF;
} // namespace DeviceEvent

// One reading of the device's status: line errors since the previous reading, hold flags and
// the bytes waiting in each queue.
struct DeviceStatus {
    std::uint32_t errors = 0;
    std::uint8_t holdFlags = 0;
    std::uint32_t inQueue = 0;
    std::uint32_t outQueue = 0;
    bool operator==(const DeviceStatus&) const = default;
};

// A device that cannot wait for line changes is watched by comparing what the status polls
// around a wait saw: received input, modem lines that changed, line errors that came up and
// an output queue that ran empty become the events of that wait.
std::uint32_t DeviceEventsBetween(std::uint32_t modemBefore, std::uint32_t modemAfter,
                                  std::uint32_t outQueueBefore, std::uint32_t outQueueAfter,
                                  std::uint32_t lineErrors, bool inputArrived);
