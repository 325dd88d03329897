#pragma once

#include "LineSeries.h"

#include <QString>
#include <QTimer>
#include <optional>
#include <qcustomplot.h>
#include <vector>

class Backdrop3D;

// The chart the real-time window draws on: line series against the point number, a title, a
// legend of the shown series, axes scaled to the points present, in 2D or in 3D (each series a
// ribbon at its own depth in front of a back wall and floor). Changes are drawn together on a
// short timer, not once per point.
class LineChart : public QCustomPlot {
    Q_OBJECT
public:
    explicit LineChart(QWidget* parent = nullptr);
    ~LineChart() override;

    LineSeries* AddSeries(const QString& title, const QColor& colour);
    const std::vector<LineSeries*>& Series() const { return series_; }

    void SetView3D(bool on);
    bool View3D() const { return view3D_; }

    // The title is one line of text.
    void SetTitle(const QString& text);
    QString TitleFirstLine() const;

    // The index of the last point of the series within the X range as last drawn; -1 when
    // nothing of it was in view or nothing has been drawn yet.
    long long LastVisibleIndex(const LineSeries& series) const;

    // Draws what is pending now rather than on the timer.
    void RedrawNow();

    // Writes the whole chart as an enhanced metafile. False, with the reason in error, when it
    // could not be written; no partial file is left behind.
    bool SaveMetafile(const QString& path, QString& error);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void RequestRedraw();
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
    QTimer redrawTimer_;
    bool redrawPending_ = false;
    bool view3D_ = false;
    bool legendStale_ = true;
    std::optional<double> drawnKeyUpper_;
};
