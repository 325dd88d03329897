#pragma once

#include "BrokerSettings.h"
#include "PasswordKeyring.h"
#include "mqtt/Publisher.h"
#include "ui/panel/InstrumentPort.h"
#include "ui/panel/PanelWindows.h"
#include "ui/panel/ReplyObserver.h"

#include <QObject>
#include <QTimer>
#include <deque>
#include <memory>
#include <optional>

// Publishes the readings the main window polls to the MQTT broker of the "Mqtt" settings, and
// shows the broker's state on the main window. The publisher starts once the instrument has
// named its model (the default id) and the keyring has answered (when the URL names a user);
// readings before then wait, as many as the queue holds. With no URL nothing connects.
class PanelPublisher final : public QObject, public ReplyObserver {
    Q_OBJECT

public:
    // `idPort` names the port in the default id ("sim" for the built-in simulator); empty: the
    // port's own name.
    PanelPublisher(SettingsStore& settings, PasswordKeyring& keyring, InstrumentPort& port,
                   std::string idPort, PanelWindows& windows, Clock& clock);
    // Stop(): what is queued and "offline" within the publisher's bound.
    ~PanelPublisher() override;

    // Ends any publishing, reads the settings again and starts anew.
    void Restart();
    void Stop();

    void StatusReceived(const protocol::InstrumentStatus& status) override;
    void ReadingsReceived(const protocol::Readings& readings) override;

private:
    void PasswordRead(int generation, std::string password, const QString& problem);
    void StartWhenReady();
    QString StateText() const;
    void ShowState();

    SettingsStore& store_;
    PasswordKeyring& keyring_;
    InstrumentPort& port_;
    const std::string idPort_;
    PanelWindows& windows_;
    Clock& clock_;

    BrokerSettings settings_;
    // Tells a keyring answer that belongs to an earlier start.
    int generation_ = 0;
    std::optional<std::string> password_; // unset while the keyring has not answered
    QString keyringProblem_;
    QString refusal_; // why the settings can never work
    std::optional<mqtt::InstrumentInfo> info_;
    std::deque<mqtt::Reading> early_;
    std::unique_ptr<mqtt::Publisher> publisher_;
    QTimer stateTimer_;
};
