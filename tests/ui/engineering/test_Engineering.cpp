// The engineering window: register and filter exchanges, the register file, the comms log.
#include "ui/engineering/Engineering.h"
#include "ui/panel/DiagnosticLevel.h"
#include "ui/panel/LocaleText.h"
#include "ui/support/WindowHarness.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

const std::string kRegisterPoll = "\x04X\x05";
const std::string kFilterPoll = "\x04"
                                "f\x05";

// A request frame as it goes out: EOT, then the framed payload.
std::string Request(const std::string& payload) {
    return "\x04" + Replies::Framed(payload);
}

QString Hex(int value) {
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

QByteArray Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class EngineeringTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        h = std::make_unique<WindowHarness>();
        workDir = std::make_unique<QTemporaryDir>();
        QVERIFY(workDir->isValid());
        QDir::setCurrent(workDir->path());
        h->state.DiagnosticLevel = DiagnosticBit::kEngineeringWindow;
    }
    void cleanup() {
        window.reset();
        h.reset();
    }

    void showsOnlyWithTheDiagnosticBit() {
        h->settings.Set("Control", "Visible6", "1");
        h->state.DiagnosticLevel = DiagnosticBit::kCommsDiagnostics;
        Start();
        QVERIFY(!window->isVisible());
        window->SetShown(true);
        QVERIFY(!window->isVisible());

        h->state.DiagnosticLevel = DiagnosticBit::kEngineeringWindow;
        Start();
        QVERIFY(window->isVisible());
        // Shown when the program ends: it opens again at the next start.
        window->CloseWindow();
        QVERIFY(!window->isVisible());
        QCOMPARE(h->settings.Get("Control", "Visible6"), std::optional<std::string>("1"));
        QVERIFY(h->settings.Get("Control", "Left6"));
    }

    void registerBoxesAreBuiltInTwoRows() {
        h->settings.Set("Control", "Visible6", "1");
        Start();
        for (int i = 0; i < 32; ++i) {
            QLineEdit* box = Box(i);
            QVERIFY(box && box->isVisible());
            QCOMPARE(box->text(), QString("--"));
            QCOMPARE(box->toolTip(), QString("RTC register value"));
            QCOMPARE(box->pos(), QPoint(24 + 40 * (i % 16), i < 16 ? 32 : 80));
            QCOMPARE(box->parent()->objectName(), QString("gbRegister"));
        }
        QCOMPARE(window->findChild<QLabel*>("lreg31")->text(), QString("1F"));
        QVERIFY(window->findChild<QLabel*>("lFilename")->isHidden());
    }

    void refreshAwaitsEveryBoxAndAShortReplyLeavesTheRestWaiting() {
        Start();
        // Ten characters: registers 00 to 04; the frame's end stands where 05 would.
        h->AnswerPolls([](char) { return Replies::Framed("X0102030409"); });
        h->operatorAnswers.AnswerYes();
        Click("bRefresh");
        QCOMPARE(h->Sent(), std::vector<std::string>{kRegisterPoll});
        QCOMPARE(h->operatorAnswers.questions.last(),
                 QString("Refresh the screen with RTC registers?"));
        h->pump.WaitAndProcess();
        QCOMPARE(Box(4)->text(), QString("09"));
        QCOMPARE(Colour(4), QColor(0, 255, 0));
        for (int i = 5; i < 32; ++i) {
            QCOMPARE(Colour(i), QColor(255, 0, 0));
            QCOMPARE(Box(i)->text(), QString("--"));
        }
        QTest::mouseClick(Box(7), Qt::LeftButton);
        QCOMPARE(Colour(7), QColor(166, 202, 240));
    }

    void sendWritesEveryRegisterThenReadsThemBack() {
        Start();
        QString expected = "X";
        for (int i = 0; i < 32; ++i) {
            Box(i)->setText(Hex(i * 7).toLower());
            expected += Hex(i * 7);
        }
        h->AnswerPolls([](char) { return std::nullopt; });
        h->operatorAnswers.AnswerYes();
        const auto before = h->clock.TickCount();
        Click("bSend");
        QCOMPARE(h->operatorAnswers.questions.last(),
                 QString("Warning! Incorrect register value can stop RTC. Overwrite?"));
        const auto sent = h->Sent();
        QCOMPARE(sent.size(), std::size_t(2));
        QCOMPARE(sent[0], Request(expected.toStdString()));
        QCOMPARE(sent[0].size(), std::size_t(69));
        QCOMPARE(sent[1], kRegisterPoll);
        QVERIFY(h->clock.TickCount() - before >= 200);
    }

    void aRegisterThatIsNotTwoHexDigitsStopsTheSend_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("initial") << "--";
        QTest::newRow("one digit") << "7";
        QTest::newRow("empty") << "";
        QTest::newRow("not hex") << "G1";
        QTest::newRow("leading blank") << " A";
        QTest::newRow("frame end") << "\x03Q";
    }
    void aRegisterThatIsNotTwoHexDigitsStopsTheSend() {
        QFETCH(QString, text);
        Start();
        for (int i = 0; i < 32; ++i) {
            Box(i)->setText("00");
        }
        Box(0x1A)->setText(text);
        Box(0x1C)->setText("zz");
        Click("bSend");
        QVERIFY(h->Sent().empty());
        QVERIFY(h->operatorAnswers.questions.isEmpty());
        QCOMPARE(h->operatorAnswers.errors.size(), 1);
        QVERIFY2(h->operatorAnswers.errors[0].contains("register 1A"),
                 qPrintable(h->operatorAnswers.errors[0]));
    }

    void filterConstantGoesOutWithTheMainsFlag_data() {
        QTest::addColumn<QString>("constant");
        QTest::addColumn<bool>("sixtyHertz");
        QTest::addColumn<QString>("payload");
        QTest::newRow("5 at 60 Hz") << "5" << true << "f0501";
        QTest::newRow("25 at 50 Hz") << "25" << false << "f2500";
        QTest::newRow("blanks around") << " 02 " << false << "f0200";
    }
    void filterConstantGoesOutWithTheMainsFlag() {
        QFETCH(QString, constant);
        QFETCH(bool, sixtyHertz);
        QFETCH(QString, payload);
        Start();
        window->findChild<QLineEdit*>("eFilterConstant")->setText(constant);
        window->findChild<QCheckBox*>("cb60Hz")->setChecked(sixtyHertz);
        h->AnswerPolls([](char) { return Replies::Framed("f1201"); });
        h->operatorAnswers.AnswerYes();
        Click("bFilterConstantSend");
        QCOMPARE(h->operatorAnswers.questions.last(),
                 QString("Do you want to send the filter constant?"));
        QCOMPARE(h->Sent(),
                 (std::vector<std::string>{Request(payload.toStdString()), kFilterPoll}));
        h->pump.WaitAndProcess();
        QCOMPARE(window->findChild<QLineEdit*>("eFilterConstant")->text(), QString("12"));
        QVERIFY(window->findChild<QCheckBox*>("cb60Hz")->isChecked());
    }

    void aFilterConstantOutsideTwoToTwentyFiveIsRefused_data() {
        QTest::addColumn<QString>("constant");
        for (const char* text : {"1", "26", "abc", "5.0", "-5", "+5", "1e1", "005"}) {
            QTest::newRow(text) << text;
        }
        QTest::newRow("empty") << "";
    }
    void aFilterConstantOutsideTwoToTwentyFiveIsRefused() {
        QFETCH(QString, constant);
        Start();
        window->findChild<QLineEdit*>("eFilterConstant")->setText(constant);
        Click("bFilterConstantSend");
        QVERIFY(h->Sent().empty());
        QCOMPARE(h->operatorAnswers.errors.size(), 1);
        QVERIFY(h->operatorAnswers.errors[0].startsWith("Filter constant"));
    }

    void aMainsFlagThatIsNotANumberLeavesTheCheckBox() {
        Start();
        auto* sixtyHertz = window->findChild<QCheckBox*>("cb60Hz");
        h->port.Receive(Replies::Framed("f0701"));
        QVERIFY(sixtyHertz->isChecked());
        h->port.Receive(Replies::Framed("f08x1"));
        QCOMPARE(window->findChild<QLineEdit*>("eFilterConstant")->text(), QString("08"));
        QVERIFY(sixtyHertz->isChecked());
        h->port.Receive(Replies::Framed("f0900"));
        QVERIFY(!sixtyHertz->isChecked());
    }

    void savedRegistersLoadBack() {
        Start();
        for (int i = 0; i < 32; ++i) {
            Box(i)->setText(Hex(255 - i));
        }
        const QString name = "RTC " + DateTimeStamp(ToLocalDateTime(h->clock.Now()));
        h->operatorAnswers.AnswerYes();
        Click("bSave");
        QCOMPARE(Text("lSaveName"), "to: " + name);
        const QByteArray saved = Content(name + ".txt");
        QVERIFY(saved.startsWith("00=FF\r\n01=FE\r\n"));
        QVERIFY(saved.endsWith("1F=E0\r\n"));
        QCOMPARE(saved.count("\r\n"), 32);

        for (int i = 0; i < 32; ++i) {
            Box(i)->setText("--");
        }
        h->operatorAnswers.AnswerYes();
        h->operatorAnswers.ChooseFile(QDir::current().filePath(name + ".txt"));
        Click("bLoad");
        QCOMPARE(h->operatorAnswers.fileFilters.last(),
                 QString("Text files (*.txt)|*.TXT|All files (*.*)|*.*"));
        QCOMPARE(Text("lSaveName"), "from: " + name + ".txt");
        for (int i = 0; i < 32; ++i) {
            QCOMPARE(Box(i)->text(), Hex(255 - i));
        }
        QVERIFY(h->Sent().empty());
    }

    void aShortFileEmptiesTheBoxesItDoesNotReach() {
        Start();
        QFile file("short.txt");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("00=11\r\n1F=22\n02=3\r\n");
        file.close();
        h->operatorAnswers.AnswerYes();
        h->operatorAnswers.ChooseFile("short.txt");
        Click("bLoad");
        // Taken in order, whatever number a line starts with.
        QCOMPARE(Box(0)->text(), QString("11"));
        QCOMPARE(Box(1)->text(), QString("22"));
        QCOMPARE(Box(2)->text(), QString("3"));
        for (int i = 3; i < 32; ++i) {
            QCOMPARE(Box(i)->text(), QString());
        }
    }

    void aFileThatCannotBeReadIsReportedAndChangesNothing() {
        Start();
        QDir().mkdir("folder.txt");
        h->operatorAnswers.AnswerYes();
        h->operatorAnswers.ChooseFile("folder.txt");
        Click("bLoad");
        QCOMPARE(h->operatorAnswers.errors.size(), 1);
        QCOMPARE(Box(0)->text(), QString("--"));
        QCOMPARE(Text("lSaveName"), QString());
    }

    void commsLogHoldsOneLinePerClusterWhileActive() {
        Start();
        const QString name = "CT" + DateTimeStamp(ToLocalDateTime(h->clock.Now()));
        auto* button = window->findChild<QPushButton*>("bLogComms");
        h->operatorAnswers.AnswerYes();
        Click("bLogComms");
        QCOMPARE(h->operatorAnswers.questions.last(),
                 QString("Log all Comms transactions to file?"));
        QCOMPARE(Text("lFilename"), "To: " + name);
        QVERIFY(!window->findChild<QLabel*>("lFilename")->isHidden());
        QCOMPARE(button->text(), QString("Logging"));
        QCOMPARE(button->toolTip(), QString("Click to STOP"));

        h->port.Receive(Replies::kAcknowledge);
        h->port.Receive(Replies::Framed("f0501"));
        // Hiding the window leaves the log running.
        window->close();
        h->port.Receive("\x15");
        const QString stamp = FormatDateTime("dd.mm.yy hh:mm:ss", ToLocalDateTime(h->clock.Now()));
        const QByteArray expected =
            (stamp + " :\x06\r\n" + stamp + " :" +
             QString::fromStdString(Replies::Framed("f0501")) + "\r\n" + stamp + " :\x15\r\n")
                .toLatin1();
        QCOMPARE(Content(name + ".txt"), expected);

        h->operatorAnswers.AnswerYes();
        Click("bLogComms");
        QCOMPARE(h->operatorAnswers.questions.last(), QString("Stop logging Comms transactions?"));
        QCOMPARE(button->text(), QString("Start"));
        QCOMPARE(button->toolTip(), QString("Click to START"));
        QVERIFY(!window->findChild<QLabel*>("lFilename")->isHidden());
        h->port.Receive(Replies::kAcknowledge);
        QCOMPARE(Content(name + ".txt"), expected);
    }

    void theProgramsEndClosesTheCommsLog() {
        Start();
        h->operatorAnswers.AnswerYes();
        Click("bLogComms");
        QVERIFY(window->CommsLogActive());
        window->CloseWindow();
        QVERIFY(!window->CommsLogActive());
        QCOMPARE(window->findChild<QPushButton*>("bLogComms")->text(), QString("Start"));
    }

    void aLogThatCannotBeMadeIsReportedAndStaysOff() {
        Start();
        QVERIFY(QDir().mkdir("CT" + DateTimeStamp(ToLocalDateTime(h->clock.Now())) + ".txt"));
        h->operatorAnswers.AnswerYes();
        Click("bLogComms");
        QVERIFY(!window->CommsLogActive());
        QCOMPARE(h->operatorAnswers.errors.size(), 1);
        QVERIFY(window->findChild<QLabel*>("lFilename")->isHidden());
    }

    void aFailedLogWriteStopsLoggingAndIsToldOnceOutsideReception() {
        Start();
        const QString name = "CT" + DateTimeStamp(ToLocalDateTime(h->clock.Now())) + ".txt";
        QVERIFY(QFile::link("/dev/full", name));
        h->operatorAnswers.AnswerYes();
        Click("bLogComms");
        QVERIFY(window->CommsLogActive());

        h->port.Receive(Replies::Framed("X0102"));
        QVERIFY(!window->CommsLogActive());
        QCOMPARE(window->findChild<QPushButton*>("bLogComms")->text(), QString("Start"));
        QVERIFY(h->operatorAnswers.errors.isEmpty());
        // Reception went on: the reply still reached its box.
        QCOMPARE(Box(1)->text(), QString("02"));
        h->port.Receive(Replies::kAcknowledge);
        QCoreApplication::processEvents();
        QCOMPARE(h->operatorAnswers.errors.size(), 1);
        QVERIFY(h->operatorAnswers.errors[0].contains(name));
        QCOMPARE(h->frames.HandlerFailureCount(), 0);
        QVERIFY(!h->frames.CommsBusy());
    }

private:
    void Start() {
        window.reset();
        window = std::make_unique<TfRTC>(h->context);
        h->windows.engineering = window.get();
    }
    QLineEdit* Box(int i) { return window->findChild<QLineEdit*>(QString("ereg%1").arg(i)); }
    QColor Colour(int i) { return Box(i)->palette().color(QPalette::Base); }
    QString Text(const char* name) { return window->findChild<QLabel*>(name)->text(); }
    void Click(const char* name) { window->findChild<QPushButton*>(name)->click(); }

    std::unique_ptr<WindowHarness> h;
    std::unique_ptr<QTemporaryDir> workDir;
    std::unique_ptr<TfRTC> window;
};

QTEST_MAIN(EngineeringTest)
#include "test_Engineering.moc"
