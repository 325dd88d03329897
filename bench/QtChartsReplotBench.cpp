// The 2D figures of bench_chart_replot measured with Qt Charts, for comparison: one redraw of a
// chart with 8 line series of 10 000, 100 000 and 1 000 000 points each, and its memory per point.
//
//   bench_qtcharts_replot [--size WIDTHxHEIGHT] [--runs N]

#include "BenchSupport.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QValueAxis>

int main(int argc, char** argv) {
    bench::UseOffscreenByDefault();
    QApplication app(argc, argv);
    const auto [width, height, timedRuns] = bench::ParseOptions(app, 5);

    auto* chart = new QChart;
    chart->setTitle("Chart");
    std::vector<QLineSeries*> series;
    for (int i = 0; i < bench::kSeries; ++i) {
        series.push_back(new QLineSeries);
        series.back()->setName(QString("Channel %1").arg(i + 1));
        chart->addSeries(series.back());
    }
    auto* keys = new QValueAxis;
    auto* values = new QValueAxis;
    chart->addAxis(keys, Qt::AlignBottom);
    chart->addAxis(values, Qt::AlignLeft);
    for (QLineSeries* one : series) {
        one->attachAxis(keys);
        one->attachAxis(values);
    }
    QChartView view(chart);
    view.resize(width, height);
    view.show();
    QApplication::processEvents();
    std::printf("Qt Charts %dx%d, %d series, %s platform\n", view.width(), view.height(),
                bench::kSeries, qPrintable(QGuiApplication::platformName()));

    const long long before = bench::ResidentBytes();
    for (const std::size_t points : bench::kPointCounts) {
        double low = 1e9;
        double high = -1e9;
        for (int s = 0; s < bench::kSeries; ++s) {
            QList<QPointF> data;
            data.reserve(static_cast<qsizetype>(points));
            for (std::size_t i = 0; i < points; ++i) {
                const float value = bench::Reading(s, i);
                low = std::min<double>(low, value);
                high = std::max<double>(high, value);
                data.append(QPointF(static_cast<double>(i), value));
            }
            series[static_cast<std::size_t>(s)]->replace(data);
        }
        keys->setRange(0, static_cast<double>(points - 1));
        values->setRange(low, high);
        QApplication::processEvents();
        const auto redraw = bench::Measure(timedRuns, [&] { view.viewport()->repaint(); });
        bench::PrintTiming("Qt Charts redraw 2D", points, redraw);
        std::size_t next = points;
        const auto appendAndRedraw = bench::Measure(timedRuns, [&] {
            for (int s = 0; s < bench::kSeries; ++s) {
                series[static_cast<std::size_t>(s)]->append(static_cast<double>(next),
                                                            bench::Reading(s, next));
            }
            keys->setRange(0, static_cast<double>(next));
            ++next;
            QApplication::processEvents();
            view.viewport()->repaint();
        });
        bench::PrintTiming("Qt Charts append a point + redraw 2D", points, appendAndRedraw);
    }
    const long long after = bench::ResidentBytes();
    bench::PrintMemory(after - before, static_cast<std::size_t>(series.front()->count()));
    return 0;
}
