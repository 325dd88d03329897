#pragma once

#include "FrameLayer.h"
#include "ReplyHandler.h"

#include <string>

namespace protocol {

// DispatchReply: the bookkeeping of every framed reply, then the handler chosen by its first
// character. Connects itself to the frame layer for as long as it lives.
class ReplyDispatcher {
public:
    ReplyDispatcher(FrameLayer& frames, ReplyHandler& handler);
    ~ReplyDispatcher();
    ReplyDispatcher(const ReplyDispatcher&) = delete;
    ReplyDispatcher& operator=(const ReplyDispatcher&) = delete;

    void DispatchReply(const std::string& payload);

private:
    FrameLayer& frames_;
    ReplyHandler& handler_;
};

} // namespace protocol
