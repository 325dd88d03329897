// The frame layer's waits on the program's windows: bounded while polling is paused, ended at
// once when the program closes.
#include "ui/support/WindowHarness.h"

#include <gtest/gtest.h>

namespace {

TEST(LinkObserver, AWaitWithPollingPausedEndsAfterTheBoundAndNotBefore) {
    WindowHarness h;
    h.mainWindow.pauses = 1;
    h.frames.SendPoll('X'); // the instrument stays silent
    const std::uint32_t sent = h.clock.TickCount();
    h.frames.SendPoll('f');
    const std::uint32_t waited = h.clock.TickCount() - sent;
    EXPECT_GE(waited, LinkObserver::kPausedWaitLimitMs);
    EXPECT_LE(waited, LinkObserver::kPausedWaitLimitMs + h.pump.stepMs);
    EXPECT_EQ(h.port.sent.back(), "\x04"
                                  "f\x05");
}

TEST(LinkObserver, AReplyInTimeEndsTheWaitWithoutTheBound) {
    WindowHarness h;
    h.mainWindow.pauses = 1;
    h.AnswerPolls([](char) { return Replies::Framed("f0501"); });
    h.frames.SendPoll('f');
    h.frames.SendPoll('f');
    EXPECT_EQ(h.pump.waits, 1);
    EXPECT_EQ(h.frames.OutstandingCount(), 1);
}

TEST(LinkObserver, WhilePollingRunsTheWaitIsLeftToItsWatchdog) {
    WindowHarness h;
    h.frames.SendPoll('X');
    h.pump.stepMs = 1000;
    // Only the polling timer's watchdog ends this wait; the wait itself sets no bound.
    for (int i = 0; i < 10; ++i) {
        h.link.ProcessMessages();
    }
    EXPECT_TRUE(h.frames.CommsBusy());
}

TEST(LinkObserver, AClosingProgramEndsEveryWaitAtOnce) {
    WindowHarness h;
    h.frames.SendPoll('X');
    h.state.Closing = true;
    h.frames.SendPoll('f');
    EXPECT_EQ(h.pump.waits, 0);
}

} // namespace
