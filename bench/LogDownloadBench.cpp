// Pace of the logged-data download: the whole program downloads the simulated instrument's log
// over a pseudo-terminal, once at the serial port's default cluster allowance and once with
// "RTOExtraDelayTime" at 20 ms, and prints records per second beside the floor that the
// cluster rule sets (the allowance plus 0.29 ms for each byte of a reply).
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

// STX, the 81 characters of a record, ETX and BCC, at 0.29 ms each on a 38400-baud line.
constexpr double kReplyBytes = 84;
constexpr double kPerByteMs = 0.29;

// Seconds per record of one download, or a negative number when it did not run.
double SecondsPerRecord(int records, const char* extraDelay) {
    sim::ServerOptions options;
    options.instrument.records = records;
    LivePanel live(options, /*realTime=*/true);
    if (extraDelay != nullptr) {
        live.settings.Set("Comms", "RTOExtraDelayTime", extraDelay);
    }
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

void Report(int records, const char* label, double extraDelayMs, double perRecord) {
    const double floor = (extraDelayMs + kReplyBytes * kPerByteMs) / 1000.0;
    if (perRecord < 0) {
        std::printf("%-34s the instrument did not report its records\n", label);
        return;
    }
    std::printf("%-34s %3d records in %6.1f s: %5.2f records/s, %.3f s per record "
                "(cluster floor %.3f s); 9999 records %5.1f min, 65535 records %4.2f h\n",
                label, records, perRecord * records, 1.0 / perRecord, perRecord, floor,
                perRecord * 9999 / 60.0, perRecord * 65535 / 3600.0);
}

} // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenByDefault();
    QApplication app(argc, argv);
    const int records = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    Report(records, "default allowance (250 ms)", 250, SecondsPerRecord(records, nullptr));
    Report(records, "RTOExtraDelayTime 20 ms", 20, SecondsPerRecord(records, "20"));
    return 0;
}
