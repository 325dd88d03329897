// The polling timer: what each tick sends, the busy watchdog, the port re-selection, the
// interval edit, minimum/maximum and the PC log lines it writes.
#include "PanelHarness.h"
#include "ui/panel/LocaleText.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Nine reading fields whose channel i reads base + i.
std::string Fields(double base, int channels = 9) {
    std::string fields;
    for (int i = 0; i < channels; ++i) {
        fields += Replies::Field(QString::number(base + i, 'f', 2).toStdString());
    }
    return fields;
}

} // namespace

class PollingTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        h = std::make_unique<PanelHarness>();
        workDir = std::make_unique<QTemporaryDir>();
        QVERIFY(workDir->isValid());
        QDir::setCurrent(workDir->path());
    }
    void cleanup() {
        h.reset();
        QLocale::setDefault(QLocale::c());
    }

    void eachTickSendsThePollsOfTheModel_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("interval");
        QTest::addColumn<QString>("polls");
        QTest::newRow("V630, interval 2") << "V630" << 2 << "OTOTOTOT";
        QTest::newRow("V630, interval 4") << "V630" << 4 << ".O.TO.OT";
        QTest::newRow("V420") << "V420" << 2 << ".T.T.T.T";
        QTest::newRow("unknown model") << "V999" << 2 << "STSTSTST";
        QTest::newRow("unknown model, interval 3") << "V999" << 3 << "SSTSST";
    }
    void eachTickSendsThePollsOfTheModel() {
        QFETCH(QString, model);
        QFETCH(int, interval);
        QFETCH(QString, polls);
        h->settings.Set("Control", "Comms_Interval", std::to_string(interval));
        StartWithModel(model.toStdString());
        QCOMPARE(QString::fromStdString(AnsweredTicks(polls.size())), polls);
    }

    void theReadingPollFollowsTheDisplayAndTheInputMode_data() {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("polls");
        QTest::newRow("thermocouple, temperature") << "00"
                                                   << "rbTemperature"
                                                   << ".T.T";
        QTest::newRow("thermocouple, millivolt") << "00"
                                                 << "rbMilliVolt"
                                                 << ".M.M";
        QTest::newRow("thermocouple, lead resistance") << "00"
                                                       << "rbLead"
                                                       << "....";
        QTest::newRow("resistance, temperature") << "80"
                                                 << "rbTemperature"
                                                 << ".T.T";
        QTest::newRow("resistance, resistance") << "80"
                                                << "rbMilliVolt"
                                                << ".R.R";
        QTest::newRow("resistance, lead resistance") << "80"
                                                     << "rbLead"
                                                     << ".r.r";
    }
    void theReadingPollFollowsTheDisplayAndTheInputMode() {
        QFETCH(QString, flag);
        QFETCH(QString, button);
        QFETCH(QString, polls);
        StartWithModel("V420", flag.toStdString());
        h->Find<QRadioButton>(button)->setChecked(true);
        QCOMPARE(QString::fromStdString(AnsweredTicks(polls.size())), polls);
    }

    void leadResistanceOnAThermocoupleInstrumentKeepsTheOtherTraffic() {
        StartWithModel("V630");
        h->Find<QRadioButton>("rbLead")->setChecked(true);
        QCOMPARE(AnsweredTicks(6), std::string("O.O.O."));
    }

    void theWatchdogFreesTheLinkOnTheFourthTickOfASilentInstrument() {
        StartWithModel("V420");
        h->Tick(2);
        QCOMPARE(h->Polls(), std::string("T"));
        for (int tick = 1; tick <= 3; ++tick) {
            QVERIFY2(h->frames.CommsBusy(), qPrintable(QString("tick %1").arg(tick)));
            h->Tick();
        }
        QVERIFY(!h->frames.CommsBusy());
        // The reading poll skipped on tick 4 falls due again with the interval of tick 6.
        QCOMPARE(h->Polls(), std::string());
        h->Tick();
        QCOMPARE(h->Polls(), std::string("T"));
        QCOMPARE(h->Text("lComm_count"), QString("2"));
    }

    void theWatchdogNeverCutsShortAPollAnsweredInTime() {
        // Every tick of a V630 at interval 2 sends a poll of its own.
        StartWithModel("V630");
        for (int tick = 1; tick <= 20; ++tick) {
            h->Tick();
            QVERIFY2(h->frames.CommsBusy(), qPrintable(QString("tick %1").arg(tick)));
            AnswerLastPoll("V630");
        }
        QCOMPARE(h->frames.OutstandingCount(), 0);
    }

    void theWatchdogCountsFromTheLatestFrame() {
        StartWithModel("V420");
        h->Tick(2); // 'T' goes out
        h->Tick(2);
        AnswerLastPoll("V420");
        // Another window polls between two ticks; its wait starts afresh.
        h->exchange.Send(protocol::Question::Poll('X'));
        h->Tick(3);
        QVERIFY(h->frames.CommsBusy());
        h->Tick();
        QVERIFY(!h->frames.CommsBusy());
    }

    void aSilentInstrumentGetsItsPortReselectedAtTheEleventhNewHigh() {
        h->Start();
        // From the start-up poll on nothing answers: one more outstanding request every four
        // ticks, and so a new high of the count on ticks 1, 5, 9 ... 41.
        h->Tick(40);
        QCOMPARE(h->frames.OutstandingCount(), 10);
        QCOMPARE(h->configuration.reselections, 0);
        h->Tick();
        QCOMPARE(h->configuration.reselections, 1);
        h->port.lost = true; // while its port brings the device back, nothing goes out
        h->Polls();
        h->Tick(44);
        QCOMPARE(h->Polls(), std::string());
    }

    void aSlowInstrumentStillGetsItsReadingPolls() {
        // Replies take longer than a tick: the outputs poll of the tick before still holds the
        // link when the interval elapses.
        StartWithModel("V630");
        std::string polls;
        for (int tick = 1; tick <= 8; ++tick) {
            const bool answerLate = h->frames.CommsBusy();
            h->Tick();
            polls += h->Polls() + "|";
            if (answerLate) {
                AnswerLastPoll("V630");
            }
        }
        QCOMPARE(QString::fromStdString(polls).count('T'), 3);
    }

    void leavingTheIntervalEditForAnotherWindowChangesNothing() {
        h->Start();
        auto* edit = h->Find<QLineEdit>("eInterval");
        edit->setText("7");
        QFocusEvent toAnotherWindow(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(edit, &toAnotherWindow);
        QFocusEvent toAMenu(QEvent::FocusOut, Qt::PopupFocusReason);
        QCoreApplication::sendEvent(edit, &toAMenu);
        QCOMPARE(h->state.PollCountdown, 2);
        QCOMPARE(h->chart.samplingPeriod, 0);
        QFocusEvent toAnotherControl(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(edit, &toAnotherControl);
        QCOMPARE(h->state.PollCountdown, 7);
        QCOMPARE(h->chart.samplingPeriod, 7000);
    }

    void pausesOfPollingAreCounted() {
        TForm1& form = h->Start(true);
        auto* timer = form.findChild<QTimer*>("Timer1");
        form.PausePolling();
        form.PausePolling();
        QVERIFY(!timer->isActive());
        form.ResumePolling();
        QVERIFY(!timer->isActive());
        form.ResumePolling();
        QVERIFY(timer->isActive());
        form.ResumePolling(); // one too many changes nothing
        form.PausePolling();
        QVERIFY(!timer->isActive());
    }

    void theIntervalEditClampsWhatItIsGiven_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("1") << "1"
                           << "2";
        QTest::newRow("0") << "0"
                           << "2";
        QTest::newRow("-5") << "-5"
                            << "2";
        QTest::newRow("text") << "ten"
                              << "2";
        QTest::newRow("fraction") << "2.5"
                                  << "2";
        QTest::newRow("99999") << "99999"
                               << "3600";
        QTest::newRow("7") << "7"
                           << "7";
    }
    void theIntervalEditClampsWhatItIsGiven() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        h->Start();
        auto* edit = h->Find<QLineEdit>("eInterval");
        edit->setText(typed);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(h->state.PollCountdown, shown.toInt());

        // Leaving the edit does the same.
        edit->setText(typed);
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(edit, &leave);
        QCOMPARE(edit->text(), shown);
    }

    void unconfirmedIntervalTextNeverStopsThePolling() {
        StartWithModel("V420");
        h->Find<QLineEdit>("eInterval")->setText("0");
        QCOMPARE(AnsweredTicks(6), std::string(".T.T.T"));
        h->Find<QLineEdit>("eInterval")->setText("soon");
        QCOMPARE(AnsweredTicks(4), std::string(".T.T"));
    }

    void theClockLabelShowsTheTimeOfEachTick() {
        h->Start();
        h->Tick();
        QCOMPARE(h->Text("lClock"), DateTimeToText(ToLocalDateTime(h->clock.Now())));
    }

    void theColdJunctionDisplayFollowsTheInputMode() {
        h->settings.Set("Control", "Diagnostic Level", "4");
        StartWithModel("V420", "80");
        h->Tick();
        QVERIFY(h->Find<QWidget>("gbChannel0")->isHidden());
        h->port.Receive(Replies::Status("V420", "00"));
        h->Tick();
        QVERIFY(!h->Find<QWidget>("gbChannel0")->isHidden());
    }

    void minimumAndMaximumFollowTheReadingsOncePerInterval() {
        StartWithModel("V420");
        Reading('T', "   20.00");
        QCOMPARE(h->Text("lMinx1"), QString("-------")); // not before the interval has elapsed
        h->Tick(2);
        QCOMPARE(h->Text("lMinx1"), QString("   20.00"));
        QCOMPARE(h->Text("lMaxx1"), QString("   20.00"));
        Reading('T', "   25.50");
        h->Tick(2);
        QCOMPARE(h->Text("lMinx1"), QString("   20.00"));
        QCOMPARE(h->Text("lMaxx1"), QString("   25.50"));
        Reading('T', "    -1.0");
        h->Tick(2);
        QCOMPARE(h->Text("lMinx1"), QString("    -1.0"));
        QCOMPARE(h->Text("lMaxx1"), QString("   25.50"));
    }

    void aReadingThatIsNoNumberCountsAsZeroForMinimumAndMaximum() {
        StartWithModel("V420");
        Reading('T', "    5.00");
        h->Tick(2);
        // A text that is no number is 0: below the minimum of 5, so the minimum takes it.
        Reading('T', "   error");
        h->Tick(2);
        QCOMPARE(h->Text("lMinx1"), QString("   error"));
        QCOMPARE(h->Text("lMaxx1"), QString("    5.00"));

        // The same for a maximum below 0.
        h->operatorAnswers.AnswerYes();
        Reading('T', "   -3.00");
        h->Find<QPushButton>("bReset")->click();
        Reading('T', "  failed");
        h->Tick(2);
        QCOMPARE(h->Text("lMaxx1"), QString("  failed"));
        QCOMPARE(h->Text("lMinx1"), QString("   -3.00"));
    }

    void minimumAndMaximumStayEmptyWithoutTracking() {
        h->settings.Set("Control", "Diagnostic Level", "8");
        StartWithModel("V420");
        Reading('T', "   20.00");
        h->Tick(4);
        QCOMPARE(h->Text("lMinx1"), QString("-------"));
        QCOMPARE(h->Text("lMaxx1"), QString("-------"));
    }

    void thePcLogWritesOneLinePerIntervalWithTheStampOfTheRequest() {
        h->settings.Set("Control", "Comms_Interval", "10");
        StartWithModel("V420");
        const QDateTime started = ToLocalDateTime(h->clock.Now());
        h->Find<QPushButton>("StartButton")->click();
        const QString name = "PC " + DateTimeStamp(started);
        QCOMPARE(h->Text("lLogName"), "To: " + name);

        QStringList stamps;
        for (int tick = 1; tick <= 40; ++tick) {
            h->Tick();
            if (tick % 10 == 0) {
                stamps.append(FormatDateTime("dd.mm.yy hh:mm:ss", ToLocalDateTime(h->clock.Now())));
                if (tick == 20) {
                    QCOMPARE(ReadLog(name + ".csv").size(), 1); // two intervals after Start
                }
            }
            AnswerLastPoll("V420", 20.0 + tick);
        }
        h->Find<QPushButton>("StopButton")->click();
        QCOMPARE(h->Text("lLogName"), QString());

        const QStringList lines = ReadLog(name + ".csv");
        QCOMPARE(lines.size(), 3);
        for (int i = 0; i < lines.size(); ++i) {
            const QStringList fields = lines[i].split(';');
            QCOMPARE(fields.size(), 10);
            QCOMPARE(fields[0], stamps[i]);
            // The readings asked for at that stamp: the reply to the poll of tick 10, 20, 30.
            QCOMPARE(fields[1], QString::number(29.0 + 10 * i, 'f', 4));
            QCOMPARE(fields[9], QString::number(37.0 + 10 * i, 'f', 4));
        }
    }

    void thePcLogUsesTheLocaleSeparators() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        StartWithModel("V420");
        h->Find<QPushButton>("StartButton")->click();
        const QString name = "PC " + DateTimeStamp(ToLocalDateTime(h->clock.Now())) + ".csv";
        h->Tick(2);
        h->port.Receive(
            Replies::Readings('R', "   -1.25" + std::string("------- ") + Fields(3, 6)));
        h->Tick(2);
        const QStringList fields = ReadLog(name).value(0).split(';');
        QCOMPARE(fields.size(), 10);
        // Channel 0 still shows "-------": an 'R' reply leaves it alone.
        QCOMPARE(fields.mid(1, 4), QStringList({"0,0000", "-1,2500", "0,0000", "3,0000"}));
    }

    void noReplyMeansNoLogLine() {
        StartWithModel("V420");
        h->Find<QPushButton>("StartButton")->click();
        const QString name = "PC " + DateTimeStamp(ToLocalDateTime(h->clock.Now())) + ".csv";
        h->Tick(8);
        QVERIFY(QFile::exists(name));
        QCOMPARE(ReadLog(name).size(), 0);
    }

    void aReadingBeforeTheFirstIntervalCarriesTheStampLeftFromBefore() {
        StartWithModel("V420");
        h->Find<QPushButton>("StartButton")->click();
        const QString first = "PC " + DateTimeStamp(ToLocalDateTime(h->clock.Now())) + ".csv";
        Reading('T', "    1.00"); // between Start and the first elapsed interval
        h->Tick(2);
        QCOMPARE(ReadLog(first).value(0).section(';', 0, 0), QString()); // no stamp yet this run
        const QString stampLeft =
            FormatDateTime("dd.mm.yy hh:mm:ss", ToLocalDateTime(h->clock.Now()));
        Reading('T', "    2.00");
        h->Find<QPushButton>("StopButton")->click();

        h->clock.Advance(5000);
        h->Find<QPushButton>("StartButton")->click();
        const QString second = "PC " + DateTimeStamp(ToLocalDateTime(h->clock.Now())) + ".csv";
        h->Tick(2);
        QCOMPARE(ReadLog(second).value(0).section(';', 0, 1), stampLeft + ";0.0000");
    }

