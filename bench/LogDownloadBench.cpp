// Pace of the logged-data download: the whole program downloads the simulated instrument's log
// over a pseudo-terminal that the simulator paces at 38400 baud, with clusters ending on whole
// replies ("ClusterOnFrame" 1) and by the time rule alone (0), with the instrument answering at
// once and after 20 ms of thought; then `vxxx log download` does the same as a process against
// vxxx-sim, both at their default settings. Each figure in records per second beside the line's
// floor.
//
//   bench_log_download [records]      (default 200)
#include "BenchSupport.h"
#include "e2e/Process.h"
#include "ui/support/LivePanel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <thread>

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

// Seconds per record of `vxxx log download` against vxxx-sim holding that many records, both
// as processes, with no panel settings (the port's defaults), or a negative number when the
// download did not end whole.
double VxxxSecondsPerRecord(int records) {
    const std::string folder = QDir::currentPath().toStdString();
    const std::string link = folder + "/sim";
    Process simulator({VXXX_SIM_PROGRAM, "--records", std::to_string(records), "--link", link},
                      folder, {}, folder + "/sim.out", folder + "/sim.err");
    for (int i = 0; i < 250 && !QFileInfo::exists(QString::fromStdString(link)); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    QElapsedTimer timer;
    timer.start();
    Process vxxx({VXXX_PROGRAM, "log", "download", "--port", link, "-o", "vxxx.csv"}, folder,
                 {"XDG_CONFIG_HOME=" + folder}, folder + "/vxxx.out", folder + "/vxxx.err");
    const std::optional<int> status = vxxx.Wait(std::chrono::minutes(30));
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    return status == 0 ? seconds / records : -1;
}

void Report(int records, const Setting& setting, double perRecord, const char* who = "panel") {
    std::printf("%-5s ClusterOnFrame %d, latency %2u ms: ", who, setting.clusterOnFrame ? 1 : 0,
                setting.latencyMs);
    if (perRecord < 0) {
        std::printf("the download did not end whole\n");
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
    Report(records, Setting{true, 0}, VxxxSecondsPerRecord(records), "vxxx");
    return 0;
}
