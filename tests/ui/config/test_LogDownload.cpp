// The logged-data download and the log memory commands of the configuration window, on the
// window harness with a fake instrument that answers, loses, delays or garbles record replies.
#include "ui/config/Config.h"
#include "ui/panel/LocaleText.h"
#include "ui/support/WindowHarness.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <map>
#include <memory>

namespace {

// The 'D' reply of record n, as the instrument sends it: channel k logs n * 10 + k.
std::string Record(int n) {
    std::string reply = QString::asprintf("D%04d2612071405%02d", n, n % 60).toStdString();
    for (int k = 1; k <= 8; ++k) {
        const float value = static_cast<float>(n * 10 + k);
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        for (int byte = 0; byte < 4; ++byte) {
            reply += QString::asprintf("%02X", (bits >> (8 * byte)) & 0xFF).toStdString();
        }
    }
    return Replies::Framed(reply);
}

QString Line(int n) {
    QString line = QString::asprintf("%04d,07/12/26 14:05:%02d", n, n % 60);
    for (int k = 1; k <= 8; ++k) {
        line += QStringLiteral(";%1.0000").arg(n * 10 + k);
    }
    return line + "\r\n";
}

} // namespace

class LogDownloadTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowHarness> h;
    std::unique_ptr<QTemporaryDir> workDir;
    std::unique_ptr<TForm3> form;
    // The answer to attempt a (from 1) at record n; silence when nothing.
    std::function<std::optional<std::string>(int n, int a)> instrument;
    std::map<int, int> attempts;

    template <typename T = QPushButton> T* Find(const char* name) {
        return form->findChild<T*>(name);
    }
    QString FileName() { return "V630 " + DateTimeStamp(ToLocalDateTime(h->clock.Now())) + ".csv"; }
    // Clicks Download with `count` shown; the file's text, or "absent" when none was made.
    QString Download(const QString& count) {
        const QString name = FileName();
        Find<QLabel>("lLogMaxCount")->setText(count);
        Find("bDownload")->click();
        QFile file(name);
        return QFileInfo(name).isFile() && file.open(QIODevice::ReadOnly)
                   ? QString::fromLatin1(file.readAll())
                   : "absent";
    }
    int Fetches() {
        int sent = 0;
        for (const auto& frame : h->Sent()) {
            sent += frame.size() == 7 && frame[1] == 'D';
        }
        return sent;
    }
    void VerifyIdle() {
        QVERIFY(!Find("bDownload")->isHidden());
        QVERIFY(Find("bCancel")->isHidden());
        QCOMPARE(h->mainWindow.pauses, 0);
        for (const char* control :
             {"bSend", "bRefresh", "cbPort", "bDownload", "bZeroLog", "bTestExM"}) {
            QVERIFY2(Find<QWidget>(control)->isEnabled(), control);
        }
    }

