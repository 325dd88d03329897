// Start-up, settings, buttons and closing of the main window.
#include "PanelHarness.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        h = std::make_unique<PanelHarness>();
        workDir = std::make_unique<QTemporaryDir>();
        QVERIFY(workDir->isValid());
        QDir::setCurrent(workDir->path());
    }
    void cleanup() { h.reset(); }

    void firstRunStartsWithTheDefaults() {
        TForm1& form = h->Start(true);
        QCOMPARE(form.pos(), QPoint(0, 0));
        QCOMPARE(form.windowTitle(), QString("Control Panel"));
        QCOMPARE(h->Find<QLineEdit>("eInterval")->text(), QString("2"));
        QVERIFY(h->Find<QRadioButton>("rbTemperature")->isChecked());
        for (const char* hidden :
             {"bENG", "lTest", "gbComms", "gbBCC_error", "gbChannel0", "iOnline1"}) {
            QVERIFY2(form.findChild<QWidget*>(hidden)->isHidden(), hidden);
        }
        QVERIFY(!h->Find("iOnline0")->isHidden());
        QVERIFY(h->Find<QPushButton>("bReset")->isEnabled());
        QCOMPARE(h->Text("lLogName"), QString());
        // The port is restored, set to 38400 and opened, the status asked, then the wait.
        QCOMPARE(h->port.operations,
                 (std::vector<std::string>{"RestoreSettings", "SetBaudRate 38400", "Open"}));
        QCOMPARE(h->port.sent, std::vector<std::string>{"\x04S\x05"});
        QCOMPARE(h->clock.TickCount(), 2000u);
        QVERIFY(form.findChild<QTimer*>("Timer1")->isActive());
    }

    void channelDisplaysAreBuiltWithTheirNames() {
        TForm1& form = h->Start();
        QCOMPARE(form.findChild<QGroupBox*>("gbChannel0")->title(), QString("Ch0  CJC"));
        for (int channel = 0; channel <= 8; ++channel) {
            QLabel* reading = h->Find(QString("lDispx%1").arg(channel));
            QVERIFY(reading);
            QCOMPARE(reading->text(), QString("-------"));
            QCOMPARE(reading->toolTip(), QString("Double click to configure channel"));
            QCOMPARE(reading->parent()->objectName(), QString("gbChannel%1").arg(channel));
        }
        QVERIFY(!h->Find("lMinx0"));
        for (int channel = 1; channel <= 8; ++channel) {
            QCOMPARE(form.findChild<QGroupBox*>(QString("gbChannel%1").arg(channel))->title(),
                     QString("Ch%1").arg(channel));
            QCOMPARE(h->Text(QString("lMinx%1").arg(channel)), QString("-------"));
            QCOMPARE(h->Text(QString("lMaxx%1").arg(channel)), QString("-------"));
            QVERIFY(h->Find(QString("iLedRed%1").arg(channel))->isHidden());
            QVERIFY(h->Find(QString("iLedGray%1").arg(channel))->isHidden());
        }
    }

    void storedSettingsAndDiagnosticLevelApply() {
        h->settings.Set("Control", "Left1", "120");
        h->settings.Set("Control", "Top1", "45");
        h->settings.Set("Control", "Comms_Interval", "10");
        h->settings.Set("Control", "Display_Selection", "1");
        h->settings.Set("Control", "Diagnostic Level", QString::number(0x1E).toStdString());
        h->settings.Set("Control", "Visible3", "1");
        TForm1& form = h->Start();
        QCOMPARE(form.pos(), QPoint(120, 45));
        QCOMPARE(h->Find<QLineEdit>("eInterval")->text(), QString("10"));
        QCOMPARE(h->state.PollCountdown, 10);
        QVERIFY(h->Find<QRadioButton>("rbMilliVolt")->isChecked());
        for (const char* shown : {"bENG", "lTest", "gbComms", "gbBCC_error", "gbChannel0"}) {
            QVERIFY2(!form.findChild<QWidget*>(shown)->isHidden(), shown);
        }
        QVERIFY(!h->Find<QPushButton>("bReset")->isEnabled());
        // The configuration window asks for the status itself when it reopens.
        QVERIFY(h->port.sent.empty());
        QVERIFY(h->Text("lTest").endsWith("Vxxx!ini.ini"));
    }

    void displaySelectionChoosesTheReadingButton_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("checked");
        QTest::newRow("1") << "1"
                           << "rbMilliVolt";
        QTest::newRow("2") << "2"
                           << "rbTemperature";
        QTest::newRow("3") << "3"
                           << "rbTemperature";
        QTest::newRow("other") << "7"
                               << "rbTemperature";
        QTest::newRow("text") << "lead"
                              << "rbTemperature";
    }
    void displaySelectionChoosesTheReadingButton() {
        QFETCH(QString, stored);
        QFETCH(QString, checked);
        h->settings.Set("Control", "Display_Selection", stored.toStdString());
        h->Start();
        QVERIFY(h->Find<QRadioButton>(checked)->isChecked());
    }

    void storedIntervalOutsideTheRangeIsClamped_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("interval");
        QTest::newRow("0") << "0" << 2;
        QTest::newRow("1") << "1" << 2;
        QTest::newRow("-3") << "-3" << 2;
        QTest::newRow("99999") << "99999" << 3600;
    }
    void storedIntervalOutsideTheRangeIsClamped() {
        QFETCH(QString, stored);
        QFETCH(int, interval);
        h->settings.Set("Control", "Comms_Interval", stored.toStdString());
        h->Start();
        QCOMPARE(h->state.PollCountdown, interval);
        QCOMPARE(h->Find<QLineEdit>("eInterval")->text(), QString::number(interval));
    }

    void unreadableSettingsGiveTheDefaults() {
        h->settings.SetFailReads(true);
        h->Start();
        QCOMPARE(h->state.PollCountdown, 2);
        QCOMPARE(h->port.sent, std::vector<std::string>{"\x04S\x05"});
    }

    void closingStoresTheSettingsAndClosesThePort() {
        TForm1& form = h->Start();
        form.move(30, 40);
        h->Find<QRadioButton>("rbLead")->setChecked(true);
        h->Find<QLineEdit>("eInterval")->setText("15");
        form.close();
        QCOMPARE(h->settings.Get("Control", "Left1"), std::optional<std::string>("30"));
        QCOMPARE(h->settings.Get("Control", "Top1"), std::optional<std::string>("40"));
        QCOMPARE(h->settings.Get("Control", "Comms_Interval"), std::optional<std::string>("15"));
        // Lead resistance is not remembered.
        QCOMPARE(h->settings.Get("Control", "Display_Selection"), std::optional<std::string>("2"));
        QCOMPARE(h->settings.Get("Comms", "CommPort"), std::optional<std::string>("COM2"));
        QCOMPARE(h->port.operations.back(), std::string("Close"));
        QCOMPARE(h->port.operations.end()[-2], std::string("StoreSettings"));
        QVERIFY(!h->settings.Get("Control", "Diagnostic Level"));

        // The next start shows Temperature.
        h->Start();
        QVERIFY(h->Find<QRadioButton>("rbTemperature")->isChecked());
        QCOMPARE(h->Find<QLineEdit>("eInterval")->text(), QString("15"));
    }

    void closingWithUnconfirmedIntervalTextStillStores() {
        TForm1& form = h->Start();
        h->Find<QRadioButton>("rbMilliVolt")->setChecked(true);
        h->Find<QLineEdit>("eInterval")->setText("abc");
        form.close();
        QCOMPARE(h->settings.Get("Control", "Comms_Interval"), std::optional<std::string>("2"));
        QCOMPARE(h->settings.Get("Control", "Display_Selection"), std::optional<std::string>("1"));
    }

    void aFailedSettingsWriteIsReportedAndThePortStillCloses() {
        TForm1& form = h->Start();
        h->settings.SetFailWrites(true);
        form.close();
        QCOMPARE(h->operatorAnswers.errors.filter("The settings could not be stored").size(), 1);
        QCOMPARE(h->port.operations.back(), std::string("Close"));
    }

    void closingClosesTheOtherWindowsAndEndsEveryWait() {
        TForm1& form = h->Start();
        form.close();
        QVERIFY(h->state.Closing);
        for (const int closes : {h->chart.closes, h->configuration.closes, h->channel.closes,
                                 h->calibration.closes, h->engineering.closes}) {
            QCOMPARE(closes, 1);
        }
        // A sender waiting for a reply that will never come goes on.
        h->exchange.Send(protocol::Question::Poll('X'));
        h->exchange.Send(protocol::Question::Poll('X'));
        QCOMPARE(h->pump.waits, 0);
    }

    void closingEndsPcLoggingAndRunsOnce() {
        TForm1& form = h->Start();
        h->Find<QPushButton>("StartButton")->click();
        QVERIFY(form.PcLogging());
        form.close();
        QVERIFY(!form.PcLogging());
        const auto closes =
            std::count(h->port.operations.begin(), h->port.operations.end(), "Close");
        form.FormClose(); // as at the end of the session, after the window was closed
        QCOMPARE(std::count(h->port.operations.begin(), h->port.operations.end(), "Close"), closes);
    }

    void exitStopsLoggingAndCloses() {
        TForm1& form = h->Start();
        form.show();
        h->Find<QPushButton>("StartButton")->click();
        h->Find<QPushButton>("bExit")->click();
        QVERIFY(!form.PcLogging());
        QVERIFY(!form.isVisible());
        QCOMPARE(h->Text("lLogName"), QString());
        QVERIFY(h->settings.Get("Control", "Left1"));
    }

    void buttonsShowAndHideTheirWindows() {
        h->settings.Set("Control", "Diagnostic Level", "2");
        h->Start();
        const std::pair<const char*, SecondaryWindow*> buttons[] = {
            {"bChart1", &h->chart},
            {"bConfig", &h->configuration},
            {"bENG", &h->engineering},
        };
        for (const auto& [button, window] : buttons) {
            h->Find<QPushButton>(button)->click();
            QVERIFY2(window->IsShown(), button);
            h->Find<QPushButton>(button)->click();
            QVERIFY2(!window->IsShown(), button);
        }
    }

    void calibrateWhileLoggingOnlyTellsTheOperator() {
        h->Start();
        h->calibration.shown = true;
        h->Find<QPushButton>("StartButton")->click();
        h->Find<QPushButton>("bCalibrate")->click();
        QCOMPARE(h->operatorAnswers.notices,
                 QStringList{"Please stop logging before calibration."});
        QVERIFY(h->operatorAnswers.questions.isEmpty());
        QVERIFY(h->calibration.shown);
    }

    void calibrateClosesAnOpenCalibrationWindow() {
        h->Start();
        h->calibration.shown = true;
        h->Find<QPushButton>("bCalibrate")->click();
        QVERIFY(!h->calibration.shown);
        QVERIFY(h->operatorAnswers.questions.isEmpty());
    }

    void calibrateAsksToSwitchForTheInputMode_data() {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<QString>("question");
        QTest::newRow("before the status") << ""
                                           << "";
        QTest::newRow("thermocouple") << "00"
                                      << "Switch to Millivolt?";
        QTest::newRow("resistance") << "80"
                                    << "Switch to Resistance?";
    }
    void calibrateAsksToSwitchForTheInputMode() {
        QFETCH(QString, flag);
        QFETCH(QString, question);
        h->Start();
        if (!flag.isEmpty()) {
            h->port.Receive(Replies::Status("V630", flag.toStdString()));
        }
        h->operatorAnswers.AnswerNo();
        h->Find<QPushButton>("bCalibrate")->click();
        QCOMPARE(h->operatorAnswers.questions, QStringList{question});
        QVERIFY(!h->Find<QRadioButton>("rbMilliVolt")->isChecked());
        QVERIFY(h->calibration.shown);

        h->calibration.shown = false;
        h->operatorAnswers.AnswerYes();
        h->Find<QPushButton>("bCalibrate")->click();
        QVERIFY(h->Find<QRadioButton>("rbMilliVolt")->isChecked());

        // Already on millivolts: no question.
        h->calibration.shown = false;
        h->Find<QPushButton>("bCalibrate")->click();
        QCOMPARE(h->operatorAnswers.questions.size(), 2);
        QVERIFY(h->operatorAnswers.unexpected.isEmpty());
    }

    void resetMinMaxAsksFirst() {
        TForm1& form = h->Start();
        form.show();
        h->port.Receive(Replies::Readings('M', std::string(9 * 8, ' ').replace(8, 8, "   12.50")));
        h->operatorAnswers.AnswerNo();
        h->Find<QPushButton>("bReset")->click();
        QCOMPARE(h->Text("lMinx1"), QString("-------"));
        h->operatorAnswers.AnswerYes();
        h->Find<QPushButton>("bReset")->click();
        QCOMPARE(h->operatorAnswers.questions,
                 QStringList({"Reset Min/Max, are you sure?", "Reset Min/Max, are you sure?"}));
        QCOMPARE(h->Text("lMinx1"), QString("   12.50"));
        QCOMPARE(h->Text("lMaxx1"), QString("   12.50"));
        QCOMPARE(h->Text("lMaxx2"), QString("        "));
    }

    void doubleClickingACounterAsksToResetIt() {
        h->settings.Set("Control", "Diagnostic Level", "16");
        TForm1& form = h->Start();
        form.show();
        const std::string wrongBcc("\x02S\x03\x00", 4);
        h->port.Receive(wrongBcc);
        h->port.Receive(wrongBcc);
        QCOMPARE(h->Text("lBCC_error"), QString("2"));
        QCOMPARE(h->Text("lComm_count"), QString("1"));

        h->operatorAnswers.AnswerNo();
        QTest::mouseDClick(h->Find("lBCC_error"), Qt::LeftButton);
        QCOMPARE(h->Text("lBCC_error"), QString("2"));
        h->operatorAnswers.AnswerYes();
        QTest::mouseDClick(h->Find<QGroupBox>("gbBCC_error"), Qt::LeftButton);
        QCOMPARE(h->Text("lBCC_error"), QString("0"));
        QCOMPARE(h->frames.BccErrorCount(), 0);

        h->operatorAnswers.AnswerYes();
        QTest::mouseDClick(h->Find("lComm_count"), Qt::LeftButton);
        QCOMPARE(h->Text("lComm_count"), QString("0"));
        QCOMPARE(h->operatorAnswers.questions,
                 QStringList({"Reset BCC error?", "Reset BCC error?", "Reset Comms error?"}));
    }

    void doubleClickingAReadingOpensTheChannelWindow() {
        TForm1& form = h->Start();
        form.show();
        h->port.Receive(Replies::Status("V420"));
        h->Polls();
        QTest::mouseDClick(h->Find("lDispx3"), Qt::LeftButton);
        QCOMPARE(h->channel.caption, 3);
        QVERIFY(h->channel.shown);
        QCOMPARE(h->channel.repaints, 1);
        QVERIFY(h->channel.switched);
        QCOMPARE(h->state.SelectedChannel, 3);
        QCOMPARE(h->Polls(), std::string("3"));

        // The channel already selected: shown again without a poll.
        h->channel.shown = false;
        h->channel.switched = false;
        h->port.Receive(Replies::Framed("300  1.0000  0.0000"));
        QTest::mouseDClick(h->Find("lDispx3"), Qt::LeftButton);
        QVERIFY(h->channel.shown);
        QVERIFY(!h->channel.switched);
        QCOMPARE(h->Polls(), std::string());

        QTest::mouseDClick(h->Find("lDispx0"), Qt::LeftButton);
        QCOMPARE(h->channel.caption, 0);
        QCOMPARE(h->Polls(), std::string("0"));
    }

    void aboutOpensTheAboutBox() {
        h->Start();
        h->Find<QPushButton>("bAbout")->click();
        QCOMPARE(h->about.showings, 1);
    }

private:
    std::unique_ptr<PanelHarness> h;
    std::unique_ptr<QTemporaryDir> workDir;
};

QTEST_MAIN(MainWindowTest)
#include "test_MainWindow.moc"
