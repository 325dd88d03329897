#pragma once

#include "MessagePump.h"
#include "OperatorInteraction.h"
#include "PanelState.h"
#include "PanelWindows.h"
#include "base/Clock.h"
#include "base/SettingsStore.h"
#include "instrument/JobLink.h"
#include "protocol/Exchange.h"

// What every window is built with: the settings store, the operator, the clock, the exchange
// path through which it asks the instrument, the message pump, the program-wide state and the
// other windows as it may reach them. All outlive the windows.
struct PanelContext {
    SettingsStore& settings;
    OperatorInteraction& operatorInteraction;
    Clock& clock;
    protocol::Exchange& exchange;
    MessagePump& pump;
    PanelState& state;
    PanelWindows& windows;

    // What a window's jobs run on: the exchange path, each answer waited for 3 s and asked once.
    jobs::JobLink Jobs(std::stop_token stop = {}) const { return {exchange, {}, std::move(stop)}; }
};
