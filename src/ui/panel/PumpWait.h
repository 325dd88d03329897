#pragma once

#include "MessagePump.h"
#include "PanelState.h"
#include "protocol/Exchange.h"

// The windows wait for the instrument by handling their messages: replies, timer ticks and the
// operator's clicks run inside the wait, and a closing program ends it at once.
class PumpWait final : public protocol::LinkWait {
public:
    PumpWait(MessagePump& pump, const PanelState& state) : pump_(pump), state_(state) {}

    void WaitForActivity(std::uint32_t) override { pump_.WaitAndProcess(); }
    bool Closing() override { return state_.Closing; }

private:
    MessagePump& pump_;
    const PanelState& state_;
};
