#pragma once

#include "protocol/Exchange.h"
#include "protocol/FrameLayer.h"
#include "protocol/ReplyDispatcher.h"
#include "ui/broker/PanelPublisher.h"
#include "ui/panel/InstrumentPort.h"
#include "ui/panel/LinkObserver.h"
#include "ui/panel/PanelContext.h"
#include "ui/panel/PumpWait.h"
#include "ui/panel/ReplyRouter.h"

#include <QString>
#include <memory>

class TForm1;
class TForm2;
class TForm3;
class TfAbout;
class TfBroker;
class TfCalibrate;
class TfChannel;
class TfEnter;
class TfRTC;
class TfSelect;

// The program's windows and what joins them: the frame layer over the serial port, the reply
// dispatcher and its router, and the program-wide state. The windows are created in their
// order (main window, chart, configuration, channel, calibration, About, engineering,
// pick-one-item, enter-a-value, MQTT broker), each registered with the others as soon as it exists;
// the main window's start-up runs once it is registered, before any other window exists. This is
// the only place that names the window classes. Everything lives for the whole run.
class ControlPanel {
public:
    // `mqttIdPort`: the port's name in the default MQTT id when it is not the port's own.
    ControlPanel(InstrumentPort& serialPort, SettingsStore& settings,
                 OperatorInteraction& operatorInteraction, Clock& clock, MessagePump& pump,
                 PasswordKeyring& keyring, std::string mqttIdPort = {});
    ~ControlPanel();
    ControlPanel(const ControlPanel&) = delete;
    ControlPanel& operator=(const ControlPanel&) = delete;

    TForm1& MainForm() { return *form1_; }
    // Shows the chart window with the logged file in it.
    void ShowFileInChart(const QString& path);
    const PanelState& State() const { return state_; }
    protocol::FrameLayer& Frames() { return frames_; }
    protocol::Exchange& Exchanges() { return exchange_; }

private:
    // The port's device went away or is back: the configuration window, which chooses the port,
    // tells the operator and carries on.
    void DeviceChanged();

    InstrumentPort& serialPort_;
    PanelState state_;
    PanelWindows windows_;
    LinkObserver link_;
    protocol::FrameLayer frames_;
    PumpWait wait_;
    protocol::Exchange exchange_;
    ReplyRouter replies_;
    protocol::ReplyDispatcher dispatcher_;
    PanelContext context_;
    // Before the windows, which it shows its state on, and gone after them.
    PanelPublisher publisher_;

    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<TfChannel> fChannel_;
    std::unique_ptr<TfCalibrate> fCalibrate_;
    std::unique_ptr<TfAbout> fAbout_;
    std::unique_ptr<TfRTC> fRTC_;
    std::unique_ptr<TfSelect> fSelect_;
    std::unique_ptr<TfEnter> fEnter_;
    std::unique_ptr<TfBroker> fBroker_;
};
