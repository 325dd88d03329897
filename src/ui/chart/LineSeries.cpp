#include "LineSeries.h"

#include "PolylineReduction.h"
#include "Ribbon.h"

#include <cmath>

namespace {

// The ribbon's front edge: the series colour, darker, so the face reads as a surface.
constexpr int kEdgeDarkness = 150;

// A line of one point, a reading alone between two gaps, shows as a dot a pixel wide.
void DrawPolyline(QCPPainter* painter, const QPolygonF& line) {
    if (line.size() == 1) {
        painter->drawLine(QLineF(line[0], line[0] + QPointF(1, 0)));
    } else {
        painter->drawPolyline(line);
    }
}

} // namespace

LineSeries::LineSeries(QCPAxis* keyAxis, QCPAxis* valueAxis, const PointKeys& keys,
                       const QString& title, const QColor& colour)
    : QCPAbstractPlottable(keyAxis, valueAxis), keys_(keys) {
    setName(title);
    setPen(QPen(colour, 1));
    setBrush(QBrush(colour));
    setSelectable(QCP::stNone);
}

void LineSeries::AddY(float value) {
    points_.Append(value);
    emit changed();
}

void LineSeries::AddY(std::span<const float> values) {
    for (const float value : values) {
        points_.Append(value);
    }
    emit changed();
}

void LineSeries::Clear() {
    points_.Clear();
    emit changed();
}

void LineSeries::Release() {
    points_.Release();
    emit changed();
}

void LineSeries::SetActive(bool active) {
    if (active != visible()) {
        setVisible(active);
        emit activeChanged();
        emit changed();
    }
}

void LineSeries::SetPlacement(QPointF front, QPointF depth) {
    front_ = front;
    depth_ = depth;
}

double LineSeries::selectTest(const QPointF&, bool, QVariant*) const {
    return -1;
}

QCPRange LineSeries::getKeyRange(bool& foundRange, QCP::SignDomain) const {
    foundRange = points_.Count() > 0;
    const PointKeys::Span span = keys_.SpanOf(points_.Count());
    return foundRange ? QCPRange(span.lowest, span.highest) : QCPRange();
}

QCPRange LineSeries::getValueRange(bool& foundRange, QCP::SignDomain,
                                   const QCPRange& inKeyRange) const {
    const PointKeys::Span span = keys_.SpanOf(points_.Count());
    const QCPRange keys =
        inKeyRange == QCPRange() ? QCPRange(span.lowest, span.highest) : inKeyRange;
    SeriesPoints::Extent extent = SeriesPoints::NoExtent();
    for (const PointKeys::Range range : keys_.Within(keys.lower, keys.upper, points_.Count())) {
        extent.Include(points_.ExtentOf(range.first, range.last + 1));
    }
    foundRange = !extent.Empty();
    return foundRange ? QCPRange(extent.low, extent.high) : QCPRange();
}

QRect LineSeries::clipRect() const {
    const QRect plane = QCPAbstractPlottable::clipRect();
    if (depth_.isNull()) {
        return plane;
    }
    return plane.united(QRectF(plane).translated(front_ + depth_).toAlignedRect());
}

void LineSeries::draw(QCPPainter* painter) {
    const QCPAxis* keys = keyAxis();
    const QCPAxis* values = valueAxis();
    if (keys == nullptr || values == nullptr || points_.Count() == 0) {
        return;
    }
    PixelMapping mapping;
    mapping.x0 = keys->coordToPixel(0);
    mapping.xScale = keys->coordToPixel(1) - mapping.x0;
    mapping.y0 = values->coordToPixel(0);
    mapping.yScale = values->coordToPixel(1) - mapping.y0;
    const QCPRange range = keys->range();
    std::vector<QPolygonF> lines;
    for (const PointKeys::Range line : keys_.LinesThrough(range.lower, range.upper, Count())) {
        std::vector<QPolygonF> drawn =
            ReducedPolylines(points_, keys_, line.first, line.last, mapping);
        std::move(drawn.begin(), drawn.end(), std::back_inserter(lines));
    }

    if (depth_.isNull()) {
        applyDefaultAntialiasingHint(painter);
        painter->setPen(pen());
        painter->setBrush(Qt::NoBrush);
        for (const QPolygonF& line : lines) {
            DrawPolyline(painter, line);
        }
        return;
    }
    const QPen edge(pen().color().darker(kEdgeDarkness), 1);
    for (QPolygonF& line : lines) {
        line.translate(front_);
        applyFillAntialiasingHint(painter);
        painter->setPen(Qt::NoPen);
        painter->setBrush(brush());
        // One polygon at a time: far cheaper to fill than one path of many.
        for (const QPolygonF& face : RibbonPolygons(line, depth_)) {
            painter->drawPolygon(face);
        }
        applyDefaultAntialiasingHint(painter);
        painter->setPen(edge);
        DrawPolyline(painter, line);
    }
}

void LineSeries::drawLegendIcon(QCPPainter* painter, const QRectF& rect) const {
    applyDefaultAntialiasingHint(painter);
    painter->setPen(QPen(pen().color(), 2));
    painter->drawLine(QLineF(rect.left(), rect.center().y(), rect.right(), rect.center().y()));
}
