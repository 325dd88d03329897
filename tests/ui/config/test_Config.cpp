// The system configuration window alone on the window harness.
#include "ui/config/Config.h"
#include "ui/config/PortChoice.h"
#include "ui/panel/LocaleText.h"
#include "ui/panel/WindowPlacement.h"
#include "ui/support/WindowHarness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

namespace {

const std::string kStatusPoll = "\x04S\x05";

// The payload of a request frame (EOT STX payload ETX BCC); the frame itself otherwise.
std::string Payload(const std::string& frame) {
    return frame.size() >= 4 && frame[1] == '\x02' ? frame.substr(2, frame.size() - 4) : frame;
}

} // namespace

class ConfigWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowHarness> h;
    std::unique_ptr<TForm3> form;

    TForm3& Make() {
        form = std::make_unique<TForm3>(h->port, h->context);
        h->windows.configuration = form.get();
        return *form;
    }
    template <typename T = QLabel> T* Find(const char* name) { return form->findChild<T*>(name); }
    QString Edit(const char* name) { return Find<QLineEdit>(name)->text(); }
    void SetEdit(const char* name, const QString& text) { Find<QLineEdit>(name)->setText(text); }
    void Choose(const char* item) { Find<QRadioButton>(item)->click(); }
    QComboBox* Ports() { return Find<QComboBox>("cbPort"); }

    // Texts that may be sent, with the PC's clock off.
    void FillSendableTexts() {
        h->port.Receive(Replies::Status("V630"));
        Find<QCheckBox>("cbPCTime")->setChecked(false);
        SetEdit("eDate", "07/12/26");
        SetEdit("eTime", "14:05:09");
        SetEdit("eSystemFlag", "11");
        SetEdit("eAutoScan", "2");
        SetEdit("eLogInterval", "3600");
    }

