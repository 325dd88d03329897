#pragma once

#include "FakeInstrumentPort.h"
#include "FakePump.h"
#include "FakeWindows.h"
#include "Replies.h"
#include "protocol/FrameLayer.h"
#include "protocol/ReplyDispatcher.h"
#include "support/ManualClock.h"
#include "support/MemorySettingsStore.h"
#include "support/ScriptedOperator.h"
#include "ui/panel/LinkObserver.h"
#include "ui/panel/PanelContext.h"
#include "ui/panel/PumpWait.h"
#include "ui/panel/ReplyRouter.h"

#include <string>

// What a window under test is built with: a real frame layer, dispatcher and reply routing over
// a fake port, in-memory settings, a scripted operator, a manual clock and its pump, and
// stand-ins for the main window (registered) and the other windows (registered by the test as
// it needs them).
struct WindowHarness {
    WindowHarness() {
        port.SetOnRxClusterEvent([this] { frames.SerialPort1RxClusterEvent(); });
        windows.main = &mainWindow;
        windows.mainDisplay = &mainWindow;
    }

    // Lets the fake instrument answer every frame: the given reply for a poll of that letter,
    // an acknowledge for anything else.
    void AnswerPolls(std::function<std::optional<std::string>(char letter)> replyForPoll) {
        port.responder = [replyForPoll](const std::string& frame) -> std::optional<std::string> {
            if (frame.size() >= 3 && frame.front() == '\x04' && frame.back() == '\x05' &&
                frame[1] != '\x02') {
                return replyForPoll(frame[1]);
            }
            return Replies::kAcknowledge;
        };
    }

    // The frames sent since the last call.
    std::vector<std::string> Sent() {
        std::vector<std::string> frames(port.sent.begin() + static_cast<long>(sentSeen_),
                                        port.sent.end());
        sentSeen_ = port.sent.size();
        return frames;
    }

    MemorySettingsStore settings;
    ScriptedOperator operatorAnswers;
    ManualClock clock;
    FakeInstrumentPort port;
    FakePump pump{port, clock};
    PanelState state;
    PanelWindows windows;
    FakeMainWindow mainWindow;
    LinkObserver link{windows, clock};
    protocol::FrameLayer frames{port, link, clock};
    PumpWait wait{pump, state};
    protocol::Exchange exchange{frames, clock, wait};
    ReplyRouter replies{state, windows};
    protocol::ReplyDispatcher dispatcher{frames, replies};
    PanelContext context{settings, operatorAnswers, clock, exchange, pump, state, windows};

private:
    std::size_t sentSeen_ = 0;
};
