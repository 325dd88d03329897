// Pace of the logged-data download: the whole program downloads the simulated instrument's log
// over a pseudo-terminal that the simulator paces at 38400 baud, with clusters ending on whole
// replies ("ClusterOnFrame" 1) and by the time rule alone (0), with the instrument answering at
// once and after 20 ms of thought, and prints records per second beside the line's floor.
//
//   bench_log_download [records]      (default 200)
#include "BenchSupport.h"
#include "ui/support/LivePanel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr double kBaud = 38400;
constexpr double kBitsPerByte = 10;
// The seven-byte fetch, and the reply: STX, the 81 characters of a record, ETX and BCC.
constexpr double kRecordBytes = 7 + 84;
constexpr int kAddressableRecords = 9999;

struct Setting {
    bool clusterOnFrame;
    std::uint32_t latencyMs;
};

// Seconds per record of one download, or a negative number when it did not run.
double SecondsPerRecord(int records, const Setting& setting) {
    sim::ServerOptions options;
    options.instrument.records = records;
    options.latency_ms = setting.latencyMs;
    LivePanel live(options, /*realTime=*/true);
    live.settings.Set("Comms", "ClusterOnFrame", setting.clusterOnFrame ? "1" : "0");
    live.Start();
    QWidget* window = LivePanel::Window("Form3");
    window->show();
    QElapsedTimer waited;
    waited.start();
    auto* count = window->findChild<QLabel*>("lLogMaxCount");
    while (count->text() != QString::number(records) && waited.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    if (count->text() != QString::number(records)) {
        return -1;
    }
    live.operatorAnswers.AnswerYes();
    QElapsedTimer timer;
    timer.start();
    window->findChild<QPushButton*>("bDownload")->click();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    if (!live.operatorAnswers.notices.isEmpty()) {
        std::printf("  %s\n", qPrintable(live.operatorAnswers.notices.join(' ')));
    }
    return seconds / records;
}

void Report(int records, const Setting& setting, double perRecord) {
    std::printf("ClusterOnFrame %d, latency %2u ms: ", setting.clusterOnFrame ? 1 : 0,
                setting.latencyMs);
    if (perRecord < 0) {
        std::printf("the instrument did not report its records\n");
        return;
    }
    const double floor = kRecordBytes * kBitsPerByte / kBaud + setting.latencyMs / 1000.0;
    std::printf("%d records in %5.1f s: %5.2f records/s (line's floor %5.2f); "
                "%d records in %5.1f min (floor %4.1f min)\n",
                records, perRecord * records, 1.0 / perRecord, 1.0 / floor, kAddressableRecords,
                perRecord * kAddressableRecords / 60.0, floor * kAddressableRecords / 60.0);
}

} // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenByDefault();
    QApplication app(argc, argv);
    const int records = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    std::printf(
        "logged-data download, simulated V630 paced at 38400 baud, default port settings\n");
    for (const Setting setting :
         {Setting{true, 0}, Setting{false, 0}, Setting{true, 20}, Setting{false, 20}}) {
        Report(records, setting, SecondsPerRecord(records, setting));
    }
    return 0;
}
