#pragma once

#include "PanelState.h"
#include "PanelWindows.h"
#include "ReplyObserver.h"
#include "protocol/ReplyHandler.h"

// The reply handlers that the dispatcher selects: each reads its reply's fields and hands them
// to the window they belong to, through that window's interface. Windows not yet registered
// are skipped. The readings also feed the reading history; the status reply sets the model,
// firmware version and input mode.
class ReplyRouter final : public protocol::ReplyHandler {
public:
    ReplyRouter(PanelState& state, PanelWindows& windows);
    // Also told of every status and reading reply; none when null.
    void SetObserver(ReplyObserver* observer) { observer_ = observer; }

    void OnReadings(const std::string& payload) override;
    void OnResistanceReadings(const std::string& payload) override;
    void OnStatus(const std::string& payload) override;
    void OnOutputStates(const std::string& payload) override;
    void OnChannelConfiguration(const std::string& payload) override;
    void OnAlarmOutput(const std::string& payload) override;
    void OnRegisters(const std::string& payload) override;
    void OnSerialNumber(const std::string& payload) override;
    void OnFilterConstant(const std::string& payload) override;

private:
    // Every reading reply: a new line for the PC log while it is on, the unit label, the texts
    // shown, then one history column of channels 1 to 8 read from them. A 'T' reply whose unit
    // flags are not a number ends after the first step.
    void ShowReadings(const std::string& payload);

    PanelState& state_;
    PanelWindows& windows_;
    bool firstReadingShown_ = false;
    ReplyObserver* observer_ = nullptr;
};
