// The whole program against the simulated instrument, its inputs moved through the control
// file as a calibrator would: a two-point calibration of two channels from Zero to Send.
#include "LiveCalibration.h"

#include <cmath>

namespace {

double Value(const QString& text) {
    return text.trimmed().toDouble();
}

} // namespace

class CalibrationLiveTest : public QObject {
    Q_OBJECT

private slots:
    void twoChannelsCalibratedFromZeroToSend() {
        LiveCalibration c("64");
        QVERIFY(c.folder.isValid() && c.window);
        LivePanel& live = *c.live;
        TfCalibrate* window = c.window;
        QVERIFY(c.Reported());
        QVERIFY(c.SelectChannels1And2());

        live.operatorAnswers.AnswerYes(); // Switch to Millivolt?
        c.Click("bNext");
        QVERIFY(window->Sampling());
        QTRY_VERIFY_WITH_TIMEOUT(
            c.Text("l0mVx1").trimmed() == "0.040" && c.Text("l0mVx2").trimmed() == "-0.020", 15000);
        c.Click("bNext"); // ends the zero stage without waiting for ten settled ticks
        QVERIFY(c.InStage("rbSpan") && !window->Sampling());

        QVERIFY(c.Connect(LiveCalibration::kSpanSignals));
        c.Click("bNext");
        QTRY_VERIFY_WITH_TIMEOUT(c.Text("l50mVx1").trimmed() == "20.100" &&
                                     c.Text("l50mVx2").trimmed() == "19.950",
                                 15000);
        c.Click("bNext");
        QVERIFY(c.InStage("rbReady"));
        QCOMPARE(c.Text("lmx1"), QString("   0.9970"));
        QCOMPARE(c.Text("lcx1"), QString("  -0.0399"));
        QCOMPARE(c.Text("lmx2"), QString("   1.0015"));
        QCOMPARE(c.Text("lcx2"), QString("   0.0200"));

        live.operatorAnswers.AnswerYes(); // Send selected channel calibration data?
        c.Click("bSend");
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
        QVERIFY(c.Connect(LiveCalibration::kZeroSignals));
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(Value(live.Text("lDispx1"))) <= 0.002 &&
                                     std::abs(Value(live.Text("lDispx2"))) <= 0.002,
                                 10000);

        live.operatorAnswers.AnswerYes(2); // record, then create the file
        c.Click("bRecord");
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
