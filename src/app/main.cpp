// control-panel: the desktop panel of the Vxxx instruments.
#include "ui/main/Main.h"

#include "CommandLine.h"
#include "ControlPanel.h"
#include "IniSettingsStore.h"
#include "KeychainPasswords.h"
#include "MessageBoxOperator.h"
#include "QtHandOver.h"
#include "QuitWatcher.h"
#include "SerialPortLink.h"
#include "SignalCloser.h"
#include "instrument/InstrumentLink.h"
#include "ui/panel/QtMessagePump.h"

#include <QApplication>
#include <QTimer>
#include <iostream>
#include <memory>

int main(int argc, char** argv) {
    // Read before the application object exists: that one needs a display, and --help,
    // --version and a wrong option must answer without one.
    const PanelCommandLine command = ParsePanelCommandLine({argv + 1, argv + argc});
    if (!command.error.empty()) {
        std::cerr << "control-panel: " << command.error << "\n\n" << PanelUsage();
        return 2;
    }
    if (command.help) {
        std::cout << PanelUsage();
        return 0;
    }
    if (command.version) {
        std::cout << PanelVersion();
        return 0;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Control Panel"));

    QtHandOver handOver;
    std::string failure;
    const std::unique_ptr<InstrumentLink> link = InstrumentLink::Make(
        handOver.Queue(), SystemClock(), {command.port, command.simulatedModel}, failure);
    if (!link) {
        std::cerr << "control-panel: " << failure << '\n';
        return 1;
    }
    IniSettingsStore settings;
    MessageBoxOperator operatorInteraction;
    SerialPortLink port(*link);
    QtMessagePump pump;
    KeychainPasswords keyring;
    // The built-in simulator's port is "sim" in the MQTT id, as with vxxx.
    ControlPanel panel(port, settings, operatorInteraction, SystemClock(), pump, keyring,
                       command.simulatedModel ? "sim" : "");

    // A signal or the end of the session closes the program as the operator's close would,
    // but nobody is there to answer: what the close reports goes to standard error.
    SignalCloser closer([&panel, &operatorInteraction] {
        operatorInteraction.SetUnattended(true);
        // From the event loop, once the dialog or wait the signal came into has returned.
        QTimer::singleShot(0, &panel.MainForm(), [&panel] { panel.MainForm().close(); });
    });
    // The session manager's request to quit closes every window with nobody at the screen.
    // The program's own close asks the same, but only after the main window has stored
    // everything, so only reports that would repeat what the operator has seen go unshown.
    QuitWatcher quitting(application,
                         [&operatorInteraction] { operatorInteraction.SetUnattended(true); });
    QObject::connect(&application, &QCoreApplication::aboutToQuit, [&panel, &operatorInteraction] {
        operatorInteraction.SetUnattended(true);
        panel.MainForm().FormClose();
    });

    panel.MainForm().show();
    if (command.file) {
        QTimer::singleShot(0, &panel.MainForm(), [&panel, &command] {
            panel.ShowFileInChart(QString::fromLocal8Bit(command.file->c_str()));
        });
    }
    // A settings file set aside at start, and port settings out of range, are told once, over
    // the main window.
    QTimer::singleShot(0, &panel.MainForm(), [&settings, &port, &operatorInteraction] {
        if (const QString notice = settings.TakeSetAsideNotice(); !notice.isEmpty()) {
            operatorInteraction.Notify(notice);
        }
        if (const std::string notice = port.TakeSettingsNotice(); !notice.empty()) {
            operatorInteraction.Notify(QStringLiteral("Serial port [Comms]: ") +
                                       QString::fromLocal8Bit(notice));
        }
    });
    return application.exec();
}
