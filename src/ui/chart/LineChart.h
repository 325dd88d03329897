#pragma once

#include "LineSeries.h"

#include <QString>
#include <QTimer>
#include <optional>
#include <qcustomplot.h>
#include <vector>

class Backdrop3D;

// The chart the real-time window draws on: line series against the point number or against
// time, a title, a legend of the shown series, axes scaled to the points present (or to the part
// chosen to be shown), in 2D or in 3D (each series a ribbon at its own depth in front of a back
// wall and floor). Changes are drawn together on a short timer, not once per point.
class LineChart : public QCustomPlot {
    Q_OBJECT
public:
    explicit LineChart(QWidget* parent = nullptr);
    ~LineChart() override;

    LineSeries* AddSeries(const QString& title, const QColor& colour);
    const std::vector<LineSeries*>& Series() const { return series_; }

    // The X values every series shares: the point number until keys are appended.
    PointKeys& Keys() { return keys_; }
    // The X axis reads the keys as times (seconds since 1970 on the clock that wrote them, no
    // time zone), dates with that separator, or as point numbers.
    void UseTimeAxis(QChar dateSeparator, QChar timeSeparator);
    void UsePointNumberAxis();

    void SetView3D(bool on);
    bool View3D() const { return view3D_; }

    // The title is one line of text.
    void SetTitle(const QString& text);
    QString TitleFirstLine() const;

    // The points of the series within the X range as last drawn, in their order; none when
    // nothing has been drawn yet.
    std::vector<PointKeys::Range> ShownPoints(const LineSeries& series) const;
    // The index of the last of them; -1 when there is none.
    long long LastVisibleIndex(const LineSeries& series) const;

    // Draws what is pending now rather than on the timer.
    void RedrawNow();

    // Writes the whole chart as an enhanced metafile. False, with the reason in error, when it
    // could not be written; no partial file is left behind.
    bool SaveMetafile(const QString& path, QString& error);

protected:
    void showEvent(QShowEvent* event) override;
    void RequestRedraw();

    // What is shown: the X range of every point, or the one given; the values scaled to what
    // lies in that range, or the range given.
    QCPRange WholeKeyRange() const;
    // The X range shown, or to be shown at the next redraw.
    QCPRange KeyView() const { return keyView_.value_or(WholeKeyRange()); }
    void SetKeyView(std::optional<QCPRange> keys);
    void SetValueView(std::optional<QCPRange> values);
    std::optional<QCPRange> ValueView() const { return valueView_; }

private:
    void OnRedrawTimer();
    // Scales the axes to the points present and lays out the 3D view.
    void PrepareDrawing();
    void ScaleAxes();
    void PlaceRibbons();
    void UpdateLegend();
    void StackSeries();

    QCPTextElement* title_ = nullptr;
    Backdrop3D* backdrop_ = nullptr;
    std::vector<LineSeries*> series_;
    PointKeys keys_;
    std::optional<QCPRange> keyView_;
    std::optional<QCPRange> valueView_;
    QTimer redrawTimer_;
    bool redrawPending_ = false;
    bool view3D_ = false;
    bool legendStale_ = true;
    std::optional<QCPRange> drawnKeys_;
};