private slots:
    void init() {
        h = std::make_unique<WindowHarness>();
        workDir = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(workDir->path());
        form = std::make_unique<TForm3>(h->port, h->context);
        h->windows.configuration = form.get();
        h->port.Receive(Replies::Status("V630"));
        attempts.clear();
        instrument = [](int n, int) { return Record(n); };
        h->port.responder = [this](const std::string& frame) -> std::optional<std::string> {
            if (frame.size() == 7 && frame[1] == 'D') {
                const int n = std::stoi(frame.substr(2, 4));
                return instrument(n, ++attempts[n]);
            }
            return Replies::kAcknowledge;
        };
        h->Sent();
    }
    void cleanup() {
        h->windows.configuration = nullptr;
        form.reset();
        h.reset();
    }

    void recordsGoToTheFileOneLineEach() {
        h->operatorAnswers.AnswerYes();
        bool lockedMeanwhile = true;
        instrument = [&](int n, int) {
            lockedMeanwhile = lockedMeanwhile && h->mainWindow.pauses == 1 &&
                              !Find("bSend")->isEnabled() && !Find("bZeroLog")->isEnabled() &&
                              !Find("bTestExM")->isEnabled() && Find("bCancel")->isEnabled();
            // What the disabled buttons would start is refused.
            form->bZeroLogClick();
            form->bRefreshClick();
            return Record(n);
        };
        const QString name = FileName();
        QString expected;
        for (int n = 1; n <= 7; ++n) {
            expected += Line(n);
        }
        QCOMPARE(Download("7"), expected);
        QVERIFY(lockedMeanwhile);
        QCOMPARE(h->operatorAnswers.questions, QStringList{"Download all logged data?"});
        QCOMPARE(h->port.sent.back(), std::string("\x04"
                                                  "D0007"
                                                  "\x05"));
        QCOMPARE(h->port.sent.size(), std::size_t{7});
        QCOMPARE(h->mainWindow.diagnosticLine, QString("comms: D0007"));
        QCOMPARE(Find<QLabel>("lLogName")->text(), "to: " + name.chopped(4));
        QCOMPARE(Find<QProgressBar>("GDownload")->value(), 7);
        QVERIFY(h->operatorAnswers.notices.isEmpty());
        VerifyIdle();
    }

    void noMakesNoFileAndNoRecordsAnEmptyOne() {
        h->operatorAnswers.AnswerNo();
        QCOMPARE(Download("3"), QString("absent"));
        QCOMPARE(Fetches(), 0);
        VerifyIdle();
        h->operatorAnswers.AnswerYes();
        QCOMPARE(Download("0"), QString(""));
        QCOMPARE(Fetches(), 0);
        VerifyIdle();
        // A count that is not a number asks nothing and makes nothing.
        h->clock.Advance(1000);
        QCOMPARE(Download("2OO"), QString("absent"));
        QCOMPARE(h->operatorAnswers.errors.size(), 1);
        QCOMPARE(h->operatorAnswers.questions.size(), 2);
    }

    void cancelDuringTheWaitForRecordFive_data() {
        QTest::addColumn<bool>("replyCame");
        QTest::newRow("its reply came") << true;
        QTest::newRow("its reply did not come") << false;
    }
    void cancelDuringTheWaitForRecordFive() {
        QFETCH(bool, replyCame);
        h->operatorAnswers.AnswerYes(2);
        instrument = [&](int n, int) -> std::optional<std::string> {
            if (n != 5) {
                return Record(n);
            }
            QTimer::singleShot(0, Find("bCancel"), &QPushButton::click);
            return replyCame ? std::optional(Record(5)) : std::nullopt;
        };
        const QString file = Download("9");
        QCOMPARE(h->operatorAnswers.questions.last(), QString("Cancel further download?"));
        QCOMPARE(file.count("\r\n"), replyCame ? 5 : 4);
        QVERIFY(file.endsWith(replyCame ? Line(5) : Line(4)));
        QCOMPARE(Fetches(), 5); // no retry after the cancel
        QVERIFY(h->operatorAnswers.notices.value(0).endsWith(
            replyCame ? "4 of 9 records were not fetched, as the download was stopped: 6-9."
                      : "5 of 9 records were not fetched, as the download was stopped: 5-9."));
        VerifyIdle();
    }

    void lostLateAndGarbledRepliesNeverMakeALine() {
        h->operatorAnswers.AnswerYes();
        instrument = [](int n, int a) -> std::optional<std::string> {
            switch (n) {
            case 2: // lost once
                return a == 1 ? std::nullopt : std::optional(Record(2));
            case 3: // never answered
                return std::nullopt;
            case 4: // record 3's reply arrives late, in the wait for 4
                return a == 1 ? Record(3) : Record(4);
            case 5: // too short, then stray text, then whole
                return a == 1 ? Replies::Framed("D0005 26") : a == 2 ? "garbage" : Record(5);
            case 6: // memory never written: the right record, its time stamp not digits
                return Replies::Framed("D0006" + std::string(76, 'F'));
            default:
                return Record(n);
            }
        };
        QCOMPARE(Download("6"), Line(1) + Line(2) + Line(4) + Line(5));
        QCOMPARE(Fetches(), 1 + 2 + 3 + 2 + 3 + 3);
        QCOMPARE(h->operatorAnswers.notices,
                 QStringList{"1 of 6 records did not arrive and are not in the file: 3.\n1 of "
                             "6 records came with a reply that could not be read and are not in "
                             "the file: 6."});
    }

    void recordsBeyondFourDigitsAreNotFetchedButTold() {
        h->operatorAnswers.AnswerYes(2);
        instrument = [&](int n, int) {
            QTimer::singleShot(0, Find("bCancel"), &QPushButton::click);
            return Record(n);
        };
        QCOMPARE(Download("10001"), Line(1));
        QCOMPARE(Find<QProgressBar>("GDownload")->maximum(), 9999);
        QCOMPARE(h->operatorAnswers.notices.size(), 1);
        QVERIFY(h->operatorAnswers.notices[0].contains("Records 10000 to 10001 (2 records)"));
    }

    void fileErrorsStopWithAMessageAndKeepWhatWasWritten() {
        h->operatorAnswers.AnswerYes(2);
        QVERIFY(QDir().mkdir(FileName()));
        QCOMPARE(Download("3"), QString("absent"));
        QCOMPARE(Fetches(), 0);
        QCOMPARE(h->operatorAnswers.errors.size(), 1);
        VerifyIdle();

        h->clock.Advance(1000);
        QVERIFY(QFile::link("/dev/full", FileName()));
        Download("3");
        QCOMPARE(Fetches(), 1);
        QCOMPARE(h->operatorAnswers.errors.size(), 2);
        QVERIFY(h->operatorAnswers.errors[1].contains("stopped at record 1"));
        VerifyIdle();
    }

    void closingTheProgramEndsTheDownloadAtOnce() {
        h->operatorAnswers.AnswerYes();
        instrument = [&](int n, int) {
            h->state.Closing = n == 2;
            return Record(n);
        };
        QCOMPARE(Download("5"), Line(1));
        QCOMPARE(Fetches(), 2);
        QVERIFY(h->operatorAnswers.notices.isEmpty());
        QCOMPARE(h->mainWindow.pauses, 0);
    }

    void memoryCommandsSendTheirRequestAndPause() {
        h->operatorAnswers.AnswerNo();
        Find("bZeroLog")->click();
        QVERIFY(h->Sent().empty());
        h->operatorAnswers.AnswerYes(2);
        const std::uint32_t start = h->clock.TickCount();
        Find("bZeroLog")->click();
        QCOMPARE(h->Sent(), std::vector<std::string>{protocol::RequestFrame("Z")});
        QVERIFY(h->clock.TickCount() - start >= 100);
        h->pump.ProcessPending();
        Find("bTestExM")->click();
        QCOMPARE(h->Sent(), std::vector<std::string>{protocol::RequestFrame("T")});
        QVERIFY(h->clock.TickCount() - start >= 5100);
        QCOMPARE(h->operatorAnswers.questions.mid(1),
                 (QStringList{"Reset Logged data pointer?",
                              "Overwrite all external memory locations?"}));
        VerifyIdle();
    }
};

QTEST_MAIN(LogDownloadTest)
#include "test_LogDownload.moc"
