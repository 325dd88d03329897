#pragma once

#include "MessagePump.h"
#include "PanelState.h"
#include "PanelWindows.h"
#include "protocol/FrameObserver.h"
#include "serial/Clock.h"

#include <cstdint>

class FrameLayer;

// What the frame layer shows and needs, on the program's windows: the counters, indicator and
// diagnostic line of the main window, the message pump of its waits, the clock of its log
// lines, and the engineering window's comms-transaction log.
//
// Its waits are bounded while the main window's polling is paused (the busy watchdog then does
// not run): a transaction unanswered for kPausedWaitLimitMs frees the link, so a silent
// instrument never holds a bulk exchange for ever. A closing program frees the link at once.
class LinkObserver final : public FrameObserver {
public:
    static constexpr std::uint32_t kPausedWaitLimitMs = 3000;

    LinkObserver(PanelState& state, PanelWindows& windows, Clock& clock, MessagePump& pump);

    // The frame layer this observer waits for; set once, before the first frame.
    void Attach(FrameLayer& frames) { frames_ = &frames; }

    void ShowCommsCount(int count) override;
    void ShowBccErrorCount(int count) override;
    void ShowOnline(bool online) override;
    void ShowDiagnosticLine(const std::string& text) override;
    void ProcessMessages() override;
    std::string FormatNow(const std::string& pattern) override;
    bool CommsLogActive() override;
    void WriteCommsLogLine(const std::string& line) override;

private:
    // True when the transaction the link waits for has outlived the paused-polling bound.
    bool PausedWaitExpired();

    PanelState& state_;
    PanelWindows& windows_;
    Clock& clock_;
    MessagePump& pump_;
    FrameLayer* frames_ = nullptr;
    std::uint64_t framesSeen_ = 0;
    std::uint32_t transactionStart_ = 0;
};
