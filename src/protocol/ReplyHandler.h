#pragma once

#include <string>

namespace protocol {

// The handlers that DispatchReply selects by the reply's first character. Each is given the
// payload as received without its STX: the letter at position 1, then the fields, the ETX,
// the BCC and any bytes that followed. Field positions are those of MessageCatalogue.h.
// A handler may throw; the frame layer contains it and reception goes on.
class ReplyHandler {
public:
    virtual ~ReplyHandler() = default;

    virtual void OnReadings(const std::string& payload) = 0;             // 'T', 'M': channels 0..8
    virtual void OnResistanceReadings(const std::string& payload) = 0;   // 'R', 'r': channels 1..8
    virtual void OnStatus(const std::string& payload) = 0;               // 'S'
    virtual void OnOutputStates(const std::string& payload) = 0;         // 'O'
    virtual void OnChannelConfiguration(const std::string& payload) = 0; // '0'..'8'
    virtual void OnAlarmOutput(const std::string& payload) = 0;          // 'A'
    virtual void OnRegisters(const std::string& payload) = 0;            // 'X'
    virtual void OnSerialNumber(const std::string& payload) = 0;         // 'Z'
    virtual void OnFilterConstant(const std::string& payload) = 0;       // 'f'
};

} // namespace protocol
