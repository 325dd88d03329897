// The calibration window on the window harness: the steps of the procedure, Send and Reset,
// the record keeping, and every way the main polling, the link and the files stay safe.
#include "CalibrationBench.h"
#include "ui/panel/DiagnosticLevel.h"
#include "ui/panel/LocaleText.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QTemporaryDir>
#include <QTest>

using Requests = std::vector<std::string>;

class CalibrationTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        workDir = std::make_unique<QTemporaryDir>();
        QVERIFY(workDir->isValid());
        QDir::setCurrent(workDir->path());
    }

    void restartShowsTheStepsForTheInputs() {
        CalibrationBench b;
        b.Build();
        QCOMPARE(b.MemoLines(), QStringList{"Note:"});
        QCOMPARE(b.Find<QLineEdit>("e_zero")->text(), QString("0"));
        QVERIFY(!b.Find<QGroupBox>("gbCh0")->isHidden());
        b.Status();
        QCOMPARE(b.MemoLines(),
                 QStringList({"- Select channel to calibrate by checking Cal checkbox",
                              "- Connect 0.000mV to all the selected channels",
                              "- Click Next when ready"}));
        QCOMPARE(b.Text("lZero"), QString("mV"));
        QCOMPARE(b.Text("l0mVx1"), QString("0.000"));
        QCOMPARE(b.Text("l50mVx8"), QString("20.000"));
        QVERIFY(b.Find<QGroupBox>("gbCh0")->isHidden());
        b.Status("80");
        QCOMPARE(b.MemoLines()[1], QString("- Connect 100.00R to all the selected channels"));
        QCOMPARE(b.Text("lSpan"), QString("R"));
        QCOMPARE(b.Text("l50mVx1"), QString("360.58"));
        QCOMPARE(b.Text("lTypex3"), QString("PT100"));
    }

    void restartRunsAtCreationWhenTheStatusCameFirst() {
        CalibrationBench b;
        b.h.state.InputMode = protocol::InputFamily::Thermocouple;
        b.Build();
        QCOMPARE(b.MemoLines().size(), 3);
    }

    void factoryControlsFollowTheDiagnosticLevel() {
        CalibrationBench plain;
        plain.Build();
        QVERIFY(plain.Find<QPushButton>("bRecord")->isHidden());
        QVERIFY(!plain.window->findChild<QAction*>("mStore1")->isVisible());
        CalibrationBench factory(DiagnosticBit::kCalibrationRecords);
        factory.Build();
        QVERIFY(!factory.Find<QPushButton>("bSave")->isHidden());
        QVERIFY(factory.window->findChild<QAction*>("mNew1")->isVisible());
    }

    void coldJunctionIsCalibratedAlone() {
        CalibrationBench b(DiagnosticBit::kMilliVoltRAndColdJunctionCalibration);
        b.Build();
        b.Status();
        QVERIFY(!b.Find<QGroupBox>("gbCh0")->isHidden());
        int countdownAtPoll = 0;
        b.h.port.responder = [&, answer = b.h.port.responder](const std::string& frame) {
            countdownAtPoll = b.h.state.PollCountdown;
            return answer(frame);
        };
        b.Find<QCheckBox>("cbAll")->setChecked(true);
        QCOMPARE(countdownAtPoll, 10);
        QCOMPARE(b.h.state.PollCountdown, 2);
        QCOMPARE(b.SentRequests(), Requests({"poll 1", "poll 2", "poll 3", "poll 4", "poll 5",
                                             "poll 6", "poll 7", "poll 8"}));
        b.Check(0);
        for (int channel = 1; channel <= 8; ++channel) {
            QVERIFY(!b.Box(channel)->isChecked());
        }
        QVERIFY(b.Box(0)->isChecked() && !b.Find<QCheckBox>("cbAll")->isChecked());
        QCOMPARE(b.Text("lZero"), QString("R"));
        QCOMPARE(b.Find<QLineEdit>("e_zero")->text(), QString("100.00"));
        QCOMPARE(b.Find<QLineEdit>("e_span")->text(), QString("114.00"));
        QCOMPARE(b.Text("l0mVx0"), QString("100.00"));
        QCOMPARE(b.SentRequests(), Requests{"poll 0"});
    }

    void channelReplyFillsOnlyACheckedColumn() {
        CalibrationBench b;
        b.Build();
        b.Status();
        b.h.port.Receive(Replies::Framed("301  1.0023 -0.1234"));
        QCOMPARE(b.Text("lmx3"), QString("-------"));
        b.Check(3);
        QCOMPARE(b.Text("lTypex3"), QString("K"));
        QCOMPARE(b.Text("lmx3"), QString("  1.0000"));
        QCOMPARE(b.Find("lcx3")->palette().color(QPalette::Window), QColor(0, 255, 0));
        QVERIFY(b.Timer5Active());
        b.Box(3)->setChecked(false);
        QVERIFY(!b.Timer5Active());
    }

    void aTwoPointCalibrationFromZeroToSend() {
        CalibrationBench b;
        b.Build();
        b.Status();
        b.Check(1);
        b.readings[1] = "0.012";
        b.Click("bNext");
        QVERIFY(b.Sampling() && b.h.mainWindow.pauses == 1);
        b.Tick();
        QCOMPARE(b.Find("l0mVx1")->palette().color(QPalette::Window), QColor(255, 0, 0));
        b.Tick(9);
        QVERIFY(b.InStage("rbZero"));
        b.Tick(); // the tenth settled tick ends the stage by itself
        QVERIFY(b.InStage("rbSpan") && !b.Sampling() && b.h.mainWindow.pauses == 0);
        QCOMPARE(b.Text("l0mVx1"), QString("   0.012"));
        QCOMPARE(b.Find("l0mVx1")->palette().color(QPalette::Window), QColor(0, 255, 0));

        b.readings[1] = "20.052";
        b.Click("bNext");
        b.Tick(10); // the span stage counts its own ten ticks
        QVERIFY(b.InStage("rbSpan"));
        b.Tick();
        QVERIFY(b.InStage("rbReady"));
        QCOMPARE(b.Text("lmx1"), QString("   0.9980"));
        QCOMPARE(b.Text("lcx1"), QString("  -0.0120"));
        QCOMPARE(b.window->Memory().channels[1].pre, QString("  20.052"));
        b.Box(1)->setChecked(false);
        b.Check(1); // the instrument's old m and c come again, and do not replace the new ones
        QCOMPARE(b.Text("lmx1"), QString("   0.9980"));

        b.SentRequests();
        b.readings[1] = "20.000";
        b.h.operatorAnswers.AnswerYes();
        b.Click("bSend");
        QCOMPARE(b.h.operatorAnswers.questions.last(),
                 QString("Send selected channel calibration data?"));
        QCOMPARE(b.SentRequests(), Requests({"C101  0.9980 -0.0120!", "poll M", "poll M"}));
        QCOMPARE(b.window->Memory().channels[1].m, QString("  0.9980"));
        QCOMPARE(b.window->Memory().channels[1].post, QString("  20.000"));
        QCOMPARE(b.MemoLines().last(), QString("- Calibration data sent"));
        QVERIFY(b.h.operatorAnswers.notices.isEmpty());
    }

    void nextDuringZeroSamplingEndsTheStage() {
        CalibrationBench b;
        b.Build();
        b.Status();
        b.Check(2);
        b.SentRequests();
        b.Click("bNext");
        QVERIFY(b.Sampling() && b.Timer5Active());
        QCOMPARE(b.SentRequests(), Requests{"poll M"});
        b.Click("bNext");
        QVERIFY(b.InStage("rbSpan") && !b.Sampling() && !b.Timer5Active());
        QCOMPARE(b.h.mainWindow.pauses, 0);
        QCOMPARE(b.MemoLines().mid(5),
                 QStringList({"- No valid reading for Ch2: left out",
                              "- Connect 20.000mV to all the selected channels",
                              "- Click Next when ready"}));
    }

    void nextRefusesWhatCannotBeCalibrated() {
        CalibrationBench b;
        b.Build();
        b.Check(1);
        b.Click("bNext"); // before the first status reply
        b.Status();
        b.h.mainWindow.milliVolt = false;
        b.h.operatorAnswers.AnswerNo();
        b.Click("bNext");
        b.h.mainWindow.milliVolt = true;
        b.Box(1)->setChecked(false);
        b.Click("bNext");
        b.Check(1);
        b.Find<QLineEdit>("e_zero")->setText("0,5");
        b.Click("bNext");
        QCOMPARE(b.h.operatorAnswers.questions, QStringList{"Switch to Millivolt?"});
        QCOMPARE(b.h.operatorAnswers.notices,
                 QStringList({"The instrument has not reported yet: calibration cannot start",
                              "Calibration cannot proceed", "No channel selected",
                              "Zero calibration point \"0,5\" is not a number: write it with "
                              "digits and '.'"}));
        QVERIFY(!b.Sampling());
        QCOMPARE(b.h.mainWindow.pauses, 0);
    }

    void noWayOutOfSamplingLeavesPollingPaused() {
        CalibrationBench b;
        b.Build();
        b.Status();
        b.Check(1);
        b.Click("bNext");
        QCOMPARE(b.h.mainWindow.pauses, 1);
        b.Status(); // every status reply restarts
        QVERIFY(b.InStage("rbZero") && !b.Sampling());
        QCOMPARE(b.h.mainWindow.pauses, 0);
        b.Click("bNext");
        QCOMPARE(b.h.mainWindow.pauses, 1);
        b.Box(1)->setChecked(false);
        QVERIFY(!b.Sampling() && !b.Timer5Active());
        QCOMPARE(b.h.mainWindow.pauses, 0);
        b.Check(1);
        b.Click("bNext");
        b.window.reset();
        QCOMPARE(b.h.mainWindow.pauses, 0);
    }

    void aTickOnASilentLinkIsBoundedAndNotNested() {
        CalibrationBench b;
        b.Build();
        b.Status();
        b.Check(1);
        b.h.port.responder = nullptr; // the instrument falls silent
        b.Click("bNext");
        b.SentRequests();
        int nested = 0;
        QTimer::singleShot(0, b.window.get(), [&] {
            b.window->Timer5Timer();
            ++nested;
        });
        const std::uint32_t start = b.h.clock.TickCount();
        b.window->Timer5Timer();
        const std::uint32_t waited = b.h.clock.TickCount() - start;
        QVERIFY2(waited >= 3000 && waited < 3500, qPrintable(QString::number(waited)));
        QCOMPARE(nested, 1);
        QCOMPARE(b.SentRequests(), Requests{"poll M"});
    }

    void aSecondNextInsideTheFirstOnesWaitDoesNothing() {
        CalibrationBench b;
        b.Build();
        b.Status();
        b.Check(1);
        b.Click("bNext");
        b.Click("bNext"); // span stage, not sampling
        b.answerReadings = false;
        b.h.port.responder = nullptr;
        b.h.exchange.Send(protocol::Question::Poll('S')); // the link stays busy
        const PollingPause bounded(&b.h.mainWindow);      // whatever Next does, the waits end
        QTimer::singleShot(0, b.window.get(), [&] { b.Click("bNext"); });
        b.Click("bNext");
        QVERIFY(b.InStage("rbSpan") && b.Sampling());
    }

    void channelsWithoutTypeOrSlopeAreLeftOutAndNamed() {
        CalibrationBench b;
        b.Build();
        b.Status();
        b.channelReplies.erase(2);
        b.channelReplies[4] = "412  1.0000  0.0000"; // no thermocouple type 12
        b.Check(1);
        b.Check(2);
        b.Check(3);
        b.Check(4);
        b.Click("bNext");
        b.Tick();
        b.Click("bNext");
        b.readings = {"25.00", "20.000", "20.000", "0.000", "20.000", "0", "0", "0", "0"};
        b.Click("bNext");
        b.Tick();
        b.Click("bNext");
        QCOMPARE(b.Text("lmx3"), QString("span=zero"));
        QCOMPARE(b.Text("lmx1"), QString("   1.0000"));
        b.SentRequests();
        b.h.operatorAnswers.AnswerYes(2);
        b.Click("bSend");
        b.Click("bReset");
        QCOMPARE(b.SentRequests(),
                 Requests({"C101  1.0000  0.0000!", "poll M", "poll M", "C101  0.0000  0.0000",
                           "poll 1", "C301  0.0000  0.0000", "poll 3"}));
        QCOMPARE(b.h.operatorAnswers.notices,
                 QStringList({"Not sent, span reading equals zero reading: Ch3",
                              "Not sent, sensor type not reported by the instrument: Ch2",
                              "Not sent, sensor type code not one of the instrument's: Ch4",
                              "Not reset, sensor type not reported by the instrument: Ch2",
                              "Not reset, sensor type code not one of the instrument's: Ch4"}));
    }

    void aStageTakesOnlyNumbersThatCameWhileItSampled() {
        CalibrationBench b;
        b.Build();
        b.Status();
        b.Check(1);
        b.Check(2);
        b.readings[2] = "-------"; // an open sensor
        b.Click("bNext");
        b.Tick(12);
        QVERIFY(b.InStage("rbZero")); // channel 2 never settles
        b.Click("bNext");
        b.answerReadings = false; // a silent link: the displays stand still
        b.Click("bNext");
        b.Tick(12);
        QVERIFY(b.InStage("rbSpan"));
        b.Click("bNext");
        b.h.operatorAnswers.AnswerYes();
        b.Click("bSend");
        QCOMPARE(b.h.operatorAnswers.notices,
                 QStringList{"Not sent, no valid reading in a stage: Ch1, Ch2"});
    }

    void resetSendsZeroScalingThenPollsEachChannel() {
        CalibrationBench b;
        b.channelReplies[5] = "500  1.0000  0.0000";
        b.Build();
        b.Status();
        b.Check(2);
        b.Check(5);
        b.SentRequests();
        b.h.operatorAnswers.AnswerYes();
        b.Click("bReset");
        QCOMPARE(b.h.operatorAnswers.questions, QStringList{"Reset selected channel?"});
        QCOMPARE(b.SentRequests(),
                 Requests({"C201  0.0000  0.0000", "poll 2", "C500  0.0000  0.0000", "poll 5"}));
        QCOMPARE(b.h.state.PollCountdown, 2);
    }

    void sendHoldsMAndCToTheirRangeAndLocksTheControls() {
        CalibrationBench b;
        b.channelReplies[1] = "101  1.1000 -2.5000";
        b.Build();
        b.Status();
        b.Check(1);
        b.SentRequests();
        int enabledMeanwhile = 0;
        b.h.port.responder = [&, answer = b.h.port.responder](const std::string& frame) {
            if (frame.find("C101") != std::string::npos) {
                for (const char* name :
                     {"bNext", "bRemember", "bRecall", "bRecord", "bSave", "bRestore"}) {
                    enabledMeanwhile += b.Find<QPushButton>(name)->isEnabled();
                }
                enabledMeanwhile += b.window->findChild<QAction*>("mRetrieve1")->isEnabled();
                return std::optional<std::string>(Replies::Status("V630")); // restarts later
            }
            return answer(frame);
        };
        b.h.operatorAnswers.AnswerYes(2);
        b.Click("bSend");
        QCOMPARE(b.h.operatorAnswers.questions.last(), QString("Status not Ready, still Send?"));
        QCOMPARE(b.h.operatorAnswers.notices,
                 QStringList({"m greater than 1.0 +/-  0.1000, set to 1.000!",
                              "c greater than 0.0 +/-  2.0000, set to 0.000!"}));
        QCOMPARE(b.SentRequests().front(), std::string("C101  1.0000  0.0000!"));
        QCOMPARE(enabledMeanwhile, 0);
        QVERIFY(b.Find<QPushButton>("bNext")->isEnabled());
        // The restart the status reply asked for ran once Send was done.
        QCOMPARE(b.MemoLines().size(), 3);
        QCOMPARE(b.Text("lmx1"), QString("  1.0000"));
    }

    void postNeedsAReadingAfterTheSend() {
        CalibrationBench b;
        b.Build();
        b.Status();
        b.Check(4);
        b.answerReadings = false;
        b.h.operatorAnswers.AnswerYes(2);
        b.Click("bSend");
        QCOMPARE(b.window->Memory().channels[4].post, QString("-------"));
        QCOMPARE(b.h.operatorAnswers.notices,
                 QStringList{"No reading came after the calibration was sent: Post not taken"});
    }

    void aCloseEndsSendsPauseAtOnce() {
        CalibrationBench b;
        b.Build();
        b.Check(4);
        b.h.port.responder = [&, answer = b.h.port.responder](const std::string& frame) {
            b.h.state.Closing = b.h.state.Closing || frame == "\x04M\x05";
            return answer(frame);
        };
        b.h.operatorAnswers.AnswerYes(2);
        const std::uint32_t start = b.h.clock.TickCount();
        b.Click("bSend");
        QVERIFY(b.h.clock.TickCount() - start < 1000);
    }

    void rememberAndRecallKeepTheTextsAsTheyWere() {
        CalibrationBench b;
        b.channelReplies[6] = "601  1.0023 -0.1234";
        b.Build();
        b.Status();
        b.Click("bRemember");
        b.Check(6);
        b.Check(7);
        b.h.operatorAnswers.AnswerYes();
        b.Click("bRemember");
        b.window->ApplyChannelReply(6, 1, "K", "  9.9999", "  9.9999");
        b.h.operatorAnswers.AnswerYes();
        b.Click("bRecall");
        QCOMPARE(b.Text("lmx6"), QString("  1.0023"));
        QCOMPARE(b.Text("lcx6"), QString(" -0.1234"));
        QCOMPARE(b.window->Memory().channels[7].m, QString("  1.0000"));
        QCOMPARE(b.window->Memory().channels[8].m, QString("-------"));
        QCOMPARE(b.h.operatorAnswers.notices, QStringList{"No channel selected"});
        QCOMPARE(b.h.operatorAnswers.questions,
                 QStringList({"Remember selected channel calibration data locally?",
                              "Recall selected channel calibration data locally?"}));
    }

    void recordingMakesTheFileOnceAndRefusesWhatWouldCorruptIt() {
        CalibrationBench b(DiagnosticBit::kCalibrationRecords);
        b.Build();
        b.Status();
        b.h.operatorAnswers.AnswerYes(3);
        b.Click("bRecord");
        b.Click("bRecord");
        QCOMPARE(b.h.operatorAnswers.questions,
                 QStringList({"Record all local calibration data to TestRecord.csv?",
                              "TestRecord.csv not found, create a new one?",
                              "Record all local calibration data to TestRecord.csv?"}));
        QCOMPARE(RecordLines().size(), 3);
        QVERIFY(RecordLines()[1].startsWith("V630,T,--------------,07/12/26 10:05:02,-------,"));
        QVERIFY(RecordLines()[2].endsWith(",20.000"));

        b.Find<QLineEdit>("eSerial")->setText("A,B");
        b.h.operatorAnswers.AnswerYes();
        b.Click("bRecord");
        QCOMPARE(b.h.operatorAnswers.notices,
                 QStringList{"Not recorded: the serial holds a comma or a line break"});
        QCOMPARE(RecordLines().size(), 3);

        b.Find<QLineEdit>("eSerial")->setText("AB12");
        QVERIFY(QFile::remove("TestRecord.csv") && QDir().mkdir("TestRecord.csv"));
        b.h.operatorAnswers.AnswerYes();
        b.Click("bRecord");
        QCOMPARE(b.h.operatorAnswers.errors.size(), 1);
    }

    void serialAndFactoryCommands() {
        CalibrationBench b(DiagnosticBit::kCalibrationRecords);
        b.Build();
        const auto trigger = [&](const char* item) {
            b.window->findChild<QAction*>(item)->trigger();
            b.h.pump.ProcessPending();
        };
        b.Find<QLineEdit>("eSerial")->setText("AB12");
        b.h.operatorAnswers.AnswerYes(4);
        trigger("mStore1");
        b.Click("bSave");
        b.Click("bRestore");
        trigger("mRetrieve1");
        QCOMPARE(b.SentRequests(), Requests({"ZAB12", "F", "R", "poll Z"}));
        QCOMPARE(b.Find<QLineEdit>("eSerial")->text(), QString("20190919133931"));
        QCOMPARE(
            b.h.operatorAnswers.questions,
            QStringList({"Store Serial \"AB12\" to instrument?", "Save all as factory calibration?",
                         "Restore all factory calibration data?",
                         "Retrieve Serial from instrument?"}));
        b.Find<QLineEdit>("eSerial")->clear();
        trigger("mStore1");
        QCOMPARE(b.h.operatorAnswers.notices,
                 QStringList{"No serial to store: the serial is empty"});
        b.h.operatorAnswers.AnswerYes();
        trigger("mNew1");
        QCOMPARE(b.Find<QLineEdit>("eSerial")->text(),
                 DateTimeStamp(ToLocalDateTime(b.h.clock.Now())));
        QVERIFY(b.SentRequests().empty());
    }

    void closingStoresPlaceAndReferences() {
        CalibrationBench b;
        b.h.settings.Set("Control", "Calibrate TC span", "50.000");
        b.Build();
        b.Status();
        QCOMPARE(b.Text("l50mVx2"), QString("50.000"));
        b.Find<QLineEdit>("e_zero")->setText("0.010");
        b.window->show();
        b.window->CloseWindow();
        QVERIFY(!b.window->isVisible());
        QCOMPARE(b.h.settings.Get("Control", "Calibrate TC zero"),
                 std::optional<std::string>("0.010"));
        QCOMPARE(b.h.settings.Get("Control", "Visible5"), std::optional<std::string>("1"));
        QVERIFY(b.h.settings.Get("Control", "Left5"));
    }

private:
    static QStringList RecordLines() {
        QFile file("TestRecord.csv");
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromLatin1(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
    }

    std::unique_ptr<QTemporaryDir> workDir;
};

QTEST_MAIN(CalibrationTest)
#include "test_Calibration.moc"
