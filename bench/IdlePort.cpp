// CPU time taken by an open port with no traffic: opens a port on a pseudo-terminal, leaves
// it idle for ten seconds of wall time and prints the process's CPU time as a share of one
// core.

#include "serial/HandOverQueue.h"
#include "serial/SerialPort.h"
#include "support/PseudoTerminal.h"

#include <chrono>
#include <cstdio>
#include <sys/resource.h>
#include <thread>

namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main() {
    PseudoTerminal pty;
    HandOverQueue handOver;
    TSerialPort port(handOver);
    port.SetCommPort(pty.SlavePath());
    port.SetBaudRate(38400);
    port.SetActive(true);
    if (!port.Active()) {
        std::fprintf(stderr, "cannot open %s\n", pty.SlavePath().c_str());
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // the worker starts serving

    const double cpuBefore = CpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(10));
    const double cpu = CpuSeconds() - cpuBefore;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();

    std::printf("idle open port: %.3f s CPU in %.1f s wall = %.3f %% of one core\n", cpu, wall,
                100.0 * cpu / wall);
    port.SetActive(false);
    return 0;
}
