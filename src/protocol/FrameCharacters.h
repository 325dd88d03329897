#pragma once

namespace protocol {

// The control characters that frame polls, requests and replies.
inline constexpr char kEot = 0x04;
inline constexpr char kStx = 0x02;
inline constexpr char kEtx = 0x03;
inline constexpr char kEnq = 0x05;
// The instrument's whole answer to a request it has taken.
inline constexpr char kAck = 0x06;

} // namespace protocol
