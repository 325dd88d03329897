#include "LineSettings.h"

LineSettings BuildLineSettings(LineSettings current, const LineConfig& config) {
    current.baudRate = config.baudRate;
    std::uint32_t flags = LineFlag::kBinary;
    if (config.parityType != 0) {
        flags |= LineFlag::kParityCheck;
    }
    if (config.parityErrorReplacement) {
        flags |= LineFlag::kErrorCharReplacement;
    }
    flags |= static_cast<std::uint32_t>(config.flowControl);
    if (config.stripNullChars) {
        flags |= LineFlag::kDiscardNull;
    }
    current.flags = flags;
    current.parity = config.parityType;
    current.errorChar = config.parityErrorChar;
    current.eventChar = config.eventChar;
    current.stopBits = config.stopBits;
    current.byteSize = config.dataBits;
    current.xonChar = config.xonChar;
    current.xoffChar = config.xoffChar;
    current.eofChar = 0;
    current.xonLimit = static_cast<std::uint16_t>(config.rxQueueSize * config.xonLimDiv / 100);
    current.xoffLimit = static_cast<std::uint16_t>(config.rxQueueSize * config.xoffLimDiv / 100);
    return current;
}
