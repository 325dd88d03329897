#pragma once

#include "FrameLayer.h"
#include "ReplyHandler.h"

#include <string>

// DispatchReply: the bookkeeping of every framed reply, then the handler chosen by its first
// character. 'T' sets the unit label from its unit flags; the four reading replies mark a new
// reading for the PC log.
class ReplyDispatcher {
public:
    ReplyDispatcher(FrameLayer& frames, ReplyHandler& handler);
    void DispatchReply(const std::string& payload);

private:
    FrameLayer& frames_;
    ReplyHandler& handler_;
};
