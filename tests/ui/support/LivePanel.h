#pragma once

#include "app/ControlPanel.h"
#include "app/QtHandOver.h"
#include "app/SerialPortLink.h"
#include "instrument/InstrumentLink.h"
#include "sim/InstrumentServer.h"
#include "support/ManualClock.h"
#include "support/MemorySettingsStore.h"
#include "support/ScriptedOperator.h"
#include "ui/broker/PasswordKeyring.h"
#include "ui/main/Main.h"
#include "ui/panel/QtMessagePump.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <memory>

// A desktop without a keyring, which says so at once.
struct NoKeyring final : PasswordKeyring {
    void ReadPassword(const QString&, std::function<void(std::string, QString)> done) override {
        done({}, QStringLiteral("no keyring"));
    }
    void WritePassword(const QString&, const std::string&,
                       std::function<void(QString)> done) override {
        done(QStringLiteral("no keyring"));
    }
};

// The whole program in this process, as main() builds it, on the simulated instrument behind a
// pseudo-terminal: every window, the serial worker and its hand-over, the polling timer running
// in real time. Settings are in memory and the operator is scripted.
struct LivePanel {
    // With `realTime` the windows' pauses and bounded waits take real time; without it the
    // start-up wait and every pause pass at once.
    explicit LivePanel(sim::ServerOptions options = {}, bool realTime = false)
        : server(std::move(options)), clock(realTime ? SystemClock() : manualClock) {
        server.Start();
        UsePort(server.Path());
    }

    // The program's link on that port instead of the simulator's; before Start.
    void UsePort(const std::string& port) {
        link.reset();
        std::string failure;
        instrument = InstrumentLink::Make(handOver.Queue(), SystemClock(), {port, {}}, failure);
        link = std::make_unique<SerialPortLink>(*instrument);
    }

    // Builds the windows; settings a test wants must be set before.
    ControlPanel& Start() {
        panel =
            std::make_unique<ControlPanel>(*link, settings, operatorAnswers, clock, pump, keyring);
        return *panel;
    }

    TForm1& Form() { return panel->MainForm(); }
    QString Text(const char* name) { return Form().findChild<QLabel*>(name)->text(); }
    void StopPollingTimer() { Form().findChild<QTimer*>("Timer1")->stop(); }

    // A window of the program by its object name ("Form3", "fChannel" ...).
    template <typename T = QWidget> static T* Window(const QString& objectName) {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == objectName) {
                return qobject_cast<T*>(widget);
            }
        }
        return nullptr;
    }

    sim::InstrumentServer server;
    ManualClock manualClock;
    Clock& clock;
    QtHandOver handOver;
    std::unique_ptr<InstrumentLink> instrument;
    std::unique_ptr<SerialPortLink> link;
    MemorySettingsStore settings;
    ScriptedOperator operatorAnswers;
    QtMessagePump pump;
    NoKeyring keyring;
    std::unique_ptr<ControlPanel> panel;
};
