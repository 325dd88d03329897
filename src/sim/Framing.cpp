#include "sim/Framing.h"

#include <utility>

namespace sim {

std::uint8_t BlockCheck(std::string_view payload) {
    std::uint8_t check = 0;
    for (const char byte : payload) {
        check ^= static_cast<std::uint8_t>(byte);
    }
    return check ^ static_cast<std::uint8_t>(kEtx);
}

std::string FrameReply(std::string_view payload) {
    std::string frame;
    frame.reserve(payload.size() + 3);
    frame += kStx;
    frame += payload;
    frame += kEtx;
    frame += static_cast<char>(BlockCheck(payload));
    return frame;
}

void FrameDecoder::Reset() {
    state_ = State::Idle;
    body_.clear();
}

std::optional<DecodedFrame> FrameDecoder::Feed(char byte) {
    if (byte == kEot && state_ != State::RequestCheck) {
        state_ = State::PollBody;
        body_.clear();
        return std::nullopt;
    }
    switch (state_) {
    case State::Idle:
        return std::nullopt;
    case State::PollBody:
        if (byte == kStx && body_.empty()) {
            state_ = State::RequestPayload;
        } else if (byte == kEnq) {
            state_ = State::Idle;
            if (!body_.empty()) {
                return DecodedFrame{DecodedFrame::Kind::Poll, std::exchange(body_, {})};
            }
        } else if (body_.size() == kMaxPollBody) {
            Reset();
            return DecodedFrame{DecodedFrame::Kind::TooLong, {}};
        } else {
            body_ += byte;
        }
        return std::nullopt;
    case State::RequestPayload:
        if (byte == kEtx) {
            state_ = State::RequestCheck;
        } else if (body_.size() == kMaxRequestPayload) {
            Reset();
            return DecodedFrame{DecodedFrame::Kind::TooLong, {}};
        } else {
            body_ += byte;
        }
        return std::nullopt;
    case State::RequestCheck: {
        state_ = State::Idle;
        const bool matches = static_cast<std::uint8_t>(byte) == BlockCheck(body_);
        return DecodedFrame{matches ? DecodedFrame::Kind::Request : DecodedFrame::Kind::BadCheck,
                            std::exchange(body_, {})};
    }
    }
    return std::nullopt;
}

} // namespace sim
