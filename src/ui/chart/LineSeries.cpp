#include "LineSeries.h"

#include "PolylineReduction.h"
#include "Ribbon.h"

#include <cmath>

namespace {

// The ribbon's front edge: the series colour, darker, so the face reads as a surface.
constexpr int kEdgeDarkness = 150;

} // namespace

LineSeries::LineSeries(QCPAxis* keyAxis, QCPAxis* valueAxis, const QString& title,
                       const QColor& colour)
    : QCPAbstractPlottable(keyAxis, valueAxis) {
    setName(title);
    setPen(QPen(colour, 1));
    setBrush(QBrush(colour));
    setSelectable(QCP::stNone);
}

void LineSeries::AddY(float value) {
    points_.Append(value);
    emit changed();
}

void LineSeries::Clear() {
    points_.Clear();
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
    return foundRange ? QCPRange(0, static_cast<double>(points_.Count() - 1)) : QCPRange();
}

QCPRange LineSeries::getValueRange(bool& foundRange, QCP::SignDomain,
                                   const QCPRange& inKeyRange) const {
    std::size_t first = 0;
    std::size_t end = points_.Count();
    if (inKeyRange != QCPRange()) {
        first = inKeyRange.lower <= 0 ? 0 : static_cast<std::size_t>(std::ceil(inKeyRange.lower));
        end = inKeyRange.upper < 0
                  ? 0
                  : std::min(end, static_cast<std::size_t>(std::floor(inKeyRange.upper)) + 1);
    }
    const SeriesPoints::Extent extent =
        first < end ? points_.ExtentOf(first, end) : SeriesPoints::NoExtent();
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
    const QCPRange range = keys->range();
    if (range.upper < 0) {
        return;
    }
    const std::size_t first =
        range.lower <= 0 ? 0 : static_cast<std::size_t>(std::floor(range.lower));
    const std::size_t last =
        std::min(points_.Count() - 1, static_cast<std::size_t>(std::ceil(range.upper)));
    PixelMapping mapping;
    mapping.x0 = keys->coordToPixel(0);
    mapping.xScale = keys->coordToPixel(1) - mapping.x0;
    mapping.y0 = values->coordToPixel(0);
    mapping.yScale = values->coordToPixel(1) - mapping.y0;
    std::vector<QPolygonF> lines = ReducedPolylines(points_, first, last, mapping);

    if (depth_.isNull()) {
        applyDefaultAntialiasingHint(painter);
        painter->setPen(pen());
        painter->setBrush(Qt::NoBrush);
        for (const QPolygonF& line : lines) {
            painter->drawPolyline(line);
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
        painter->drawPolyline(line);
    }
}

void LineSeries::drawLegendIcon(QCPPainter* painter, const QRectF& rect) const {
    applyDefaultAntialiasingHint(painter);
    painter->setPen(QPen(pen().color(), 2));
    painter->drawLine(QLineF(rect.left(), rect.center().y(), rect.right(), rect.center().y()));
}
