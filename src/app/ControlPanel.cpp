#include "ControlPanel.h"

ControlPanel::ControlPanel(InstrumentPort& serialPort, SettingsStore& settings,
                           OperatorInteraction& operatorInteraction, Clock& clock)
    : form1(serialPort, settings, operatorInteraction, clock),
      form2(
          settings, operatorInteraction, form1.History(), [this] { return form1.ModelName(); },
          form1.PollCountdown(), clock),
      form3(form1), fAbout([this] { return form1.ModelName(); }) {
    form1.ConnectWindows({&form2, &form3, &fChannel, &fCalibrate, &fAbout, &fRTC});
}
