#pragma once

#include "PointKeys.h"
#include "SeriesPoints.h"

#include <QColor>
#include <QPointF>
#include <QString>
#include <qcustomplot.h>
#include <span>

// One line of the chart: points whose X values are the chart's keys (by default the number of
// points the series held when each was added), drawn without markers, flat in 2D or as a ribbon
// in 3D.
class LineSeries final : public QCPAbstractPlottable {
    Q_OBJECT
public:
    LineSeries(QCPAxis* keyAxis, QCPAxis* valueAxis, const PointKeys& keys, const QString& title,
               const QColor& colour);

    // Adds a point with this Y value; its X value is the key of its index.
    void AddY(float value);
    // Adds a point for each value, with one notice of the change.
    void AddY(std::span<const float> values);
    void Clear();
    // Empties the series and gives its memory back.
    void Release();
    std::size_t Count() const { return points_.Count(); }
    float YValue(std::size_t index) const { return points_.At(index); }
    const SeriesPoints& Points() const { return points_; }

    // A hidden series keeps its points and keeps receiving new ones.
    void SetActive(bool active);
    bool Active() const { return visible(); }

    QString Title() const { return name(); }
    QColor Colour() const { return pen().color(); }

    // Where the 3D ribbon goes: the screen offset of its front edge from the chart's front
    // plane, and from its front edge to its back edge. A null depth draws a flat line.
    void SetPlacement(QPointF front, QPointF depth);

    double selectTest(const QPointF& pos, bool onlySelectable,
                      QVariant* details = nullptr) const override;
    QCPRange getKeyRange(bool& foundRange,
                         QCP::SignDomain inSignDomain = QCP::sdBoth) const override;
    QCPRange getValueRange(bool& foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth,
                           const QCPRange& inKeyRange = QCPRange()) const override;

signals:
    // Points were added or removed, or the series was shown or hidden.
    void changed();
    void activeChanged();

protected:
    void draw(QCPPainter* painter) override;
    void drawLegendIcon(QCPPainter* painter, const QRectF& rect) const override;
    QRect clipRect() const override;

private:
    const PointKeys& keys_;
    SeriesPoints points_;
    QPointF front_;
    QPointF depth_;
};
