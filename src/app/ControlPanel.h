#pragma once

#include "ui/calibration/Calibration.h"
#include "ui/channel/uChannel.h"
#include "ui/chart/uChart.h"
#include "ui/config/Config.h"
#include "ui/dialogs/About.h"
#include "ui/dialogs/Enter.h"
#include "ui/dialogs/Select.h"
#include "ui/engineering/Engineering.h"
#include "ui/main/Main.h"

// Every window of the program, created in its order: the main window first (its start-up runs
// then, before any other window exists), then chart, configuration, channel, calibration,
// About, engineering, pick-one-item and enter-a-value. All live for the whole run.
struct ControlPanel {
    ControlPanel(InstrumentPort& serialPort, SettingsStore& settings,
                 OperatorInteraction& operatorInteraction, Clock& clock);

    TForm1 form1;
    TForm2 form2;
    TForm3 form3;
    TfChannel fChannel;
    TfCalibrate fCalibrate;
    TfAbout fAbout;
    TfRTC fRTC;
    TfSelect fSelect;
    TfEnter fEnter;
};
