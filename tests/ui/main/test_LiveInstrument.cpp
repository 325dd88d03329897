// The program's windows on a real serial port: the simulated instrument on a pseudo-terminal,
// the serial worker and its Qt hand-over, the polling timer running in real time.
#include "ui/support/LivePanel.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <sys/resource.h>

namespace {

// CPU time of the calling thread, in milliseconds.
double ThreadCpuMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 +
           usage.ru_stime.tv_sec * 1e3 + usage.ru_stime.tv_usec / 1e3;
}

sim::ServerOptions WithFaults(const sim::FaultOptions& faults) {
    sim::ServerOptions options;
    options.faults = faults;
    return options;
}

} // namespace

class LiveInstrumentTest : public QObject {
    Q_OBJECT

private slots:
    void readingsFromTheInstrumentAreShown() {
        LivePanel live;
        live.Start();
        QTRY_VERIFY_WITH_TIMEOUT(live.Text("lDispx1") != "-------", 10000);
        QVERIFY(live.Form().windowTitle().startsWith("V630 Control Panel - V630 2.1"));
        QCOMPARE(live.Text("lUnit"), QString(" \u00B0 C "));
        QVERIFY(live.panel->State().History.newest >= 1);
        QTRY_VERIFY_WITH_TIMEOUT(!live.panel->Frames().CommsBusy(), 3000);
        QCOMPARE(live.Text("lComm_count"), QString("0"));
        QCOMPARE(live.Text("lBCC_error"), QString("0"));
        // The run's port is opened, and the stored one stays as it was.
        QVERIFY(!live.settings.Get("Comms", "CommPort"));
        live.Form().close();
        QVERIFY(!live.settings.Get("Comms", "CommPort"));
        QCOMPARE(live.settings.Get("Comms", "BaudRate"), std::optional<std::string>("38400"));
    }

    void faultsOnTheLineShowOnlyInTheCounters() {
        sim::FaultOptions faults;
        faults.corrupt_bcc = {0.0, 2, 3};
        faults.drop = {0.0, 1, 8};
        faults.garbage = {0.0, 2, 11};
        faults.split = {0.0, 2, 15};
        faults.split_gap_ms = 400;
        LivePanel live(WithFaults(faults));
        live.Start();
        protocol::FrameLayer& frames = live.panel->Frames();
        QTRY_VERIFY_WITH_TIMEOUT(frames.TransmittedFrameCount() >= 22, 40000);
        QTRY_VERIFY_WITH_TIMEOUT(!frames.CommsBusy(), 3000);
        // Corrupt and split replies are BCC errors; corrupt and dropped ones stay unanswered.
        QCOMPARE(frames.BccErrorCount(), 4);
        QCOMPARE(frames.OutstandingCount(), 3);
        QCOMPARE(live.Text("lComm_count"), QString("3"));
        QCOMPARE(frames.HandlerFailureCount(), 0);
        // And the readings go on.
        const int newest = live.panel->State().History.newest;
        QTRY_VERIFY_WITH_TIMEOUT(live.panel->State().History.newest != newest, 5000);
    }

    void aWaitingSenderSleepsUntilTheReplyComes() {
        sim::FaultOptions faults;
        faults.delay_ms = 1500;
        LivePanel live(WithFaults(faults));
        live.Start();
        live.StopPollingTimer();
        protocol::FrameLayer& frames = live.panel->Frames();
        protocol::Exchange& exchange = live.panel->Exchanges();
        QTRY_VERIFY_WITH_TIMEOUT(!frames.CommsBusy(), 5000); // the start-up status poll
        exchange.Send(protocol::Question::Poll('T'));
        QElapsedTimer wall;
        wall.start();
        const double cpuBefore = ThreadCpuMilliseconds();
        exchange.Send(protocol::Question::Poll('O')); // waits for the reply to 'T'
        const double cpu = ThreadCpuMilliseconds() - cpuBefore;
        QVERIFY2(wall.elapsed() >= 1200, qPrintable(QString::number(wall.elapsed())));
        QVERIFY2(cpu < 0.2 * wall.elapsed(),
                 qPrintable(QString("%1 ms of CPU in %2 ms").arg(cpu).arg(wall.elapsed())));
        QVERIFY(live.Text("lDispx1") != "-------");
    }

    void closingEndsEveryWaitAtOnce() {
        sim::FaultOptions faults;
        faults.delay_ms = 5000;
        LivePanel live(WithFaults(faults));
        live.Start();
        live.StopPollingTimer();
        QTimer::singleShot(300, &live.Form(), [&live] { live.Form().close(); });
        QElapsedTimer wall;
        wall.start();
        // Waits for the start-up status poll's late reply.
        live.panel->Exchanges().Send(protocol::Question::Poll('T'));
        QVERIFY2(wall.elapsed() < 3000, qPrintable(QString::number(wall.elapsed())));
        QVERIFY(!live.instrument->Active());
        QVERIFY(live.settings.Get("Control", "Comms_Interval"));
    }
};

QTEST_MAIN(LiveInstrumentTest)
#include "test_LiveInstrument.moc"
