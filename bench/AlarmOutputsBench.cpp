// Times "Read" and "Write" of the alarm outputs table (all eight outputs) in the whole program
// against the simulated V630 on a pseudo-terminal at the default port settings, and sets the
// figures beside the floor that the receive side's cluster rule gives: a reply is handed over
// 250 ms after the input queue was last seen empty, plus 0.29 ms per queued byte.
//   bench_alarm_outputs [RUNS]
#include "BenchSupport.h"
#include "ui/support/LivePanel.h"

#include <QPushButton>

namespace {

constexpr double kBaud = 38400;
constexpr double kBitsPerByte = 10;

// One transaction: the frame out, the reply back, and the cluster allowance for the reply.
double TransactionFloorMs(int frameBytes, int replyBytes) {
    const double lineMs = (frameBytes + replyBytes) * kBitsPerByte * 1000 / kBaud;
    return lineMs + 250 + 0.29 * replyBytes;
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
void Print(const char* what, const std::vector<double>& times, double floorMs, int transactions) {
    const double median = times[times.size() / 2];
    std::printf("%-10s median %7.0f ms  fastest %7.0f ms  floor %7.0f ms (%2d transactions)  "
                "median/floor %.2f\n",
                what, median, times.front(), floorMs, transactions, median / floorMs);
}

} // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenByDefault();
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    LivePanel live(sim::ServerOptions{}, /*realTime=*/true);
    live.Start();
    live.Form().findChild<QPushButton*>("bConfig")->click();
    QWidget* window = LivePanel::Window("Form3");
    WaitUntil([window] { return window->width() == 620; }, 10000);
    if (window->width() != 620) {
        std::fprintf(stderr, "the simulated V630 did not answer\n");
        return 1;
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
    // answer one acknowledge byte. Read all waits 500 ms first; write all 20 ms per output.
    const double readFloor = 500 + 8 * TransactionFloorMs(5, 33);
    const double writeFloor = 8 * (TransactionFloorMs(34, 1) + 20 + TransactionFloorMs(5, 33));
    std::printf("alarm outputs, 8 outputs, %d runs, simulated V630 at 38400 baud\n", runs);
    Print("read all", readTimes, readFloor, 8);
    Print("write all", writeTimes, writeFloor, 16);
    std::printf("per transaction: read %.0f ms, write %.0f ms (the rule alone: %.0f and %.0f ms)\n",
                (readTimes[readTimes.size() / 2] - 500) / 8,
                (writeTimes[writeTimes.size() / 2] - 8 * 20) / 16, TransactionFloorMs(5, 33),
                (TransactionFloorMs(34, 1) + TransactionFloorMs(5, 33)) / 2);
    const bool clean = live.operatorAnswers.errors.isEmpty();
    live.Form().close();
    return clean ? 0 : 1;
}
