#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

inline constexpr char kStx = 0x02;
inline constexpr char kEtx = 0x03;
inline constexpr char kEot = 0x04;
inline constexpr char kEnq = 0x05;
inline constexpr char kAck = 0x06;

// The longest request payload the panel can frame; anything longer is line noise.
inline constexpr std::size_t kMaxRequestPayload = 508;
// The longest poll body: 'D' and four digits.
inline constexpr std::size_t kMaxPollBody = 5;

// Exclusive OR of the payload bytes and the ETX.
std::uint8_t BlockCheck(std::string_view payload);

// A framed reply: STX, payload, ETX, BCC.
std::string FrameReply(std::string_view payload);

// What the decoder made of a frame from the panel.
struct DecodedFrame {
    enum class Kind {
        Poll,     // EOT, letter and digits, ENQ: `body` is the letter and digits
        Request,  // EOT, STX, payload, ETX, BCC with a matching BCC: `body` is the payload
        BadCheck, // a request whose BCC did not match: `body` is its payload
        TooLong,  // a poll or request longer than any the panel sends; dropped
    };
    Kind kind;
    std::string body;
};

// Turns the byte stream from the panel into frames. Bytes outside a frame are skipped, and an
// EOT always starts a new frame, so the decoder finds its feet again after any noise.
class FrameDecoder {
public:
    std::optional<DecodedFrame> Feed(char byte);
    // Forgets a half-received frame (the line fell silent in the middle of one).
    void Reset();
    bool InsideFrame() const { return state_ != State::Idle; }

private:
    enum class State { Idle, PollBody, RequestPayload, RequestCheck };
    State state_ = State::Idle;
    std::string body_;
};

} // namespace sim
