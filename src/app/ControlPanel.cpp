#include "ControlPanel.h"

#include "ui/broker/BrokerDialog.h"
#include "ui/calibration/Calibration.h"
#include "ui/channel/uChannel.h"
#include "ui/chart/uChart.h"
#include "ui/config/Config.h"
#include "ui/dialogs/About.h"
#include "ui/dialogs/Enter.h"
#include "ui/dialogs/Select.h"
#include "ui/engineering/Engineering.h"
#include "ui/main/Main.h"

ControlPanel::ControlPanel(InstrumentPort& serialPort, SettingsStore& settings,
                           OperatorInteraction& operatorInteraction, Clock& clock,
                           MessagePump& pump, PasswordKeyring& keyring, std::string mqttIdPort)
    : serialPort_(serialPort), link_(windows_, clock), frames_(serialPort, link_, clock),
      wait_(pump, state_), exchange_(frames_, clock, wait_), replies_(state_, windows_),
      dispatcher_(frames_, replies_), context_{settings, operatorInteraction,
                                               clock,    exchange_,
                                               pump,     state_,
                                               windows_},
      publisher_(settings, keyring, serialPort, std::move(mqttIdPort), windows_, clock) {
    serialPort_.SetOnRxClusterEvent([this] { frames_.SerialPort1RxClusterEvent(); });
    serialPort_.SetOnDeviceChange([this] { DeviceChanged(); });

    form1_ = std::make_unique<TForm1>(serialPort, context_);
    windows_.main = form1_.get();
    windows_.mainDisplay = form1_.get();
    form1_->FormCreate();

    form2_ = std::make_unique<TForm2>(
        settings, operatorInteraction, state_.History, [this] { return state_.ModelName; },
        state_.PollCountdown, clock);
    windows_.chart = form2_.get();

    form3_ = std::make_unique<TForm3>(serialPort, context_);
    windows_.configuration = form3_.get();

    fChannel_ = std::make_unique<TfChannel>(context_);
    windows_.channel = fChannel_.get();

    fCalibrate_ = std::make_unique<TfCalibrate>(context_);
    windows_.calibration = fCalibrate_.get();

    fAbout_ = std::make_unique<TfAbout>([this] { return state_.ModelName; });
    windows_.about = fAbout_.get();

    fRTC_ = std::make_unique<TfRTC>(context_);
    windows_.engineering = fRTC_.get();

    fSelect_ = std::make_unique<TfSelect>();
    windows_.select = fSelect_.get();

    fEnter_ = std::make_unique<TfEnter>();
    windows_.enter = fEnter_.get();

    fBroker_ = std::make_unique<TfBroker>(settings, keyring, [this] { publisher_.Restart(); });
    windows_.brokerSetup = fBroker_.get();

    replies_.SetObserver(&publisher_);
    publisher_.Restart();
}

ControlPanel::~ControlPanel() {
    // Closed first: the worker looks at the handler only while the port is open.
    serialPort_.SetActive(false);
    serialPort_.SetOnRxClusterEvent(nullptr);
    serialPort_.SetOnDeviceChange(nullptr);
    // The windows go before what they reach; none is reachable once its destruction began.
    windows_ = PanelWindows{};
    replies_.SetObserver(nullptr);
}

void ControlPanel::ShowFileInChart(const QString& path) {
    form2_->SetShown(true);
    form2_->ShowFile(path);
}

void ControlPanel::DeviceChanged() {
    ConfigurationWindow* configuration = windows_.configuration;
    if (configuration == nullptr) {
        return;
    }
    if (serialPort_.DeviceLost()) {
        configuration->DeviceGone();
        return;
    }
    frames_.LinkRestarted();
    configuration->DeviceBack();
}
