#pragma once

#include "LineChart.h"

#include <QPoint>
#include <optional>

// A chart the operator moves through: the mouse wheel and + and - zoom the X axis (about the
// pointer, about the middle), a drag or the Left and Right keys move along it; the values fit
// what is shown until the operator moves them too (dragging up or down, Up and Down, the wheel
// with Ctrl). ShowWhole goes back to every point.
class BrowsableChart final : public LineChart {
    Q_OBJECT
public:
    explicit BrowsableChart(QWidget* parent = nullptr);

    void ShowWhole();

signals:
    // The operator zoomed or moved, back to every point with its values fitted or not.
    void viewChanged(bool whole);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // `factor` below 1 zooms in; `centre` stays where it is.
    void ZoomKeys(double factor, double centre);
    void ZoomValues(double factor, double centre);
    // The X range moved so, kept within the points.
    void ShowKeys(QCPRange keys);
    void ShowValues(QCPRange values);

    struct Drag {
        QPoint from;
        QCPRange keys;
        QCPRange values;
    };
    std::optional<Drag> drag_;
};
