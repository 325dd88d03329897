// Logged files in the chart: writes a 30-day PC log at a 1 s interval (2 592 000 lines) and a
// 30-day download at a 10 s interval (259 200 records) into a scratch folder, then prints
//   - the lines per second the core reader reads the PC log at (no chart, records counted), by
//     the clock and by the processor time it took,
//   - the resident memory per line the PC log takes shown in the chart window,
//   - the time from the file dialog's OK to each file on screen in the chart window.
//
//   bench_chart_file [--runs N]      (the reader's runs; default 3)

#include "BenchSupport.h"
#include "instrument/LoggedFileReader.h"
#include "support/ManualClock.h"
#include "support/MemorySettingsStore.h"
#include "support/ScriptedOperator.h"
#include "ui/chart/uChart.h"

#include <QTemporaryDir>
#include <charconv>
#include <cstdlib>
#include <ctime>
#include <fstream>

namespace {

constexpr std::size_t kPcLogLines = 30 * 86400;
constexpr std::size_t kDownloadRecords = 30 * 8640;

class CountedRecords final : public LoggedRecordSink {
public:
    void Begin(LoggedFileKind) override {}
    void Add(const LoggedRecord& record) override { sum += record.channels[7]; }
    double sum = 0;
};

char* TwoDigits(char* out, int value) {
    *out++ = static_cast<char>('0' + value / 10);
    *out++ = static_cast<char>('0' + value % 10);
    return out;
}

// ";" and the value with four decimals, as the files have it.
char* Value(char* out, float value) {
    *out++ = ';';
    auto scaled = static_cast<long long>(std::llround(static_cast<double>(value) * 10000));
    if (scaled < 0) {
        *out++ = '-';
        scaled = -scaled;
    }
    out = std::to_chars(out, out + 20, scaled / 10000).ptr;
    *out++ = '.';
    const auto decimals = static_cast<int>(scaled % 10000);
    out = TwoDigits(out, decimals / 100);
    return TwoDigits(out, decimals % 100);
}

// "dd?12?26 hh:mm:ss" of second `second` from 1 December 2026, 00:00:00, within the month.
char* Stamp(char* out, std::size_t second, char dateSeparator) {
    const auto day = static_cast<int>(second / 86400);
    const auto rest = static_cast<int>(second % 86400);
    out = TwoDigits(out, 1 + day);
    *out++ = dateSeparator;
    out = TwoDigits(out, 12);
    *out++ = dateSeparator;
    out = TwoDigits(out, 26);
    *out++ = ' ';
    out = TwoDigits(out, rest / 3600);
    *out++ = ':';
    out = TwoDigits(out, rest / 60 % 60);
    *out++ = ':';
    return TwoDigits(out, rest % 60);
}

void WritePcLog(const std::string& path) {
    std::ofstream file(path, std::ios::binary);
    char line[256];
    for (std::size_t i = 0; i < kPcLogLines; ++i) {
        char* end = Stamp(line, i, '.');
        end = Value(end, 25.0f + bench::Reading(9, i) / 100);
        for (int channel = 0; channel < bench::kSeries; ++channel) {
            end = Value(end, bench::Reading(channel, i));
        }
        *end++ = '\r';
        *end++ = '\n';
        file.write(line, end - line);
    }
}

void WriteDownload(const std::string& path) {
    std::ofstream file(path, std::ios::binary);
    char line[256];
    for (std::size_t i = 0; i < kDownloadRecords; ++i) {
        char* end = line;
        const auto number = static_cast<int>((i + 1) % 10000);
        end = TwoDigits(TwoDigits(end, number / 100), number % 100);
        *end++ = ',';
        end = Stamp(end, i * 10, '/');
        for (int channel = 0; channel < bench::kSeries; ++channel) {
            end = Value(end, bench::Reading(channel, i * 10));
        }
        *end++ = '\r';
        *end++ = '\n';
        file.write(line, end - line);
    }
}

QString LoadAverage() {
    QFile file("/proc/loadavg");
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).section(' ', 0, 0)
                                          : QStringLiteral("unknown");
}

// Opens the file through bOpenData and returns the milliseconds until it has been drawn.
double OpenOnScreen(TForm2& window, ScriptedOperator& answers, const QString& path) {
    answers.ChooseFile(path);
    QElapsedTimer timer;
    timer.start();
    window.bOpenDataClick();
    QApplication::processEvents();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenByDefault();
    QApplication app(argc, argv);
    const int runs = bench::ParseOptions(app, 3).runs;
    QTemporaryDir folder;
    const QString pcLog = folder.filePath("PC 20261201000000.csv");
    const QString download = folder.filePath("V630 20261231000000.csv");
    WritePcLog(pcLog.toStdString());
    WriteDownload(download.toStdString());

    const std::clock_t cpuBefore = std::clock();
    const auto read = bench::Measure(runs, [&] {
        std::ifstream input(pcLog.toStdString(), std::ios::binary);
        CountedRecords records;
        const LoggedFileSummary summary = ReadLoggedFile(input, '.', records);
        if (summary.records != kPcLogLines || summary.skippedLines != 0) {
            std::fprintf(stderr, "read %zu records, skipped %zu\n", summary.records,
                         summary.skippedLines);
            std::exit(1);
        }
    });
    // The machine may be busy with other work: the processor time the reader took tells its own
    // speed.
    const double cpuMs =
        1e3 * static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC / (runs + 1);
    std::printf("core reader: %zu-line PC log, median %.0f ms: %.2f million lines/s "
                "(fastest %.2f; %.2f per second of processor time); load average %s\n",
                kPcLogLines, read.median, kPcLogLines / read.median / 1e3,
                kPcLogLines / read.fastest / 1e3, kPcLogLines / cpuMs / 1e3,
                qPrintable(LoadAverage()));

    MemorySettingsStore settings;
    settings.Set("Chart", "Style3D", "0");
    ScriptedOperator answers;
    ReadingHistory history;
    ManualClock clock(std::chrono::system_clock::now());
    TForm2 window(
        settings, answers, history, [] { return QStringLiteral("V630"); }, 2, clock);
    window.resize(681, 465);
    window.show();
    QApplication::processEvents();

    const long long before = bench::ResidentBytes();
    const double pcLogMs = OpenOnScreen(window, answers, pcLog);
    const long long grown = bench::ResidentBytes() - before;
    std::printf("chart window: %zu-line PC log on screen %.0f ms after OK; resident memory "
                "%.1f bytes per line (%.1f MB)\n",
                kPcLogLines, pcLogMs, static_cast<double>(grown) / kPcLogLines,
                static_cast<double>(grown) / 1e6);
    window.bLiveClick();

    const double downloadMs = OpenOnScreen(window, answers, download);
    std::printf("chart window: %zu-record download on screen %.0f ms after OK\n", kDownloadRecords,
                downloadMs);
    if (!answers.errors.isEmpty() || !answers.notices.isEmpty()) {
        std::fprintf(stderr, "the window said: %s\n",
                     qPrintable((answers.errors + answers.notices).join('\n')));
        return 1;
    }
    return 0;
}
