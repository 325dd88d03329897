#pragma once

#include "ui/calibration/Calibration.h"
#include "ui/support/LivePanel.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

// The whole program on the simulated instrument in real time, in a scratch folder made the
// current one, its inputs moved through the simulator's control file as a calibrator would; and
// the controls of its calibration window.
struct LiveCalibration {
    // The inputs the instrument reads wrongly by a little: 0.040 and -0.020 mV at zero, 20.100
    // and 19.950 mV at span, where the references are 0.000 and 20.000 mV.
    static constexpr const char* kZeroSignals = "1=0.040mV\n2=-0.020mV\n";
    static constexpr const char* kSpanSignals = "1=20.100mV\n2=19.950mV\n";

    // Starts with the zero signals connected and that "Diagnostic Level".
    explicit LiveCalibration(const char* diagnosticLevel) {
        QDir::setCurrent(folder.path());
        Connect(QString::fromLatin1(kZeroSignals));
        sim::ServerOptions options;
        options.control_path = control.toStdString();
        live.emplace(options, /*realTime=*/true);
        live->settings.Set("Control", "Diagnostic Level", diagnosticLevel);
        live->Start();
        window = LivePanel::Window<TfCalibrate>("fCalibrate");
    }

    // The control file's whole text: what is connected to the inputs from now on.
    bool Connect(const QString& inputs) const {
        QFile file(control);
        const QByteArray text = inputs.toLatin1();
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(text) == text.size();
    }

    // Whether the instrument's first status reply came within ten seconds.
    bool Reported() const {
        return QTest::qWaitFor([this] { return live->panel->State().InputMode.has_value(); },
                               10000);
    }
    // Checks channels 1 and 2; whether channel 2's sensor type came within five seconds.
    bool SelectChannels1And2() {
        window->findChild<QCheckBox*>("cbCalx1")->setChecked(true);
        window->findChild<QCheckBox*>("cbCalx2")->setChecked(true);
        return QTest::qWaitFor([this] { return Text("lTypex2") == "K"; }, 5000);
    }

    QString Text(const char* name) const { return window->findChild<QLabel*>(name)->text(); }
    void Click(const char* name) const { window->findChild<QPushButton*>(name)->click(); }
    bool InStage(const char* item) const {
        return window->findChild<QRadioButton*>(item)->isChecked();
    }

    QTemporaryDir folder;
    QString control = folder.filePath(QStringLiteral("calibrator.txt"));
    std::optional<LivePanel> live;
    TfCalibrate* window = nullptr;
};
