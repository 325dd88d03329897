// The channel configuration window alone on the window harness: what it sends, what it refuses,
// what the replies show, its colours and its refresh rule.
#include "ui/channel/uChannel.h"
#include "ui/support/WindowHarness.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <array>
#include <map>

namespace {

const QColor kGreen(0, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kSkyBlue(166, 202, 240);

// The payload of a request frame (EOT STX payload ETX BCC); a poll gives its letter.
std::string PayloadOf(const std::string& frame) {
    return frame.size() > 4 && frame[1] == '\x02' ? frame.substr(2, frame.size() - 4)
                                                  : frame.substr(1, 1);
}

} // namespace

class ChannelWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowHarness> h;
    std::unique_ptr<TfChannel> w;
    // The instrument's set-up of each channel as its reply carries it: type code, m, c.
    std::map<char, std::string> setups;

    TfChannel& Start() {
        w = std::make_unique<TfChannel>(h->context);
        h->windows.channel = w.get();
        return *w;
    }

    // The fake instrument answers channel polls from `setups` and takes "C" requests into them.
    void AnswerFromSetups() {
        h->port.responder = [this](const std::string& frame) -> std::optional<std::string> {
            const std::string payload = PayloadOf(frame);
            if (payload.size() == 1 && setups.count(payload[0])) {
                return Replies::Framed(payload + setups[payload[0]]);
            }
            if (payload.size() == 20 && payload[0] == 'C') {
                setups[payload[1]] = payload.substr(2);
            }
            return Replies::kAcknowledge;
        };
    }

    // As the main window's double-click opens the window on a channel, without its own poll.
    void OpenOn(int channel) {
        h->state.SelectedChannel = channel;
        w->MarkChannelSwitched();
        w->SetShown(true);
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->Repaint();
        Settle();
    }

    // Lets the instrument's answers in and the window's scheduled work run.
    void Settle() {
        for (int i = 0; i < 4; ++i) {
            h->pump.ProcessPending();
        }
    }

