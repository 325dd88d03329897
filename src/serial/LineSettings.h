#pragma once

#include <cstdint>

// The line control block handed to the device: speed, character format, flag word and the
// flow-control characters and limits. Flag bits and codes are the platform's layout that
// the port's FlowControl property is merged into.
namespace LineFlag {
inline constexpr std::uint32_t kBinary = 0x0001;
inline constexpr std::uint32_t kParityCheck = 0x0002;
inline constexpr std::uint32_t kOutCtsFlow = 0x0004;
inline constexpr std::uint32_t kOutXonXoff = 0x0100;
inline constexpr std::uint32_t kInXonXoff = 0x0200;
inline constexpr std::uint32_t kErrorCharReplacement = 0x0400;
inline constexpr std::uint32_t kDiscardNull = 0x0800;
inline constexpr std::uint32_t kRtsHandshake = 0x2000;
} // namespace LineFlag

struct LineSettings {
    std::uint32_t baudRate = 0;
    std::uint32_t flags = 0;
    std::uint8_t parity = 0;   // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::uint8_t stopBits = 0; // 0 one, 1 one and a half, 2 two
    std::uint8_t byteSize = 8;
    char errorChar = 0;
    char eventChar = 0;
    char eofChar = 0;
    char xonChar = 17;
    char xoffChar = 19;
    std::uint16_t xonLimit = 0;  // bytes
    std::uint16_t xoffLimit = 0; // bytes
};

// The port's line properties, as the operator set them.
struct LineConfig {
    std::uint32_t baudRate = 9600;
    std::uint8_t parityType = 0;
    char parityErrorChar = 0;
    bool parityErrorReplacement = false;
    std::uint8_t stopBits = 0;
    std::uint8_t dataBits = 8;
    char xonChar = 17;
    char xoffChar = 19;
    std::uint8_t xonLimDiv = 33; // percent of the input queue
    std::uint8_t xoffLimDiv = 33;
    std::int32_t flowControl = 0;
    bool stripNullChars = false;
    char eventChar = 0;
    std::uint16_t rxQueueSize = 4096;
};

// The block to write back: every field comes from the configuration, the flag word is built
// from nothing (so DTR and RTS are driven only by their own operations).
LineSettings BuildLineSettings(LineSettings current, const LineConfig& config);
