#pragma once

#include "PanelWindows.h"
#include "base/Clock.h"
#include "protocol/FrameObserver.h"

// What the frame layer shows and needs, on the program's windows: the counters, indicator and
// diagnostic line of the main window, the clock of its log lines, and the engineering window's
// comms-transaction log.
class LinkObserver final : public protocol::FrameObserver {
public:
    LinkObserver(PanelWindows& windows, Clock& clock);

    void ShowCommsCount(int count) override;
    void ShowBccErrorCount(int count) override;
    void ShowOnline(bool online) override;
    void ShowDiagnosticLine(const std::string& text) override;
    std::string FormatNow(const std::string& pattern) override;
    bool CommsLogActive() override;
    void WriteCommsLogLine(const std::string& line) override;

private:
    PanelWindows& windows_;
    Clock& clock_;
};