    template <typename T> T* Find(const char* name) { return w->findChild<T*>(name); }
    QLineEdit* M() { return Find<QLineEdit>("eCal_m"); }
    QLineEdit* C() { return Find<QLineEdit>("eCal_c"); }
    QComboBox* Type() { return Find<QComboBox>("cbTCType"); }
    // Types over the edit's text, as the operator does.
    void Enter(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    void Send() { QTest::mouseClick(Find<QPushButton>("bSend"), Qt::LeftButton); }
    QStringList TypeItems() {
        QStringList items;
        for (int i = 0; i < Type()->count(); ++i) {
            items.append(Type()->itemText(i));
        }
        return items;
    }
    // The colour of the three controls, or an invalid colour when they differ.
    QColor Colour() {
        const QColor colour = M()->palette().color(QPalette::Base);
        const bool same = C()->palette().color(QPalette::Base) == colour &&
                          Type()->palette().color(QPalette::Base) == colour;
        return same ? colour : QColor();
    }
    std::vector<std::string> SentPayloads() {
        std::vector<std::string> payloads;
        for (const auto& frame : h->Sent()) {
            payloads.push_back(PayloadOf(frame));
        }
        return payloads;
    }

private slots:
    void init() {
        h = std::make_unique<WindowHarness>();
        setups = {{'3', "01  1.0000  0.0000"}, {'0', "00  1.0000  0.0000"}};
        AnswerFromSetups();
        Start();
    }
    void cleanup() {
        w.reset();
        h.reset();
        QLocale::setDefault(QLocale::system());
    }

    void sendsTheWorkedPayloadAndReadsTheChannelBack() {
        OpenOn(3);
        QCOMPARE(SentPayloads(), std::vector<std::string>{"3"});
        QCOMPARE(Find<QLabel>("lChannel")->text(), QString("3"));
        QCOMPARE(Type()->currentText(), QString("K"));
        QCOMPARE(M()->text(), QString("  1.0000"));
        QCOMPARE(Colour(), kGreen);

        Enter(M(), "1.05");
        Enter(C(), "-0.25");
        QCOMPARE(Colour(), kSkyBlue);
        const auto tick = h->clock.TickCount();
        Send();
        QCOMPARE(SentPayloads(), (std::vector<std::string>{"C301  1.0500 -0.2500", "3"}));
        QVERIFY(h->clock.TickCount() - tick >= 100);
        QCOMPARE(M()->text(), QString("  1.0500"));
        QCOMPARE(C()->text(), QString(" -0.2500"));
        QCOMPARE(Colour(), kRed);
        QVERIFY(h->operatorAnswers.acknowledgements.isEmpty());

        Settle();
        QCOMPARE(Colour(), kGreen);
        QCOMPARE(setups['3'], std::string("01  1.0500 -0.2500"));
    }

    void outOfRangeValuesAreLimitedOnOk_data() {
        QTest::addColumn<QString>("m");
        QTest::addColumn<QString>("c");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QString>("scaling");
        const QStringList m{"m greater than 1.0 +/-0.1, set to limit!"};
        const QStringList c{"c greater than 0.0 +/-2, set to limit!"};
        const QStringList none;
        // clang-format off
        QTest::newRow("m 1.2")      << "1.2" << "0"   << true  << m    << "  1.1000  0.0000";
        QTest::newRow("m 0.5")      << "0.5" << "0"   << true  << m    << "  0.9000  0.0000";
        QTest::newRow("m -1")       << "-1"  << "0"   << true  << m    << "  0.9000  0.0000";
        // 1.1 lies just outside in double precision: asked, and limited to itself, not to 0.9.
        QTest::newRow("m 1.1")      << "1.1" << "0"   << true  << m    << "  1.1000  0.0000";
        QTest::newRow("m 0.9")      << "0.9" << "0"   << true  << none << "  0.9000  0.0000";
        QTest::newRow("m 0")        << "0"   << "0"   << true  << none << "  0.0000  0.0000";
        QTest::newRow("m 1.2 kept") << "1.2" << "0"   << false << m    << "  1.2000  0.0000";
        QTest::newRow("c 2")        << "1"   << "2"   << true  << none << "  1.0000  2.0000";
        QTest::newRow("c -3")       << "1"   << "-3"  << true  << c    << "  1.0000 -2.0000";
        QTest::newRow("c 2.5")      << "1"   << "2.5" << true  << c    << "  1.0000  2.0000";
        // clang-format on
    }

    void outOfRangeValuesAreLimitedOnOk() {
        QFETCH(QString, m);
        QFETCH(QString, c);
        QFETCH(bool, ok);
        QFETCH(QStringList, asked);
        QFETCH(QString, scaling);
        OpenOn(3);
        h->Sent();
        Enter(M(), m);
        Enter(C(), c);
        ok ? h->operatorAnswers.AnswerYes(asked.size()) : h->operatorAnswers.AnswerNo(asked.size());
        Send();
        QCOMPARE(h->operatorAnswers.acknowledgements, asked);
        QCOMPARE(SentPayloads().front(), "C301" + scaling.toStdString());
    }

    void valuesThatCannotBeSentAreRefused_data() {
        QTest::addColumn<QString>("m");
        QTest::addColumn<QString>("c");
        QTest::addColumn<QString>("error");
        // clang-format off
        QTest::newRow("letters")               << "abc"      << "0"    << "m is not a number";
        QTest::newRow("design text")           << "--------" << "0"    << "m is not a number";
        QTest::newRow("comma in a dot locale") << "1,05"     << "0"    << "m is not a number";
        QTest::newRow("empty")                 << ""         << "0"    << "m is not a number";
        QTest::newRow("too large to read")     << "1e999"    << "0"    << "m is not a number";
        QTest::newRow("stray letter in c")     << "1"        << "0.1x" << "c is not a number";
        // Kept as typed when the limit question is closed, then too wide for the field.
        QTest::newRow("c -125.5") << "1"      << "-125.5" << "c = -125.5000 does not fit";
        QTest::newRow("m 1234.5") << "1234.5" << "0"      << "m = 1234.5000 does not fit";
        // clang-format on
    }
    void valuesThatCannotBeSentAreRefused() {
        QFETCH(QString, m);
        QFETCH(QString, c);
        QFETCH(QString, error);
        OpenOn(3);
        h->Sent();
        Enter(M(), m);
        Enter(C(), c);
        h->operatorAnswers.AnswerNo(2);
        Send();
        QVERIFY(h->Sent().empty());
        QCOMPARE(h->operatorAnswers.errors.size(), 1);
        QVERIFY2(h->operatorAnswers.errors[0].startsWith(error),
                 qPrintable(h->operatorAnswers.errors[0]));
        QVERIFY(h->operatorAnswers.errors[0].endsWith("Nothing was sent."));
        QCOMPARE(Colour(), kSkyBlue);
    }

    void aCodeOutsideTheListSelectsNothingAndIsNotSent() {
        setups['3'] = "09  1.0000  0.0000";
        OpenOn(3);
        QCOMPARE(Type()->currentIndex(), -1);
        h->Sent();
        Send();
        QVERIFY(h->Sent().empty());
        QCOMPARE(h->operatorAnswers.errors,
                 QStringList{"No sensor type is selected. Nothing was sent."});
    }

    void anotherChannelsSetUpIsNeitherShownNorSent() {
        OpenOn(3);
        h->port.Receive(Replies::Framed("505  1.0300  0.5000"));
        QCOMPARE(M()->text(), QString("  1.0000"));
        QCOMPARE(Type()->currentText(), QString("K"));
        QCOMPARE(Colour(), kGreen);
        OpenOn(5); // which does not answer: the controls still hold channel 3's set-up
        h->Sent();
        Send();
        QVERIFY(h->Sent().empty());
        QVERIFY(h->operatorAnswers.errors.value(0).startsWith("Channel 5 has not reported"));
    }

    void aSetUpShownForAnotherChannelIsNotTakenForTheSelectedOne() {
        // Hidden, lChannel still shows its design text 8 while channel 3 is selected; another
        // window's poll of channel 8 fills it.
        h->state.SelectedChannel = 3;
        h->port.Receive(Replies::Framed("807  1.0300  0.5000"));
        QCOMPARE(M()->text(), QString("  1.0300"));
        h->Sent();
        // Opened on channel 3, already selected: no switch, yet its own set-up is asked for.
        w->SetShown(true);
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->Repaint();
        Settle();
        QCOMPARE(SentPayloads(), std::vector<std::string>{"3"});
        QCOMPARE(M()->text(), QString("  1.0000"));
        QCOMPARE(Type()->currentText(), QString("K"));
        QCOMPARE(Colour(), kGreen);
    }

    void theSensorTypeListFollowsInputModeAndChannel() {
        const QStringList thermocouples{"J", "K", "T", "E", "N", "R", "S", "B"};
        QCOMPARE(TypeItems(), thermocouples);
        OpenOn(3);
        // A status reply that keeps the list keeps the type shown.
        h->port.Receive(Replies::Status("V630", "00"));
        QCOMPARE(Type()->currentText(), QString("K"));
        // A resistance instrument offers PT100 alone on every channel.
        h->port.Receive(Replies::Status("V630", "80"));
        QCOMPARE(TypeItems(), QStringList{"PT100"});
        h->port.Receive(Replies::Status("V630", "00"));
        // Between channel 0 and the inputs the list follows at once, without a status reply.
        OpenOn(0);
        QCOMPARE(TypeItems(), QStringList{"PT100"});
        QCOMPARE(Type()->currentText(), QString("PT100"));
        OpenOn(3);
        QCOMPARE(TypeItems(), thermocouples);
        QCOMPARE(Type()->currentText(), QString("K"));
    }

    void aCommaLocaleReadsBothSeparatorsAndSendsPoints() {
        QLocale::setDefault(QLocale(QLocale::German));
        setups['3'] = "02  1.0500 -0.2500";
        OpenOn(3);
        QCOMPARE(M()->text(), QString("  1,0500"));
        QCOMPARE(C()->text(), QString(" -0,2500"));
        h->Sent();
        // Only the type changes: the scaling goes out as it came.
        QTest::keyClick(Type(), Qt::Key_Down);
        QCOMPARE(Type()->currentText(), QString("E"));
        QCOMPARE(Colour(), kSkyBlue);
        Send();
        QCOMPARE(SentPayloads().front(), std::string("C303  1.0500 -0.2500"));
        Settle();
        Enter(M(), "1,02");
        Enter(C(), "0.5");
        Send();
        QCOMPARE(SentPayloads().front(), std::string("C303  1.0200  0.5000"));
        QCOMPARE(M()->text(), QString("  1,0200"));
    }

    void aPaintPollsAfterItAndNotAgainWhileThePollIsUnanswered() {
        h->port.responder = nullptr; // a silent instrument
        // Waits bounded as while polling is paused: a wait that should not be ends, and shows.
        h->mainWindow.pauses = 1;
        h->state.SelectedChannel = 2;
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        Settle();
        QCOMPARE(SentPayloads(), std::vector<std::string>{"2"});
        QCOMPARE(Colour(), kRed);
        for (int i = 0; i < 5; ++i) {
            w->repaint();
            w->Repaint();
            Settle();
        }
        QVERIFY(h->Sent().empty());
        QCOMPARE(h->pump.waits, 0);

        // Once the link is freed without a reply, the next paint asks again, after the paint.
        h->clock.Advance(protocol::Bounds::kDefaultWaitMs);
        w->repaint();
        QVERIFY(h->Sent().empty());
        Settle();
        QCOMPARE(SentPayloads(), std::vector<std::string>{"2"});
        QCOMPARE(Colour(), kRed);
    }

    void aChannelAlreadyPolledByTheMainWindowIsNotPolledTwice() {
        h->state.SelectedChannel = 3;
        w->MarkChannelSwitched();
        h->exchange.Send(protocol::Question::Poll('3')); // the main window's poll
        w->SetShown(true);
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->Repaint();
        Settle();
        QCOMPARE(SentPayloads(), std::vector<std::string>{"3"});
        QCOMPARE(Colour(), kGreen);
    }

    void settingsAreRestoredAndStored() {
        w.reset();
        h->settings.Set("Control", "Left4", "40");
        h->settings.Set("Control", "Top4", "50");
        h->settings.Set("Control", "Channel", "5");
        h->settings.Set("Control", "Visible4", "1");
        Start();
        QCOMPARE(w->pos(), QPoint(40, 50));
        QVERIFY(w->IsShown());
        QCOMPARE(h->state.SelectedChannel, 5);
        h->state.SelectedChannel = 7;
        w->move(60, 70);
        // The main window's close: open at that moment, so open at the next start.
        w->CloseWindow();
        QVERIFY(!w->IsShown());
        QCOMPARE(h->settings.Get("Control", "Left4"), std::optional<std::string>("60"));
        QCOMPARE(h->settings.Get("Control", "Channel"), std::optional<std::string>("7"));
        QCOMPARE(h->settings.Get("Control", "Visible4"), std::optional<std::string>("1"));

        // A stored number that names no channel gives channel 1.
        w.reset();
        h->settings.Set("Control", "Channel", "12");
        Start();
        QCOMPARE(h->state.SelectedChannel, 1);
    }
};

QTEST_MAIN(ChannelWindowTest)
#include "test_uChannel.moc"
