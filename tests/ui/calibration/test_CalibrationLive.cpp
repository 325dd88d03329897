// The whole program against the simulated instrument, its inputs moved through the control
// file as a calibrator would: a two-point calibration of two channels from Zero to Send.
#include "ui/calibration/Calibration.h"
#include "ui/support/LivePanel.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

namespace {

// The inputs the instrument reads wrongly by a little: 0.040 and -0.020 mV at zero, 20.100 and
// 19.950 mV at span, where the references are 0.000 and 20.000 mV.
const char* const kZeroSignals = "1=0.040mV\n2=-0.020mV\n";
const char* const kSpanSignals = "1=20.100mV\n2=19.950mV\n";

void Connect(const QString& controlFile, const char* inputs) {
    QFile file(controlFile);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(inputs);
}

double Value(const QString& text) {
    return text.trimmed().toDouble();
}

} // namespace

class CalibrationLiveTest : public QObject {
    Q_OBJECT

private slots:
    void twoChannelsCalibratedFromZeroToSend() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QDir::setCurrent(folder.path());
        const QString control = folder.filePath("calibrator.txt");
        Connect(control, kZeroSignals);
        sim::ServerOptions options;
        options.control_path = control.toStdString();
        LivePanel live(options, /*realTime=*/true);
        live.settings.Set("Control", "Diagnostic Level", "64");
        live.Start();
        auto* window = LivePanel::Window<TfCalibrate>("fCalibrate");
        QVERIFY(window);
        const auto text = [window](const QString& name) {
            return window->findChild<QLabel*>(name)->text();
        };
        const auto click = [window](const char* name) {
            window->findChild<QPushButton*>(name)->click();
        };
        const auto inStage = [window](const char* item) {
            return window->findChild<QRadioButton*>(item)->isChecked();
        };
        QTRY_VERIFY_WITH_TIMEOUT(live.panel->State().InputMode.has_value(), 10000);
        window->findChild<QCheckBox*>("cbCalx1")->setChecked(true);
        window->findChild<QCheckBox*>("cbCalx2")->setChecked(true);
        QTRY_COMPARE_WITH_TIMEOUT(text("lTypex2"), QString("K"), 5000);

        live.operatorAnswers.AnswerYes(); // Switch to Millivolt?
        click("bNext");
        QVERIFY(window->Sampling());
        QTRY_VERIFY_WITH_TIMEOUT(
            text("l0mVx1").trimmed() == "0.040" && text("l0mVx2").trimmed() == "-0.020", 15000);
        click("bNext"); // ends the zero stage without waiting for ten settled ticks
        QVERIFY(inStage("rbSpan") && !window->Sampling());

        Connect(control, kSpanSignals);
        click("bNext");
        QTRY_VERIFY_WITH_TIMEOUT(
            text("l50mVx1").trimmed() == "20.100" && text("l50mVx2").trimmed() == "19.950", 15000);
        click("bNext");
        QVERIFY(inStage("rbReady"));
        QCOMPARE(text("lmx1"), QString("   0.9970"));
        QCOMPARE(text("lcx1"), QString("  -0.0399"));
        QCOMPARE(text("lmx2"), QString("   1.0015"));
        QCOMPARE(text("lcx2"), QString("   0.0200"));

        live.operatorAnswers.AnswerYes(); // Send selected channel calibration data?
        click("bSend");
        const auto scaling = live.server.WithModel([](sim::InstrumentModel& model) {
            return std::array{model.Channel(1), model.Channel(2)};
        });
        QCOMPARE(scaling[0].m, 0.997);
        QCOMPARE(scaling[0].c, -0.0399);
        QCOMPARE(scaling[1].m, 1.0015);
        QCOMPARE(scaling[1].type_code, 1);
        const auto& memory = window->Memory().channels;
        QVERIFY2(std::abs(Value(memory[1].post) - 20.0) <= 0.002, qPrintable(memory[1].post));
        QVERIFY2(std::abs(Value(memory[2].post) - 20.0) <= 0.002, qPrintable(memory[2].post));

        // The zero signals now read as the zero reference too.
        Connect(control, kZeroSignals);
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(Value(live.Text("lDispx1"))) <= 0.002 &&
                                     std::abs(Value(live.Text("lDispx2"))) <= 0.002,
                                 10000);

        live.operatorAnswers.AnswerYes(2); // record, then create the file
        click("bRecord");
        QFile file("TestRecord.csv");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromLatin1(file.readAll()).split("\r\n");
        QCOMPARE(lines.size(), 3); // header, record, and the empty rest after the last CR LF
        const QStringList fields = lines[1].split(',');
        QCOMPARE(fields[0], QString("V630"));
        QCOMPARE(fields[4 + 1], QString("  20.100"));
        QCOMPARE(fields[13 + 1], memory[1].post);
        QVERIFY(fields[4 + 1] != fields[13 + 1]);
        QCOMPARE(fields[22 + 2], QString("  0.9970"));
        QVERIFY(live.operatorAnswers.unexpected.isEmpty());
    }
};

QTEST_MAIN(CalibrationLiveTest)
#include "test_CalibrationLive.moc"
