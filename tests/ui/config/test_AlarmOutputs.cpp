// The alarm outputs table of the configuration window, on the window harness.
#include "protocol/RequestBuilders.h"
#include "ui/config/AlarmOutputRecords.h"
#include "ui/config/AlarmOutputsTable.h"
#include "ui/config/Config.h"
#include "ui/panel/LocaleText.h"
#include "ui/support/WindowHarness.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <set>

using namespace AlarmOutputs;

namespace {

// The instrument's side of the outputs: 'A' polls answered from what it holds, 'A' requests
// stored, the status poll answered as a V630. Outputs can be made silent or deaf to writes, and
// a test can look at the window as each poll goes out.
struct FakeOutputs {
    FakeOutputs() {
        for (int output = 1; output <= kOutputs; ++output) {
            held[output - 1] = {output, kTypeBand, 9 - output, 100 * output, -5, 2, output % 2};
        }
    }
    std::optional<std::string> Answer(const std::string& frame) {
        if (frame == "\x04S\x05") {
            return Replies::Status("V630");
        }
        if (frame.size() == 5 && frame[1] == 'A') {
            const int output = std::stoi(frame.substr(2, 2));
            if (onPoll) {
                onPoll(output);
            }
            if (silent.count(output) != 0) {
                return std::nullopt;
            }
            return Replies::Framed(protocol::AlarmOutputRequest(held[output - 1]));
        }
        if (frame.size() > 4 && frame[1] == '\x02' && frame[2] == 'A') {
            const std::string payload = frame.substr(2, frame.size() - 4);
            const int output = std::stoi(payload.substr(1, 2));
            if (silent.count(output) != 0) {
                return std::nullopt;
            }
            if (deaf.count(output) == 0) {
                held[output - 1] = protocol::AlarmOutputReply::Setting(payload);
            }
        }
        return Replies::kAcknowledge;
    }
    std::array<protocol::AlarmOutputSetting, kOutputs> held;
    std::set<int> silent;
    std::set<int> deaf;
    std::function<void(int output)> onPoll;
};

const QRgb kLime = qRgb(0, 255, 0);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kSkyBlue = qRgb(166, 202, 240);

} // namespace

class AlarmOutputsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowHarness> h;
    std::unique_ptr<TForm3> form;
    FakeOutputs instrument;
    FakeItemSelection select;
    FakeValueEntry enter;

    void Make() {
        form = std::make_unique<TForm3>(h->port, h->context);
        h->windows.configuration = form.get();
        form->SetShown(true);
        h->pump.ProcessPending();
        h->Sent();
    }
    template <typename T = QPushButton> T* Find(const char* name) {
        return form->findChild<T*>(name);
    }
    QTableWidget* Grid() { return Find<QTableWidget>("sgOP"); }
    QString Cell(int row, int column) { return Grid()->item(row, column)->text(); }
    QStringList Row(int row) {
        QStringList texts;
        for (int column = 1; column < kColumns; ++column) {
            texts.append(Cell(row, column));
        }
        return texts;
    }
    QRect CellRect(int row, int column) {
        return Grid()->visualRect(Grid()->model()->index(row, column));
    }
    // The colour the operator sees in a cell, away from its text.
    QRgb Colour(int row, int column) {
        const QRect rect = CellRect(row, column);
        return Grid()->viewport()->grab().toImage().pixel(rect.right() - 3, rect.bottom() - 3);
    }
    QRgb Shade() { return InactiveCellColour(Grid()->palette()).rgb(); }
    QRgb White() { return Grid()->palette().color(QPalette::Base).rgb(); }
    void DoubleClick(int row, int column) {
        const QPoint at = Grid()->viewport()->mapTo(form.get(), CellRect(row, column).center());
        QTest::mouseDClick(form->windowHandle(), Qt::LeftButton, {}, at);
    }
    void Trigger(const char* action) { Find<QAction>(action)->trigger(); }
    AlarmOutputsTable& Table() { return *form->findChild<AlarmOutputsTable*>(); }
    // A double click on the cell, with the pick or enter dialog's answer scripted.
    void Edit(int row, int column, std::optional<int> pick) {
        select.script.answers.push_back(pick);
        Grid()->setCurrentCell(row, column);
        Table().sgOPDblClick();
    }
    void Enter(int row, int column, const QString& text) {
        enter.script.answers.push_back(text);
        Grid()->setCurrentCell(row, column);
        Table().sgOPDblClick();
    }
    std::vector<QRgb> NumberColours() {
        std::vector<QRgb> colours;
        for (int row = 1; row <= kOutputs; ++row) {
            colours.push_back(Colour(row, 0));
        }
        return colours;
    }

