// The engineering window in the whole program, on the simulated instrument: the clock
// registers read, changed and read back, and the comms log written while the program runs.
#include "ui/engineering/LiveEngineering.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kTimeoutMs = 20000;

} // namespace

class EngineeringLiveTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        clustersLogged = 0;
        workDir = std::make_unique<QTemporaryDir>();
        QVERIFY(workDir->isValid());
        QDir::setCurrent(workDir->path());
        live = std::make_unique<LivePanel>(sim::ServerOptions{}, /*realTime=*/true);
        live->settings.Set("Control", "Diagnostic Level", "2");
        live->Start();
        window = LivePanel::Window<TfRTC>("fRTC");
        QVERIFY(window);
        live->Form().findChild<QPushButton*>("bENG")->click();
        QVERIFY(window->isVisible());
    }
    void cleanup() {
        live.reset();
        workDir.reset();
    }

    void registersAreReadChangedAndReadBack() {
        live->operatorAnswers.AnswerYes();
        Click("bRefresh");
        QTRY_VERIFY_WITH_TIMEOUT(AllRegistersRead(*window), kTimeoutMs);
        QVERIFY(Box(0x10)->text() != "5A");

        Box(0x10)->setText("5A");
        live->operatorAnswers.AnswerYes();
        Click("bSend");
        QTRY_VERIFY_WITH_TIMEOUT(AllRegistersRead(*window) && Box(0x10)->text() == "5A",
                                 kTimeoutMs);
        const std::string held =
            live->server.WithModel([](auto& model) { return model.Registers(); });
        QCOMPARE(held.substr(2 * 0x10, 2), std::string("5A"));
    }

    void commsLogHoldsOneLinePerClusterWhileTheProgramRuns() {
        // Every cluster the port hands over while the log is active.
        CountLoggedClusters(*live, *window, clustersLogged);
        live->operatorAnswers.AnswerYes();
        Click("bLogComms");
        QVERIFY(window->CommsLogActive());
        const QString file = Text("lFilename").mid(4) + ".txt";
        QVERIFY(file.startsWith("CT"));

        QTRY_VERIFY_WITH_TIMEOUT(clustersLogged >= 3, kTimeoutMs);
        QStringList records = CommsLogRecords(file);
        QCOMPARE(records.size(), clustersLogged);
        for (const QString& record : records) {
            QVERIFY2(IsWholeFrameRecord(record), qPrintable(record));
        }

        // The program's end closes the log; nothing reaches the file after it.
        live->Form().close();
        QVERIFY(!window->CommsLogActive());
        records = CommsLogRecords(file);
        QCOMPARE(records.size(), clustersLogged);
    }

private:
    QLineEdit* Box(int i) { return window->findChild<QLineEdit*>(QString("ereg%1").arg(i)); }
    QString Text(const char* name) { return window->findChild<QLabel*>(name)->text(); }
    void Click(const char* name) { window->findChild<QPushButton*>(name)->click(); }

    std::unique_ptr<QTemporaryDir> workDir;
    std::unique_ptr<LivePanel> live;
    TfRTC* window = nullptr;
    int clustersLogged = 0;
};

QTEST_MAIN(EngineeringLiveTest)
#include "test_EngineeringLive.moc"
