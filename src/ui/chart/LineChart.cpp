#include "LineChart.h"

#include "Backdrop3D.h"
#include "ChartColours.h"
#include "MetafilePaintDevice.h"

#include <QFile>
#include <algorithm>
#include <cmath>

namespace {

// Changes that arrive within this time are drawn together.
constexpr int kRedrawDelayMs = 30;
// The depth of the 3D view as a share of the chart's smaller side, and the share of each
// series' slot of that depth its ribbon fills.
constexpr double kDepthShare = 0.15;
constexpr double kRibbonShare = 0.7;
const QMargins kMargins2D(0, 8, 12, 0);
constexpr int kMarginBeyondDepth = 6;

// Point numbers are whole numbers: no tick steps below one.
class PointNumberTicker final : public QCPAxisTicker {
protected:
    double getTickStep(const QCPRange& range) override {
        return std::max(1.0, QCPAxisTicker::getTickStep(range));
    }
};

// Dates and times on the clock that wrote them; the labels say as much as the range needs:
// the date over days, the time and the date over hours, seconds as well over minutes.
class TimeTicker final : public QCPAxisTickerDateTime {
public:
    TimeTicker(QChar dateSeparator, QChar timeSeparator)
        : date_(QStringLiteral("dd%1MM%1yy").arg(dateSeparator)),
          minutes_(QStringLiteral("hh%1mm").arg(timeSeparator)),
          seconds_(QStringLiteral("hh%1mm%1ss").arg(timeSeparator)) {
        setDateTimeSpec(Qt::UTC);
    }

protected:
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                         int precision) override {
        constexpr double kDay = 86400;
        constexpr double kHour = 3600;
        const double span = range_.size();
        setDateTimeFormat(span > 3 * kDay    ? date_
                          : span > 2 * kHour ? minutes_ + QLatin1Char('\n') + date_
                                             : seconds_ + QLatin1Char('\n') + date_);
        return QCPAxisTickerDateTime::getTickLabel(tick, locale, formatChar, precision);
    }
    double getTickStep(const QCPRange& range) override {
        range_ = range;
        return std::max(1.0, QCPAxisTickerDateTime::getTickStep(range));
    }

private:
    QString date_;
    QString minutes_;
    QString seconds_;
    QCPRange range_;
};

} // namespace

LineChart::LineChart(QWidget* parent) : QCustomPlot(parent) {
    setBackground(QBrush(kChartPanelColour));
    setNotAntialiasedElements(QCP::aeAll);

    // Title on top; below it the plot with the legend to its right, centred on its height.
    QCPAxisRect* plane = axisRect();
    plotLayout()->take(plane);
    plotLayout()->simplify();
    title_ = new QCPTextElement(this, QStringLiteral("Chart"));
    plotLayout()->addElement(0, 0, title_);
    auto* body = new QCPLayoutGrid;
    plotLayout()->addElement(1, 0, body);
    plotLayout()->setRowStretchFactor(0, 0.001);
    body->addElement(0, 0, plane);
    auto* side = new QCPLayoutGrid;
    body->addElement(0, 1, side);
    body->setColumnStretchFactor(1, 0.001);
    plane->insetLayout()->take(legend);
    side->addElement(0, 0, new QCPLayoutElement(this));
    side->addElement(1, 0, legend);
    side->addElement(2, 0, new QCPLayoutElement(this));
    side->setRowStretchFactors({1, 0.001, 1});
    legend->setVisible(true);
    legend->setBrush(QBrush(kChartPanelColour));

    UsePointNumberAxis();
    for (QCPAxis* axis : {xAxis, yAxis}) {
        axis->grid()->setPen(QPen(kChartGridColour, 0, Qt::DotLine));
        axis->grid()->setZeroLinePen(Qt::NoPen);
    }
    for (QCPAxis* frame : {xAxis2, yAxis2}) {
        frame->setTicks(false);
        frame->setTickLabels(false);
    }
    backdrop_ = new Backdrop3D(this, plane);
    SetView3D(false);

    redrawTimer_.setSingleShot(true);
    redrawTimer_.setInterval(kRedrawDelayMs);
    connect(&redrawTimer_, &QTimer::timeout, this, &LineChart::OnRedrawTimer);
    connect(this, &QCustomPlot::beforeReplot, this, &LineChart::PrepareDrawing);
}

LineChart::~LineChart() = default;

LineSeries* LineChart::AddSeries(const QString& title, const QColor& colour) {
    auto* series = new LineSeries(xAxis, yAxis, keys_, title, colour);
    series_.push_back(series);
    connect(series, &LineSeries::changed, this, &LineChart::RequestRedraw);
    connect(series, &LineSeries::activeChanged, this, [this] { legendStale_ = true; });
    legendStale_ = true;
    StackSeries();
    RequestRedraw();
    return series;
}

void LineChart::SetView3D(bool on) {
    view3D_ = on;
    // In 3D the grid lies on the walls and the front plane has no frame of its own.
    for (QCPAxis* axis : {xAxis, yAxis}) {
        axis->grid()->setVisible(!on);
    }
    for (QCPAxis* frame : {xAxis2, yAxis2}) {
        frame->setVisible(!on);
    }
    StackSeries();
    RequestRedraw();
}

void LineChart::UseTimeAxis(QChar dateSeparator, QChar timeSeparator) {
    xAxis->setTicker(QSharedPointer<TimeTicker>::create(dateSeparator, timeSeparator));
    RequestRedraw();
}

void LineChart::UsePointNumberAxis() {
    xAxis->setTicker(QSharedPointer<PointNumberTicker>::create());
    xAxis->setNumberFormat(QStringLiteral("f"));
    xAxis->setNumberPrecision(0);
    RequestRedraw();
}

