#pragma once

// Timing, memory and made-up data shared by the chart benchmarks.

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <unistd.h>
#include <vector>

namespace bench {

inline const std::vector<std::size_t> kPointCounts{10'000, 100'000, 1'000'000};
constexpr int kSeries = 8;

// Runs on the offscreen platform unless another one is asked for; call before the application.
inline void UseOffscreenByDefault() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

// --size WIDTHxHEIGHT (default: the window's chart, 609x465) and --runs N.
struct Options {
    int width;
    int height;
    int runs;
};

inline Options ParseOptions(const QApplication& app, int defaultRuns) {
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption size("size", "Chart size.", "WIDTHxHEIGHT", "609x465");
    const QCommandLineOption runs("runs", "Timed runs per figure.", "N",
                                  QString::number(defaultRuns));
    parser.addOptions({size, runs});
    parser.process(app);
    const QStringList dimensions = parser.value(size).split('x');
    return {dimensions.value(0).toInt(), dimensions.value(1).toInt(),
            std::max(1, parser.value(runs).toInt())};
}

// Resident memory of this process in bytes.
inline long long ResidentBytes() {
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

// Temperatures that wander like real ones: a slow drift, a ripple and some noise.
inline float Reading(int series, std::size_t index) {
    const double t = static_cast<double>(index);
    const double noise = std::sin(t * 12.9898 + series * 78.233) * 43758.5453;
    return static_cast<float>(20 + 8 * series + 5 * std::sin(t / (5000.0 + 700 * series)) +
                              std::sin(t / 37.0) + 0.3 * (noise - std::floor(noise)));
}

// Median and fastest of several runs, in milliseconds.
struct Timing {
    double median;
    double fastest;
};

inline Timing Measure(int runs, const std::function<void()>& once) {
    once(); // warm-up
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        once();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front()};
}

inline void PrintTiming(const char* what, std::size_t points, const Timing& timing) {
    std::printf("%-38s %9zu points/series  median %8.2f ms  fastest %8.2f ms\n", what, points,
                timing.median, timing.fastest);
}

// Growth of resident memory since the chart was empty, per point of all series.
inline void PrintMemory(long long grownBytes, std::size_t pointsPerSeries) {
    std::printf("memory: %.2f bytes per charted point (resident growth %.1f MB for %zu points "
                "in each of %d series)\n",
                static_cast<double>(grownBytes) / (static_cast<double>(pointsPerSeries) * kSeries),
                static_cast<double>(grownBytes) / 1e6, pointsPerSeries, kSeries);
}

} // namespace bench
