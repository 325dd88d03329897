// Times "Read" and "Write" of the alarm outputs table (all eight outputs) in the whole program
// against the simulated V630 on a pseudo-terminal paced at 38400 baud, at the default port
// settings with clusters ending on whole replies ("ClusterOnFrame" 1) and by the time rule
// alone (0), with the instrument answering at once and after 20 ms of thought, and sets the
// figures beside the line's floor (and the table's own pauses).
//   bench_alarm_outputs [RUNS]
#include "BenchSupport.h"
#include "ui/support/LivePanel.h"

#include <QPushButton>

namespace {

constexpr double kBaud = 38400;
constexpr double kBitsPerByte = 10;
// Read all waits 500 ms before the first output; write all 20 ms after each output's request.
constexpr double kSettleBeforeReadAllMs = 500;
constexpr double kSettleAfterWriteMs = 20;

struct Setting {
    bool clusterOnFrame;
    std::uint32_t latencyMs;
};

// One transaction on the line: the frame out, the instrument's thought, the reply back.
double TransactionFloorMs(int frameBytes, int replyBytes, const Setting& setting) {
    return (frameBytes + replyBytes) * kBitsPerByte * 1000 / kBaud + setting.latencyMs;
}

void WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer waited;
    waited.start();
    while (!condition() && waited.elapsed() < timeoutMs) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

double TimedClickMs(QPushButton* button) {
    QElapsedTimer timer;
    timer.start();
    button->click(); // returns when the last output's reply is in
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// `times` sorted.
void Print(const char* what, const std::vector<double>& times, double floorMs) {
    const double median = times[times.size() / 2];
    std::printf("  %-9s median %6.0f ms  fastest %6.0f ms  floor %6.0f ms  median/floor %.2f\n",
                what, median, times.front(), floorMs, median / floorMs);
}

bool Measure(const Setting& setting, int runs) {
    sim::ServerOptions options;
    options.latency_ms = setting.latencyMs;
    LivePanel live(options, /*realTime=*/true);
    live.settings.Set("Comms", "ClusterOnFrame", setting.clusterOnFrame ? "1" : "0");
    live.Start();
    live.Form().findChild<QPushButton*>("bConfig")->click();
    QWidget* window = LivePanel::Window("Form3");
    WaitUntil([window] { return window->width() == 620; }, 10000);
    if (window->width() != 620) {
        std::fprintf(stderr, "the simulated V630 did not answer\n");
        return false;
    }
    auto* read = window->findChild<QPushButton*>("bRead");
    auto* write = window->findChild<QPushButton*>("bWrite");
    std::vector<double> readTimes;
    std::vector<double> writeTimes;
    for (int run = 0; run < runs; ++run) {
        readTimes.push_back(TimedClickMs(read));
        writeTimes.push_back(TimedClickMs(write));
    }
    std::sort(readTimes.begin(), readTimes.end());
    std::sort(writeTimes.begin(), writeTimes.end());

    // The 'A' poll is 5 bytes, its reply STX + 30 + ETX + BCC; the 'A' request 34 bytes, its
    // answer one acknowledge byte, which cross the line while the window pauses after sending.
    const double readOne = TransactionFloorMs(5, 33, setting);
    const double writeOne =
        std::max(TransactionFloorMs(34, 1, setting), kSettleAfterWriteMs) + readOne;
    std::printf("ClusterOnFrame %d, latency %2u ms (%d runs):\n", setting.clusterOnFrame ? 1 : 0,
                setting.latencyMs, runs);
    Print("read all", readTimes, kSettleBeforeReadAllMs + 8 * readOne);
    Print("write all", writeTimes, 8 * writeOne);
    const bool clean = live.operatorAnswers.errors.isEmpty();
    live.Form().close();
    return clean;
}

} // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenByDefault();
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::printf("alarm outputs, 8 outputs, simulated V630 paced at 38400 baud\n");
    bool clean = true;
    for (const Setting setting :
         {Setting{true, 0}, Setting{false, 0}, Setting{true, 20}, Setting{false, 20}}) {
        clean = Measure(setting, runs) && clean;
    }
    return clean ? 0 : 1;
}
