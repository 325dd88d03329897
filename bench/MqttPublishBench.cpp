// The MQTT publisher against Debian's mosquitto on a loopback port: readings (nine messages
// each) published per second until the broker has acknowledged them all, and the resident
// memory while the broker is away and a full queue waits, and the CPU its tries take meanwhile,
// plain and over TLS.
//
//   bench_mqtt_publish [readings]      (default 10000, also the queue's bound)
#include "LocalBroker.h"
#include "mqtt/Publisher.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <thread>

namespace {

using namespace std::chrono_literals;

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

mqtt::Reading BenchReading(int number) {
    mqtt::Reading reading{"2026-12-08T14:05:00+01:00", "C", {}};
    for (std::size_t channel = 0; channel < reading.channels.size(); ++channel) {
        const double value = 20 + static_cast<double>(channel) + (number % 100) / 10.0;
        reading.channels[channel] = {std::to_string(value).substr(0, 5), value};
    }
    return reading;
}

mqtt::PublisherOptions Options(const LocalBroker& broker, int queue) {
    mqtt::PublisherOptions options;
    options.broker = mqtt::ParseBrokerUrl(broker.Url("bench")).url;
    options.id = "V630-bench";
    options.queueReadings = static_cast<std::size_t>(queue);
    return options;
}

void MeasureRate(const LocalBroker& broker, int readings) {
    mqtt::Publisher publisher(Options(broker, readings));
    for (int waited = 0; !publisher.Online() && waited < 100; ++waited) {
        std::this_thread::sleep_for(50ms);
    }
    const auto start = std::chrono::steady_clock::now();
    for (int number = 0; number < readings; ++number) {
        publisher.PublishReading(BenchReading(number));
    }
    publisher.Stop(120s); // returns once the broker has acknowledged everything
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("published %d readings (%d messages) in %.2f s: %.0f readings/s, %.0f "
                "messages/s, %llu dropped\n",
                readings, readings * 9, seconds, readings / seconds, readings * 9 / seconds,
                static_cast<unsigned long long>(publisher.DroppedReadings()));
}

void MeasureMemory(const LocalBroker& broker, int readings) {
    const long before = ResidentKilobytes();
    mqtt::Publisher publisher(Options(broker, readings));
    for (int number = 0; number < readings; ++number) {
        publisher.PublishReading(BenchReading(number));
    }
    const long full = ResidentKilobytes();
    for (int number = 0; number < readings; ++number) {
        publisher.PublishReading(BenchReading(number));
    }
    const long overflowed = ResidentKilobytes();
    std::printf("broker away: resident %ld kB before, %ld kB with %d readings queued (%.0f bytes "
                "each), %ld kB after %d more (%llu oldest dropped)\n",
                before, full, readings, (full - before) * 1024.0 / readings, overflowed, readings,
                static_cast<unsigned long long>(publisher.DroppedReadings()));
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void MeasureCpuWhileAway(const LocalBroker& broker) {
    for (const bool tls : {false, true}) {
        mqtt::PublisherOptions options = Options(broker, 10);
        options.broker.tls = tls;
        mqtt::Publisher publisher(options);
        std::this_thread::sleep_for(1s); // set-up and the first try
        const double before = CpuSeconds();
        std::this_thread::sleep_for(10s);
        const double used = CpuSeconds() - before;
        std::printf("broker away, %s: %.3f s of CPU in 10 s (%.2f %%)\n", tls ? "TLS" : "plain",
                    used, used * 10);
    }
}

} // namespace

int main(int argc, char** argv) {
    const int readings = argc > 1 ? std::atoi(argv[1]) : 10'000;
    LocalBroker broker;
    broker.Stop();
    MeasureMemory(broker, readings); // first, before other phases leave freed memory behind
    MeasureCpuWhileAway(broker);
    broker.Start();
    MeasureRate(broker, readings);
    return 0;
}