private slots:
    void init() {
        h = std::make_unique<WindowHarness>();
        instrument = FakeOutputs();
        select = FakeItemSelection();
        enter = FakeValueEntry();
        h->windows.select = &select;
        h->windows.enter = &enter;
        h->port.responder = [this](const std::string& frame) { return instrument.Answer(frame); };
    }
    void cleanup() {
        h->windows.configuration = nullptr;
        form.reset();
        h.reset();
    }

    void creationShowsTheInitialTableUnknownAndShaded() {
        Make();
        QCOMPARE(Row(0), Headings().mid(1));
        for (int row = 1; row <= kOutputs; ++row) {
            QCOMPARE(Cell(row, 0), QString::number(row));
            QCOMPARE(Row(row),
                     QStringList({"OFF", QString::number(row), "20", "1", "1", "Normal"}));
            QCOMPARE(Colour(row, 0), kSkyBlue);
            if (row > 1) { // (1, 1) is the current cell
                QCOMPARE(Colour(row, 1), White());
            }
            for (int column = 2; column < kColumns; ++column) {
                QCOMPARE(Colour(row, column), Shade());
            }
        }
        QCOMPARE(QPoint(Grid()->currentColumn(), Grid()->currentRow()), QPoint(1, 1));
        QVERIFY(Grid()->toolTip().endsWith(
            "channel.\nGreen=Sync with instrument; Red=Not sync; Blue=Unknown"));
    }

    void editingFollowsTheColumnsThatApplyToTheType() {
        Make();
        // An OFF row: only the type opens a dialog.
        for (int column = 2; column < kColumns; ++column) {
            DoubleClick(4, column);
        }
        QVERIFY(select.showings.empty() && enter.showings.empty());

        select.script.answers.push_back(kTypeHigh);
        DoubleClick(3, kTypeColumn);
        QCOMPARE(select.showings.size(), 1u);
        QCOMPARE(select.showings[0].legend, QString("Select Output Type:"));
        QCOMPARE(select.showings[0].items, TypeNames());
        QCOMPARE(select.showings[0].selected, kTypeOff);
        QCOMPARE(select.showings[0].pointer,
                 Grid()->viewport()->mapToGlobal(CellRect(3, kTypeColumn).center()));
        QCOMPARE(Cell(3, kTypeColumn), QString("HIGH"));
        QCOMPARE(Colour(3, 0), kSkyBlue);
        for (const int column : {2, 3, 5, 6}) {
            QCOMPARE(Colour(3, column), White());
        }
        QCOMPARE(Colour(3, kBandColumn), Shade());
        DoubleClick(3, kBandColumn); // no band on a HIGH output
        QVERIFY(enter.showings.empty());

        Edit(3, kInputColumn, 4);
        QCOMPARE(select.showings.back().selected, 2);
        Enter(3, kTriggerColumn, " -1234 ");
        QCOMPARE(enter.showings.back().legend, QString("Enter Trigger Value:"));
        QCOMPARE(enter.showings.back().value, QString("20"));
        Enter(3, kHysteresisColumn, "+3");
        Edit(3, kPolarityColumn, 1);
        Edit(3, kTypeColumn, std::nullopt); // cancelled: nothing changes
        QCOMPARE(Row(3), QStringList({"HIGH", "5", "-1234", "1", "3", "Inverted"}));
        Edit(3, kTypeColumn, kTypeBand);
        Enter(3, kBandColumn, "99999");
        QCOMPARE(Cell(3, kBandColumn), QString("99999"));
        Grid()->setCurrentCell(1, 1);
        QCOMPARE(Colour(3, kBandColumn), White());
        QVERIFY(h->operatorAnswers.errors.isEmpty());
        QVERIFY(h->Sent().empty());
    }

    void anEnteredNumberThatCannotBeSentIsRefusedAndTheCellKeepsTheRecord() {
        const struct {
            const char* text;
            const char* reason;
        } rows[] = {{"100000", "does not fit"},      {"-10000", "does not fit"},
                    {"99999999999", "does not fit"}, {"12a", "not a whole number"},
                    {"1.5", "not a whole number"},   {"", "not a whole number"}};
        Make();
        Edit(2, kTypeColumn, kTypeLow);
        for (const auto& row : rows) {
            Enter(2, kTriggerColumn, row.text);
            const QString error = h->operatorAnswers.errors.takeLast();
            QVERIFY2(error.startsWith("Trigger Value:") && error.contains(row.reason) &&
                         error.endsWith("it stays 20."),
                     qPrintable(error));
            QCOMPARE(Cell(2, kTriggerColumn), QString("20"));
        }
        Enter(2, kTriggerColumn, "-9999");
        QCOMPARE(Cell(2, kTriggerColumn), QString("-9999"));
    }

    void writingAnOutputSendsItThenShowsWhatTheInstrumentHolds() {
        Make();
        Edit(3, kTypeColumn, kTypeHigh);
        Enter(3, kTriggerColumn, "-1234");
        QRgb whilePolled = 0;
        instrument.onPoll = [&](int) { whilePolled = Colour(3, 0); };
        Grid()->setCurrentCell(3, 2);
        Trigger("Write1");
        const auto sent = h->Sent();
        QCOMPARE(sent.size(), 2u);
        QCOMPARE(sent[0], protocol::RequestFrame("A03,02,03,-1234,    1,    1,00"));
        QCOMPARE(sent[1], std::string("\x04\x41\x30\x33\x05"));
        QCOMPARE(whilePolled, kRed);
        QCOMPARE(Colour(3, 0), kLime);
        QCOMPARE(Row(3), QStringList({"HIGH", "3", "-1234", "1", "1", "Normal"}));
        QCOMPARE(h->mainWindow.pauses, 0);
        QVERIFY(h->operatorAnswers.errors.isEmpty());
    }

    void readAllAndWriteAllGoOneOutputAfterAnotherWithPollingPaused() {
        Make();
        std::vector<int> pausesSeen;
        instrument.onPoll = [&](int) { pausesSeen.push_back(h->mainWindow.pauses); };
        const std::uint32_t before = h->clock.TickCount();
        Find("bRead")->click();
        QVERIFY(h->clock.TickCount() - before >= 500);
        std::vector<std::string> polls;
        for (int output = 1; output <= kOutputs; ++output) {
            polls.push_back(protocol::AlarmOutputPoll(output));
            QCOMPARE(Row(output), QStringList({"BAND", QString::number(9 - output),
                                               QString::number(100 * output), "-5", "2",
                                               output % 2 ? "Inverted" : "Normal"}));
        }
        QCOMPARE(h->Sent(), polls);
        QCOMPARE(NumberColours(), std::vector<QRgb>(kOutputs, kLime));
        QCOMPARE(pausesSeen, std::vector<int>(kOutputs, 1));
        QCOMPARE(h->mainWindow.pauses, 0);

        // Written as edited; output 6 keeps its own values and says so in the read back.
        Edit(2, kTypeColumn, kTypeOn);
        instrument.deaf = {6};
        Edit(6, kTypeColumn, kTypeOff);
        Find("bWrite")->click();
        const auto sent = h->Sent();
        QCOMPARE(sent.size(), 16u);
        for (int output = 1; output <= kOutputs; ++output) {
            QCOMPARE(sent[2 * output - 2][2], 'A');
            QCOMPARE(sent[2 * output - 1], protocol::AlarmOutputPoll(output));
        }
        QCOMPARE(instrument.held[1].type, kTypeOn);
        QCOMPARE(Cell(6, kTypeColumn), QString("BAND"));
        QCOMPARE(h->operatorAnswers.errors,
                 QStringList("The instrument did not confirm the writing of output 6: it did not "
                             "answer (the row stays red) or reports other values."));
        QCOMPARE(h->mainWindow.pauses, 0);
    }

    void aSilentInstrumentHoldsEachOutputABoundedTimeAndIsReported() {
        Make();
        instrument.silent = {3};
        instrument.held[4].type = 7; // output 5 reports a type that does not exist
        Find("bRead")->click();
        QCOMPARE(h->Sent().size(), 8u);
        auto colours = std::vector<QRgb>(kOutputs, kLime);
        colours[2] = kRed;
        colours[4] = kRed;
        QCOMPARE(NumberColours(), colours);
        QCOMPARE(h->operatorAnswers.errors.takeFirst(),
                 QString("The instrument did not report output 3; its row stays red. The "
                         "instrument reported output 5 out of range; the report was refused and "
                         "its row stays red."));

        // Three unanswered in a row: the rest is not tried, and polling goes on again.
        instrument.silent = {1, 2, 3, 4, 5, 6, 7, 8};
        const std::uint32_t before = h->clock.TickCount();
        Find("bWrite")->click();
        QCOMPARE(h->Sent().size(), 6u);
        QVERIFY(h->clock.TickCount() - before < 6 * 3000 + 1000);
        QCOMPARE(h->operatorAnswers.errors.takeFirst(),
                 QString("The instrument did not confirm the writing of outputs 1, 2, 3: it did "
                         "not answer (the row stays red) or reports other values. The instrument "
                         "stopped answering; not tried: outputs 4, 5, 6, 7, 8."));
        QCOMPARE(h->mainWindow.pauses, 0);
        QVERIFY(Find("bRead")->isEnabled());
    }

    void oneExchangeAtATime() {
        Make();
        QTemporaryDir folder;
        const QString file = folder.filePath("table.txt");
        QFile(file).open(QIODevice::WriteOnly);
        int polls = 0;
        instrument.onPoll = [&](int) {
            if (++polls > 1) {
                return;
            }
            // Everything the operator could start while the first read waits.
            for (const char* control : {"bRead", "bWrite", "bLoad", "bSave", "bSend", "bRefresh",
                                        "cbPort", "bDownload", "bZeroLog", "bTestExM"}) {
                QVERIFY2(!Find<QWidget>(control)->isEnabled(), control);
            }
            QVERIFY(!Find<QAction>("Read1")->isEnabled());
            h->operatorAnswers.ChooseFile(file);
            Table().bLoadClick();
            Table().bWriteClick();
            Edit(5, kTypeColumn, kTypeOn);
        };
        Find("bRead")->click();
        QCOMPARE(h->Sent().size(), 8u);
        QVERIFY(select.showings.empty());
        QVERIFY(h->operatorAnswers.fileFilters.isEmpty());
        QCOMPARE(Cell(5, kTypeColumn), QString("BAND"));
        QVERIFY(Find("bSend")->isEnabled() && Find<QAction>("Write1")->isEnabled());
    }

    void aReplyWithAFieldOutOfRangeChangesNothing() {
        Make();
        const char* bad[] = {
            "A09,02,03,  100,    1,    1,00", "A00,02,03,  100,    1,    1,00",
            "A03,05,03,  100,    1,    1,00", "A03,02,09,  100,    1,    1,00",
            "A03,02,00,  100,    1,    1,00", "A03,02,03,  100,    1,    1,02",
        };
        for (const char* payload : bad) {
            h->port.Receive(Replies::Framed(payload));
            QCOMPARE(Row(3), QStringList({"OFF", "3", "20", "1", "1", "Normal"}));
            QCOMPARE(Colour(3, 0), kSkyBlue);
        }
        h->port.Receive(Replies::Framed("A03,02,03,  100,    1,    1,01"));
        QCOMPARE(Row(3), QStringList({"HIGH", "3", "100", "1", "1", "Inverted"}));
        QCOMPARE(Colour(3, 0), kLime);
    }

    void theInitialTableSavesAndLoadsBackUnknown() {
        Make();
        QTemporaryDir folder;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
        Find("bSave")->click();
        QDir::setCurrent(previous);
        const QString name = "OC" + DateTimeStamp(ToLocalDateTime(h->clock.Now()));
        QCOMPARE(Find<QLabel>("lFilename")->text(), "To: " + name);
        QFile file(folder.filePath(name + ".txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 9);
        QCOMPARE(lines[0], QByteArray("01,00,01,   20,    1,    1, 0\r"));
        for (int output = 1; output <= kOutputs; ++output) {
            QCOMPARE(lines[output - 1].size(), 30);
        }

        h->port.Receive(Replies::Framed("A02,04,07,  -50,   10,    2,01"));
        h->operatorAnswers.ChooseFile(file.fileName());
        Find("bLoad")->click();
        QCOMPARE(h->operatorAnswers.fileFilters, QStringList("Text files (*.txt)|*.TXT"));
        QCOMPARE(Find<QLabel>("lFilename")->text(), name + ".txt");
        for (int row = 1; row <= kOutputs; ++row) {
            QCOMPARE(Row(row),
                     QStringList({"OFF", QString::number(row), "20", "1", "1", "Normal"}));
        }
        QCOMPARE(NumberColours(), std::vector<QRgb>(kOutputs, kSkyBlue));
        QVERIFY(h->operatorAnswers.notices.isEmpty());
    }

    void aLoadTakesTheGoodLinesAndSkipsTheBadOnesWhole() {
        Make();
        QTemporaryDir folder;
        QFile file(folder.filePath("table.TXT"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("05,02,03,  -40,    1,    2, 1\r\n" // good
                   "09,02,03,   40,    1,    2, 1\r\n" // no output 9
                   "06,05,03,   40,    1,    2, 1\r\n" // no type 5
                   "06,02,09,   40,    1,    2, 1\r\n" // no input 9
                   "06,02,03,   40,    1,    2, 2\r\n" // no polarity 2
                   "06,02,03,   4x,    1,    2, 1\r\n" // not a number
                   "06,02,03,   40,    1,    2,\r\n"   // too short
                   "\r\n"                              // empty
                   "07,04,08,99999,-9999,    0, 0\n"); // good, LF only
        file.close();
        h->operatorAnswers.ChooseFile(file.fileName());
        Find("bLoad")->click();
        QCOMPARE(Row(5), QStringList({"HIGH", "3", "-40", "1", "2", "Inverted"}));
        QCOMPARE(Row(6), QStringList({"OFF", "6", "20", "1", "1", "Normal"}));
        QCOMPARE(Row(7), QStringList({"BAND", "8", "99999", "-9999", "0", "Normal"}));
        QCOMPARE(h->operatorAnswers.notices,
                 QStringList("7 lines of table.TXT skipped, as they hold no output of the table "
                             "(lines 2, 3, 4, 5, 6, 7, 8); the other lines are loaded."));

        h->operatorAnswers.ChooseFile(folder.filePath("missing.txt"));
        Find("bLoad")->click();
        QCOMPARE(h->operatorAnswers.errors, QStringList("File I/O error."));
        QCOMPARE(Find<QLabel>("lFilename")->text(), QString("table.TXT"));

        QVERIFY(file.open(QIODevice::Append)); // much larger than a table: not read at all
        file.write(QByteArray(4096, '\n'));
        file.close();
        h->operatorAnswers.ChooseFile(file.fileName());
        Find("bLoad")->click();
        QCOMPARE(h->operatorAnswers.errors.last(),
                 QString("table.TXT is no alarm table file: it is larger than 4096 bytes."));
    }

    void aSaveThatFailsIsReportedAndNamesNoFile() {
        Make();
        QTemporaryDir folder;
        const QString name = "OC" + DateTimeStamp(ToLocalDateTime(h->clock.Now()));
        QDir(folder.path()).mkdir(name + ".txt"); // a folder where the file would go
        const QString previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
        Find("bSave")->click();
        QDir::setCurrent(previous);
        QCOMPARE(h->operatorAnswers.errors.size(), 1);
        QVERIFY(h->operatorAnswers.errors[0].contains(name + ".txt"));
        QCOMPARE(Find<QLabel>("lFilename")->text(), QString("File name"));
    }
};

QTEST_MAIN(AlarmOutputsTest)
#include "test_AlarmOutputs.moc"
