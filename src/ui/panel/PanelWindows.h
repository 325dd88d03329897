#pragma once

#include "Dialogs.h"
#include "MainDisplay.h"
#include "MainWindow.h"
#include "SecondaryWindows.h"

// The windows of the program as the others reach them. Each slot is filled by the program's
// composition as soon as its window exists and stays empty until then, so a reply that
// arrives while later windows are still being built only reaches the windows there are.
struct PanelWindows {
    MainWindow* main = nullptr;
    MainDisplay* mainDisplay = nullptr;
    ChartWindow* chart = nullptr;
    ConfigurationWindow* configuration = nullptr;
    ChannelWindow* channel = nullptr;
    CalibrationWindow* calibration = nullptr;
    AboutBox* about = nullptr;
    EngineeringWindow* engineering = nullptr;
    ItemSelection* select = nullptr;
    ValueEntry* enter = nullptr;
    BrokerSetup* brokerSetup = nullptr;
};
