// Times one replot of the real-time chart with 8 series of 10 000, 100 000 and 1 000 000
// points each, in 2D and in 3D, and the memory the chart takes per point at 1 000 000; then the
// 2D replot of the plotting library's own graphs with the same data, for comparison.
//
//   bench_chart_replot [--size WIDTHxHEIGHT] [--runs N]      (default: the window's chart, 609x465)

#include "BenchSupport.h"
#include "ui/chart/LineChart.h"

#include <QApplication>

namespace {

// The library's graphs hold key and value as two doubles per point and thin out the visible
// points at every replot.
void MeasurePlainGraphs(QCustomPlot& plot, int timedRuns) {
    std::vector<QCPGraph*> graphs;
    for (int s = 0; s < bench::kSeries; ++s) {
        graphs.push_back(plot.addGraph());
    }
    const long long before = bench::ResidentBytes();
    for (const std::size_t points : bench::kPointCounts) {
        for (int s = 0; s < bench::kSeries; ++s) {
            QVector<QCPGraphData> data;
            data.reserve(static_cast<qsizetype>(points));
            for (std::size_t i = 0; i < points; ++i) {
                data.append(QCPGraphData(static_cast<double>(i), bench::Reading(s, i)));
            }
            graphs[static_cast<std::size_t>(s)]->data()->set(data, true);
        }
        plot.rescaleAxes();
        const auto replot =
            bench::Measure(timedRuns, [&] { plot.replot(QCustomPlot::rpImmediateRefresh); });
        bench::PrintTiming("plain library graphs replot 2D", points, replot);
    }
    bench::PrintMemory(bench::ResidentBytes() - before, bench::kPointCounts.back());
}

} // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenByDefault();
    QApplication app(argc, argv);
    const auto [width, height, timedRuns] = bench::ParseOptions(app, 15);

    LineChart chart;
    chart.resize(width, height);
    const char* colours[] = {"red", "green", "yellow", "blue", "white", "grey", "fuchsia", "teal"};
    std::vector<LineSeries*> series;
    for (int i = 0; i < bench::kSeries; ++i) {
        series.push_back(chart.AddSeries(QString("Channel %1").arg(i + 1), QColor(colours[i])));
    }
    chart.show();
    QApplication::processEvents();
    chart.replot(QCustomPlot::rpImmediateRefresh);
    std::printf("chart %dx%d, %d series, %s platform\n", width, height, bench::kSeries,
                qPrintable(QGuiApplication::platformName()));

    std::size_t filled = 0;
    const long long before = bench::ResidentBytes();
    for (const std::size_t points : bench::kPointCounts) {
        for (int s = 0; s < bench::kSeries; ++s) {
            for (std::size_t i = filled; i < points; ++i) {
                series[static_cast<std::size_t>(s)]->AddY(bench::Reading(s, i));
            }
        }
        filled = points;
        for (const bool view3D : {false, true}) {
            chart.SetView3D(view3D);
            const auto replot =
                bench::Measure(timedRuns, [&] { chart.replot(QCustomPlot::rpImmediateRefresh); });
            bench::PrintTiming(view3D ? "replot 3D" : "replot 2D", points, replot);
            std::size_t next = points;
            const auto appendAndReplot = bench::Measure(timedRuns, [&] {
                for (int s = 0; s < bench::kSeries; ++s) {
                    series[static_cast<std::size_t>(s)]->AddY(bench::Reading(s, next));
                }
                ++next;
                chart.replot(QCustomPlot::rpImmediateRefresh);
            });
            bench::PrintTiming(view3D ? "append a point + replot 3D" : "append a point + replot 2D",
                               points, appendAndReplot);
            filled = next;
        }
    }
    bench::PrintMemory(bench::ResidentBytes() - before, filled);
    chart.close();
    QCustomPlot plain;
    plain.resize(width, height);
    plain.show();
    QApplication::processEvents();
    MeasurePlainGraphs(plain, timedRuns);
    return 0;
}
