// Memory of vxxx-sim under the panel's polling: a poll every 200 ms for a while, the resident
// set sampled every 10 s, and the growth extrapolated to an hour.
//
//   bench_sim_memory [seconds]      (default 240)
#include "PanelPort.h"
#include "SimulatorProcess.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {

long ResidentKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 240;
    SimulatorProcess simulator(VXXX_SIM_PROGRAM, {"--records", "100"});
    const std::string path = simulator.Line();
    PanelPort port(path);
    if (path.empty() || !port.IsOpen()) {
        std::fprintf(stderr, "bench_sim_memory: cannot start %s\n", VXXX_SIM_PROGRAM);
        return 1;
    }
    port.Ask(protocol::RequestFrame("S26120714050901020005")); // degrees F, instrument logging off

    // The panel's mix: readings every time, the outputs and the status now and then.
    const char* const polls[] = {"T", "O", "T", "M", "T", "S", "T", "A03", "T", "D0001"};
    const auto start = std::chrono::steady_clock::now();
    long first = -1, last = -1, answered = 0, sent = 0;
    for (int turn = 0;; ++turn) {
        const auto due = start + std::chrono::milliseconds(200 * turn);
        std::this_thread::sleep_until(due);
        const double elapsed = std::chrono::duration<double>(due - start).count();
        if (elapsed > seconds) {
            break;
        }
        if (turn % 50 == 0) {
            last = ResidentKilobytes(simulator.Pid());
            if (first < 0 && elapsed >= 10.0) {
                first = last; // after start-up has settled
            }
            std::printf("%6.0f s  VmRSS %ld kB  polls %ld  answered %ld\n", elapsed, last, sent,
                        answered);
            std::fflush(stdout);
        }
        ++sent;
        port.Send(PollFrame(polls[turn % std::size(polls)]));
        answered += port.Receive(20, 150).empty() ? 0 : 1;
    }
    const double span_hours = (seconds - 10.0) / 3600.0;
    std::printf("VmRSS %ld kB after 10 s, %ld kB after %d s: %+ld kB; %+.0f kB per hour\n", first,
                last, seconds, last - first, (last - first) / span_hours);
    return simulator.End(SIGTERM);
}
