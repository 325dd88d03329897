// CPU time taken by an open port with no traffic, and by the same port once its device has gone
// (the other side of its pseudo-terminal closed, the link the port opened removed, as a system's
// name for an unplugged adapter goes) while the port waits for it to come back. Each
// phase lasts SECONDS of wall time (default 10); the port's hand-overs run on this thread. Prints
// each phase's CPU time as a share of one core, and what the port reported while it waited.

#include "serial/SerialPort.h"
#include "serial/UiPump.h"
#include "support/PseudoTerminal.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sys/resource.h>
#include <unistd.h>

namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The CPU share of one core while the pump runs for the given time.
double CpuShare(UiPump& pump, std::chrono::seconds time) {
    const double cpuBefore = CpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    pump.RunFor(time);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    return 100.0 * (CpuSeconds() - cpuBefore) / wall;
}

} // namespace

int main(int argc, char** argv) {
    const std::chrono::seconds phase(argc > 1 ? std::atoi(argv[1]) : 10);
    PseudoTerminal pty;
    const std::filesystem::path link =
        std::filesystem::temp_directory_path() / ("vxxx-idle-port-" + std::to_string(getpid()));
    std::filesystem::remove(link);
    std::filesystem::create_symlink(pty.SlavePath(), link);
    UiPump pump;
    TSerialPort port(pump.Queue());
    std::map<std::uint32_t, int> reports; // place -> how often
    int losses = 0;
    port.OnProcessError = [&](TSerialPort&, std::uint32_t place, std::uint32_t, const std::string&,
                              std::uint8_t) { ++reports[place]; };
    port.OnDeviceLost = [&](TSerialPort&) { ++losses; };
    port.SetCommPort(link.string());
    port.SetBaudRate(38400);
    port.SetActive(true);
    if (!port.Active()) {
        std::fprintf(stderr, "cannot open %s\n", link.c_str());
        return 1;
    }
    pump.RunFor(std::chrono::milliseconds(500)); // the worker starts serving

    const double idle = CpuShare(pump, phase);
    reports.clear();
    pty.CloseMaster();
    std::filesystem::remove(link);
    pump.RunFor(std::chrono::milliseconds(500)); // the loss is seen and the device let go
    const double away = CpuShare(pump, phase);

    std::printf("idle open port:            %.3f %% of one core over %lld s\n", idle,
                static_cast<long long>(phase.count()));
    std::printf("device gone, waited for:   %.3f %% of one core over %lld s\n", away,
                static_cast<long long>(phase.count()));
    std::printf("while gone: %d loss event(s); reports by place:", losses);
    for (const auto& [place, count] : reports) {
        std::printf(" %u x%d", place, count);
    }
    std::printf("\n");
    port.SetActive(false);
    return 0;
}