private slots:
    void init() {
        h = std::make_unique<WindowHarness>();
        h->AnswerPolls([](char letter) -> std::optional<std::string> {
            if (letter == 'S') {
                return Replies::Status("V630");
            }
            return std::nullopt;
        });
    }
    void cleanup() {
        h->windows.configuration = nullptr;
        form.reset();
        h.reset();
    }

    void firstRunOpensCentredAndHidden() {
        TForm3& window = Make();
        QCOMPARE(window.windowTitle(), QString("System configuration"));
        QCOMPARE(window.width(), 230);
        QCOMPARE(window.pos(), CentredOnScreen(window.size()));
        QVERIFY(!window.isVisible());
        QVERIFY(Find<QCheckBox>("cbPCTime")->isChecked());
        QCOMPARE(Find("lLogName")->text(), QString());
        for (const char* hidden : {"lSystem", "eSystemFlag", "bTestExM", "bZeroLog", "bCancel"}) {
            QVERIFY2(Find<QWidget>(hidden)->isHidden(), hidden);
        }
        QVERIFY(!Find<QWidget>("bDownload")->isHidden());
        // The port in use is offered and selected, and left as it is.
        QCOMPARE(Ports()->currentText(), QString("COM2"));
        QCOMPARE(h->mainWindow.commsCaption, QString("COM2   Interval"));
        QVERIFY(h->port.operations.empty());
        QVERIFY(h->Sent().empty());
        // The alarm outputs area is there for the table, right of the narrow column.
        QVERIFY(Find<QFrame>("Panel1")->geometry().left() >= 230);
    }

    void storedValuesApply() {
        h->settings.Set("Control", "Left3", "40");
        h->settings.Set("Control", "Top3", "50");
        h->settings.Set("Control", "PC Time", "0");
        h->settings.Set("Control", "Visible3", "1");
        h->state.DiagnosticLevel = 0x180;
        TForm3& window = Make();
        QCOMPARE(window.pos(), QPoint(40, 50));
        QVERIFY(!Find<QCheckBox>("cbPCTime")->isChecked());
        QVERIFY(window.isVisible());
        QCOMPARE(h->Sent(), std::vector<std::string>{kStatusPoll});
        for (const char* shown : {"lSystem", "eSystemFlag", "bTestExM"}) {
            QVERIFY2(!Find<QWidget>(shown)->isHidden(), shown);
        }
    }

    void closingStoresWhatTheWindowShows() {
        TForm3& window = Make();
        window.SetShown(true);
        window.move(70, 80);
        Find<QCheckBox>("cbPCTime")->setChecked(false);
        Find<QPushButton>("bClose")->click();
        QVERIFY(!window.isVisible());
        QCOMPARE(h->settings.Get("Control", "Left3"), std::optional<std::string>("70"));
        QCOMPARE(h->settings.Get("Control", "Top3"), std::optional<std::string>("80"));
        QCOMPARE(h->settings.Get("Control", "PC Time"), std::optional<std::string>("0"));
        QCOMPARE(h->settings.Get("Control", "Visible3"), std::optional<std::string>("1"));
        // The main window's close at exit writes the last word: hidden.
        window.CloseWindow();
        QCOMPARE(h->settings.Get("Control", "Visible3"), std::optional<std::string>("0"));
        h->settings.SetFailWrites(true);
        window.CloseWindow();
        QCOMPARE(h->operatorAnswers.errors.size(), 1);
    }

    void everyShowingAndRefreshAsksForTheStatus() {
        TForm3& window = Make();
        window.SetShown(true);
        window.SetShown(false);
        window.SetShown(true);
        QCOMPARE(h->Sent(), (std::vector<std::string>{kStatusPoll, kStatusPoll}));
        h->pump.ProcessPending();
        Find<QPushButton>("bRefresh")->click();
        QCOMPARE(h->mainWindow.caption, QString("Control Panel - connecting"));
        QCOMPARE(h->Sent(), std::vector<std::string>{kStatusPoll});
    }

    void theStatusReplyFillsEveryControl() {
        Make();
        h->port.Receive(Replies::Status("V630", "1b"));
        QCOMPARE(Edit("eDate"), QString("07/12/26"));
        QCOMPARE(Edit("eTime"), QString("10:05:02"));
        QCOMPARE(Edit("eSystemFlag"), QString("1B"));
        for (const char* chosen : {"gUnit1", "gAudible1", "gAutoscan0", "gLogging1"}) {
            QVERIFY2(Find<QRadioButton>(chosen)->isChecked(), chosen);
        }
        QCOMPARE(Edit("eAutoScan"), QString("2"));
        QCOMPARE(Find("lLogMaxCount")->text(), QString("512"));
        QCOMPARE(Edit("eLogInterval"), QString("60"));
        QCOMPARE(form->width(), 620);
        QVERIFY(!Find<QWidget>("bZeroLog")->isHidden());
        // A V420 whose version begins with 1: narrow, no log pointer reset.
        h->port.Receive(Replies::Status("V420", "00", "1.9"));
        QCOMPARE(form->width(), 230);
        QVERIFY(Find<QWidget>("bZeroLog")->isHidden());
        QVERIFY(h->operatorAnswers.errors.isEmpty());
        QVERIFY(h->Sent().empty());
    }

    void aFlagFromTheInstrumentThatIsNotHexIsKeptSilently() {
        Make();
        Choose("gUnit1");
        h->port.Receive(Replies::Status("V630", "ZZ"));
        QCOMPARE(Edit("eSystemFlag"), QString("ZZ"));
        QVERIFY(Find<QRadioButton>("gUnit0")->isChecked());
        QVERIFY(h->operatorAnswers.errors.isEmpty());
    }

    void aChoiceChangesOnlyItsBit() {
        const struct {
            const char* group;
            const char* start;
            const char* set;
            const char* cleared;
        } rows[] = {{"gUnit", "10", "11", "10"},
                    {"gAudible", "91", "93", "91"},
                    {"gAutoscan", "0", "04", "00"},
                    {"gLogging", "ff", "FF", "EF"}};
        Make();
        for (const auto& row : rows) {
            SetEdit("eSystemFlag", row.start);
            Choose(qPrintable(QString(row.group) + "1"));
            QCOMPARE(Edit("eSystemFlag"), QString(row.set));
            Choose(qPrintable(QString(row.group) + "0"));
            QCOMPARE(Edit("eSystemFlag"), QString(row.cleared));
        }
        QVERIFY(h->Sent().empty());
    }

    void theOperatorsChoiceOnANonHexFlagIsReportedAndChangesNothing() {
        Make();
        SetEdit("eSystemFlag", "G1");
        Choose("gAudible1");
        QCOMPARE(Edit("eSystemFlag"), QString("G1"));
        QCOMPARE(h->operatorAnswers.errors.size(), 1);
        QVERIFY(h->operatorAnswers.errors[0].contains("System Flag"));
    }

    void sendWritesThePayloadByPositionThenReadsBack() {
        const struct {
            const char* date;
            const char* time;
            const char* autoScan;
            const char* logInterval;
            std::string payload;
        } rows[] = {
            {"07/12/26", "14:05:09", "2", "3600", "S26120714050911020E10"},
            {"07/12/26", "14:05:09", "10", "5", "S261207140509110A0005"},
            {"07/12/26", "14:05:09", "two", "", "S2612071405091102003C"}, // 2 and 60 stand in
            {"29.02.24", "23-59-59", "255", "65535", "S24022923595911FFFFFF"},
        };
        Make();
        for (const auto& row : rows) {
            FillSendableTexts();
            SetEdit("eDate", row.date);
            SetEdit("eTime", row.time);
            SetEdit("eAutoScan", row.autoScan);
            SetEdit("eLogInterval", row.logInterval);
            h->operatorAnswers.AnswerYes();
            const std::uint32_t before = h->clock.TickCount();
            Find<QPushButton>("bSend")->click();
            const auto sent = h->Sent();
            QCOMPARE(sent.size(), 2u);
            QCOMPARE(Payload(sent[0]), row.payload);
            QCOMPARE(sent[1], kStatusPoll);
            QVERIFY(h->clock.TickCount() - before >= 100);
            QCOMPARE(Edit("eAutoScan"), QString(row.autoScan));
            h->pump.ProcessPending();
        }
        QCOMPARE(h->operatorAnswers.questions.count("Send configuration data?"), 4);
    }

    void pcTimeReplacesTheDateAndTimeTexts() {
        Make();
        FillSendableTexts();
        Find<QCheckBox>("cbPCTime")->setChecked(true);
        SetEdit("eDate", "not a date");
        SetEdit("eTime", "");
        SetEdit("eSystemFlag", "1a");
        h->operatorAnswers.AnswerYes();
        Find<QPushButton>("bSend")->click();
        const QDateTime now = ToLocalDateTime(h->clock.Now());
        QCOMPARE(Payload(h->Sent().at(0)),
                 "S" + now.toString("yyMMddHHmmss").toStdString() + "1A020E10");
    }

    void noSendsNothing() {
        Make();
        Find<QPushButton>("bSend")->click(); // the form's own texts before any status reply
        QVERIFY(h->operatorAnswers.errors.value(0).startsWith("The instrument has not reported"));
        FillSendableTexts();
        h->operatorAnswers.AnswerNo();
        Find<QPushButton>("bSend")->click();
        QVERIFY(h->Sent().empty());
    }

    void textsThatWouldGarbleTheRequestAreRefused() {
        const struct {
            const char* edit;
            const char* text;
            const char* field;
        } rows[] = {
            {"eDate", "31/11/26", "Date"},
            {"eDate", "29/02/25", "Date"}, // not a leap year
            {"eDate", "07/12/2026", "Date"},
            {"eDate", "07/1a/26", "Date"},
            {"eTime", "24:00:00", "Time"},
            {"eTime", "9:05:09", "Time"},
            {"eSystemFlag", "1", "System Flag"},
            {"eSystemFlag", "1G", "System Flag"},
            {"eAutoScan", "256", "Auto Scan Interval"},
            {"eAutoScan", "-1", "Auto Scan Interval"},
            {"eLogInterval", "65536", "Logging Interval"},
            {"eLogInterval", "99999999999", "Logging Interval"},
        };
        Make();
        for (const auto& row : rows) {
            FillSendableTexts();
            SetEdit(row.edit, row.text);
            Find<QPushButton>("bSend")->click();
            const QString error = h->operatorAnswers.errors.value(int(&row - rows));
            QVERIFY2(error.startsWith(QString(row.field) + ":") && error.contains(row.text),
                     qPrintable(error));
        }
        QVERIFY(h->operatorAnswers.questions.isEmpty());
        QVERIFY(h->Sent().empty());
    }

    void theOfferedPortsAreComparedAsTheDevicesTheyOpen() {
        QVERIFY(PortChoice::SamePort("ttyUSB0", "/dev/ttyUSB0"));
        QVERIFY(!PortChoice::SamePort("ttyusb0", "/dev/ttyUSB0"));
        QVERIFY(!PortChoice::SamePort("pts/3", "/dev/pts/3"));
        QCOMPARE(PortChoice::IndexOf({"/dev/ttyS0", "/dev/ttyUSB0"}, "ttyUSB0"), 1);
        h->port.portsPresent = {"/dev/COM2"}; // the port in use, "COM2"
        QCOMPARE(PortChoice::Offered(h->port), QStringList({"/dev/COM2"}));
    }

    void aPortPluggedInLaterIsListedWhenTheListDropsDown() {
        Make();
        h->port.portsPresent = {"/dev/ttyUSB0"};
        QCOMPARE(Ports()->findText("/dev/ttyUSB0"), -1);
        QTest::mouseClick(Ports(), Qt::LeftButton, {}, {Ports()->width() - 4, 4});
        QVERIFY(Ports()->findText("/dev/ttyUSB0") >= 0);
        QCOMPARE(Ports()->currentText(), QString("COM2"));
    }

    void choosingAPortReopensTheLinkThere() {
        Make();
        Ports()->addItem("/dev/ttyV1");
        const int index = Ports()->count() - 1;
        Ports()->setCurrentIndex(index);
        emit Ports()->activated(index);
        QCOMPARE(h->port.operations,
                 (std::vector<std::string>{"Close", "CommPort /dev/ttyV1", "Open"}));
        QCOMPARE(h->mainWindow.unit, QString("/dev/ttyV1"));
        QCOMPARE(h->mainWindow.commsCaption, QString("/dev/ttyV1 Interval"));
        QCOMPARE(h->mainWindow.caption, QString("Control Panel - connecting"));
        QCOMPARE(h->Sent(), std::vector<std::string>{kStatusPoll});
    }

    void aDoubleClickOrTheSilentLinkRestartsTheSamePort() {
        TForm3& window = Make();
        QTest::mouseDClick(Ports()->lineEdit(), Qt::LeftButton);
        window.ReselectPort();
        QCOMPARE(h->port.operations, (std::vector<std::string>{"Close", "CommPort COM2", "Open",
                                                               "Close", "CommPort COM2", "Open"}));
        QCOMPARE(h->Sent(), (std::vector<std::string>{kStatusPoll, kStatusPoll}));
    }

    void typedTextReachesThePortOnlyAsAListedPort() {
        Make();
        Ports()->addItem("/dev/ttyV1");
        QLineEdit* typing = Ports()->lineEdit();
        typing->setText("/dev/nothing");
        QTest::keyClick(typing, Qt::Key_Return);
        QVERIFY(h->port.operations.empty());
        QCOMPARE(Ports()->currentText(), QString("COM2"));
        typing->setText("ttyV1");
        QTest::keyClick(typing, Qt::Key_Return);
        QCOMPARE(h->port.operations,
                 (std::vector<std::string>{"Close", "CommPort /dev/ttyV1", "Open"}));
        QCOMPARE(Ports()->currentText(), QString("/dev/ttyV1"));
        // An item's exact name restarts the link once.
        h->port.operations.clear();
        typing->setText("COM2");
        QTest::keyClick(typing, Qt::Key_Return);
        QCOMPARE(h->port.operations, (std::vector<std::string>{"Close", "CommPort COM2", "Open"}));
    }

    void whyThePortIsNotOpenShowsBesideIt() {
        h->port.openRefusal = "Error reopening Port: Permission denied (13)";
        Make();
        QCOMPARE(Find("lPortState")->text(),
                 QString("Not open. Error reopening Port: Permission denied (13)"));
        h->port.openRefusal.clear();
        QTest::mouseDClick(Ports()->lineEdit(), Qt::LeftButton);
        QCOMPARE(Find("lPortState")->text(), QString());
    }
};

QTEST_MAIN(ConfigWindowTest)
#include "test_Config.moc"
