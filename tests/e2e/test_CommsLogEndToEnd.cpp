// The comms-transaction log across SIGTERM. The program runs in a process of its own, built as
// control-panel's main() builds it (the ending signals, the close on leaving the event loop),
// on the simulated instrument, with the operator scripted so that it starts the log; the test
// ends it with SIGTERM and reads what reached the file.
//
//   test_comms_log_end_to_end                the test
//   test_comms_log_end_to_end --run-panel    the program it signals (started by the test)
#include "Process.h"
#include "app/SignalCloser.h"
#include "ui/engineering/LiveEngineering.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstring>

namespace {

// The program: prints the log's file name once logging runs, and at its end the number of
// clusters the port handed over while the log was active.
int RunPanel(int argc, char** argv) {
    QApplication application(argc, argv);
    LivePanel live(sim::ServerOptions{}, /*realTime=*/true);
    live.settings.Set("Control", "Diagnostic Level", "2");
    live.Start();
    SignalCloser closer([&live] { live.Form().close(); });
    QObject::connect(&application, &QCoreApplication::aboutToQuit,
                     [&live] { live.Form().FormClose(); });

    auto* window = LivePanel::Window<TfRTC>("fRTC");
    int clustersLogged = 0;
    CountLoggedClusters(live, *window, clustersLogged);
    live.operatorAnswers.AnswerYes();
    window->findChild<QPushButton*>("bLogComms")->click();
    if (!window->CommsLogActive()) {
        return 1;
    }
    std::printf("%s.txt\n", qPrintable(window->findChild<QLabel*>("lFilename")->text().mid(4)));
    std::fflush(stdout);

    const int exitCode = QApplication::exec();
    std::printf("clusters %d\n", clustersLogged);
    std::fflush(stdout);
    return window->CommsLogActive() ? 1 : exitCode;
}

QString Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

} // namespace

class CommsLogEndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void theLogIsCompleteAfterSigterm() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString output = folder.filePath("panel.out");
        const QString errors = folder.filePath("panel.err");
        Process panel(
            {QCoreApplication::applicationFilePath().toStdString(), "--run-panel"},
            folder.path().toStdString(),
            {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + folder.path().toStdString()},
            output.toStdString(), errors.toStdString());
        QVERIFY(panel.Started());

        QTRY_VERIFY_WITH_TIMEOUT(Content(output).contains('\n'), 30000);
        const QString log = folder.filePath(Content(output).section('\n', 0, 0));
        QVERIFY2(log.contains("/CT"), qPrintable(log));
        // A few polls pass while the log runs, then the session ends.
        QTRY_VERIFY_WITH_TIMEOUT(CommsLogRecords(log).size() >= 3, 30000);
        QCOMPARE(panel.End(SIGTERM), std::optional<int>(0));

        const QString report = Content(output).section('\n', 1, 1);
        QVERIFY2(report.startsWith("clusters "), qPrintable(Content(errors)));
        const QStringList records = CommsLogRecords(log);
        QCOMPARE(records.size(), report.mid(9).toInt());
        for (const QString& record : records) {
            QVERIFY2(IsWholeFrameRecord(record), qPrintable(record));
        }
    }
};

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--run-panel") == 0) {
        return RunPanel(argc, argv);
    }
    QApplication application(argc, argv);
    CommsLogEndToEndTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_CommsLogEndToEnd.moc"
