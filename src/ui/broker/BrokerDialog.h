#pragma once

#include "BrokerSettings.h"
#include "PasswordKeyring.h"
#include "ui/panel/Dialogs.h"

#include <QDialog>
#include <functional>
#include <memory>

namespace Ui {
class TfBroker;
}

// The MQTT broker's settings: URL, id, queue, CA file, password and discovery. OK takes them
// only when the publisher could work with them, else it says why and keeps the dialog open;
// the password goes to the keyring, never to the settings file, and an empty one keeps the
// one stored.
class TfBroker : public QDialog, public BrokerSetup {
    Q_OBJECT

public:
    // `restart` starts publishing anew once what was accepted is stored.
    TfBroker(SettingsStore& settings, PasswordKeyring& keyring, std::function<void()> restart,
             QWidget* parent = nullptr);
    ~TfBroker() override;

    void EditBrokerSettings() override;

private:
    void bOKClick();
    // Why the fields cannot be taken; empty when they can.
    QString Problem(const BrokerSettings& settings) const;
    BrokerSettings Entered() const;

    std::unique_ptr<Ui::TfBroker> ui;
    SettingsStore& store_;
    PasswordKeyring& keyring_;
    std::function<void()> restart_;
};
