#pragma once

#include "MessagePump.h"
#include "OperatorInteraction.h"
#include "PanelState.h"
#include "PanelWindows.h"
#include "protocol/FrameLayer.h"
#include "serial/Clock.h"
#include "serial/SettingsStore.h"

// What every window is built with: the settings store, the operator, the clock, the frame
// layer it sends through, the message pump of its own waits, the program-wide state and the
// other windows as it may reach them. All outlive the windows.
struct PanelContext {
    SettingsStore& settings;
    OperatorInteraction& operatorInteraction;
    Clock& clock;
    FrameLayer& frames;
    MessagePump& pump;
    PanelState& state;
    PanelWindows& windows;
};