private:
    void StartWithModel(const std::string& model, const std::string& flag = "00") {
        h->Start();
        h->port.Receive(Replies::Status(model, flag));
        h->Polls();
    }

    // Channel 1 reads text, the others blank.
    void Reading(char letter, const std::string& channel1) {
        std::string fields = std::string(9 * 8, ' ');
        fields.replace(8, 8, Replies::Field(channel1));
        h->port.Receive(Replies::Readings(letter, fields, letter == 'T' ? "00" : ""));
    }

    // Answers the poll just sent as the instrument would.
    void AnswerLastPoll(const std::string& model, double base = 20.0) {
        if (!h->frames.CommsBusy()) {
            return;
        }
        const char letter = h->port.sent.back()[1];
        switch (letter) {
        case 'S':
            h->port.Receive(Replies::Status(model));
            break;
        case 'T':
            h->port.Receive(Replies::Readings('T', Fields(base - 1), "00"));
            break;
        case 'M':
            h->port.Receive(Replies::Readings('M', Fields(base - 1)));
            break;
        case 'R':
        case 'r':
            h->port.Receive(Replies::Readings(letter, Fields(base, 8)));
            break;
        case 'O':
            h->port.Receive(Replies::Framed("O00"));
            break;
        default:
            h->port.Receive("\x06");
        }
    }

    // One character per tick: the letter it sent, or '.' for none; every poll answered.
    std::string AnsweredTicks(int ticks) {
        std::string letters;
        for (int i = 0; i < ticks; ++i) {
            h->Tick();
            const std::string sent = h->Polls();
            letters += sent.empty() ? "." : sent;
            AnswerLastPoll(h->state.ModelName.toStdString());
        }
        return letters;
    }

    static QStringList ReadLog(const QString& name) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) {
            return {"(missing)"};
        }
        const QByteArray content = file.readAll();
        if (!content.isEmpty() && !content.endsWith("\r\n")) {
            return {"(unterminated)"};
        }
        QStringList lines = QString::fromLatin1(content).split("\r\n");
        lines.removeLast();
        return lines;
    }

    std::unique_ptr<PanelHarness> h;
    std::unique_ptr<QTemporaryDir> workDir;
};

QTEST_MAIN(PollingTest)
#include "test_Polling.moc"