void LineChart::SetKeyView(std::optional<QCPRange> keys) {
    keyView_ = keys;
    RequestRedraw();
}

void LineChart::SetValueView(std::optional<QCPRange> values) {
    valueView_ = values;
    RequestRedraw();
}

void LineChart::SetTitle(const QString& text) {
    title_->setText(text);
    RequestRedraw();
}

QString LineChart::TitleFirstLine() const {
    return title_->text().section(QLatin1Char('\n'), 0, 0);
}

std::vector<PointKeys::Range> LineChart::ShownPoints(const LineSeries& series) const {
    if (!drawnKeys_) {
        return {};
    }
    return keys_.Within(drawnKeys_->lower, drawnKeys_->upper, series.Count());
}

long long LineChart::LastVisibleIndex(const LineSeries& series) const {
    const std::vector<PointKeys::Range> shown = ShownPoints(series);
    return shown.empty() ? -1 : static_cast<long long>(shown.back().last);
}

void LineChart::RequestRedraw() {
    if (!redrawTimer_.isActive()) {
        redrawTimer_.start();
    }
}

void LineChart::OnRedrawTimer() {
    // Hidden, or held while it is being filled: drawn when shown or asked to draw now.
    if (!isVisible() || !updatesEnabled()) {
        redrawPending_ = true;
        return;
    }
    redrawPending_ = false;
    replot();
}

void LineChart::RedrawNow() {
    redrawTimer_.stop();
    redrawPending_ = false;
    replot();
}

void LineChart::showEvent(QShowEvent* event) {
    QCustomPlot::showEvent(event);
    if (redrawPending_) {
        RedrawNow();
    }
}

void LineChart::PrepareDrawing() {
    UpdateLegend();
    ScaleAxes();
    PlaceRibbons();
}

void LineChart::UpdateLegend() {
    if (!legendStale_) {
        return;
    }
    legend->clearItems();
    for (LineSeries* series : series_) {
        if (series->Active()) {
            series->addToLegend(legend);
        }
    }
    legendStale_ = false;
}

QCPRange LineChart::WholeKeyRange() const {
    std::size_t points = 0;
    for (const LineSeries* series : series_) {
        points = std::max(points, series->Count());
    }
    const PointKeys::Span span = keys_.SpanOf(points);
    // A single point still gets an axis.
    return {span.lowest, span.highest > span.lowest ? span.highest : span.lowest + 1};
}

void LineChart::ScaleAxes() {
    const QCPRange keys = KeyView();
    xAxis->setRange(keys);
    xAxis2->setRange(keys);
    drawnKeys_ = keys;
    SeriesPoints::Extent values = SeriesPoints::NoExtent();
    for (const LineSeries* series : series_) {
        if (series->Active()) {
            for (const PointKeys::Range range :
                 keys_.Within(keys.lower, keys.upper, series->Count())) {
                values.Include(series->Points().ExtentOf(range.first, range.last + 1));
            }
        }
    }
    if (valueView_) {
        yAxis->setRange(*valueView_);
        yAxis2->setRange(*valueView_);
    } else if (!values.Empty()) {
        // A flat line still gets a scale around it.
        const double low = values.low < values.high ? values.low : values.low - 1.0;
        const double high = values.low < values.high ? values.high : values.high + 1.0;
        yAxis->setRange(low, high);
        yAxis2->setRange(low, high);
    }
}

void LineChart::PlaceRibbons() {
    for (LineSeries* series : series_) {
        series->SetPlacement({}, {});
    }
    if (!view3D_) {
        backdrop_->SetDepth({});
        axisRect()->setMinimumMargins(kMargins2D);
        return;
    }
    const double depth =
        std::max(1.0, std::round(kDepthShare * std::min(viewport().width(), viewport().height())));
    const QPointF total(depth, -depth);
    backdrop_->SetDepth(total);
    const int margin = static_cast<int>(depth) + kMarginBeyondDepth;
    axisRect()->setMinimumMargins(QMargins(0, margin, margin, 0));
    // Each shown series gets a slot of the depth, the first one at the front.
    std::vector<LineSeries*> shown;
    std::copy_if(series_.begin(), series_.end(), std::back_inserter(shown),
                 [](const LineSeries* series) { return series->Active(); });
    if (shown.empty()) {
        return;
    }
    const QPointF slot = total / static_cast<double>(shown.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        shown[i]->SetPlacement(slot * (static_cast<double>(i) + (1 - kRibbonShare) / 2),
                               slot * kRibbonShare);
    }
}

void LineChart::StackSeries() {
    // Later on the layer draws later: in 3D the front series last, in 2D in their order.
    QCPLayer* main = layer(QStringLiteral("main"));
    if (view3D_) {
        std::for_each(series_.rbegin(), series_.rend(),
                      [main](LineSeries* series) { series->setLayer(main); });
    } else {
        std::for_each(series_.begin(), series_.end(),
                      [main](LineSeries* series) { series->setLayer(main); });
    }
}

bool LineChart::SaveMetafile(const QString& path, QString& error) {
    PrepareDrawing();
    bool written = false;
    {
        MetafilePaintDevice picture(path, size());
        QCPPainter painter;
        if (painter.begin(&picture)) {
            painter.setMode(QCPPainter::pmVectorized);
            toPainter(&painter, width(), height());
            painter.end();
        }
        error = picture.Error();
        written = error.isEmpty();
    }
    if (!written) {
        QFile::remove(path);
    }
    // The layout was made for the picture; the screen gets its own again.
    RequestRedraw();
    return written;
}
