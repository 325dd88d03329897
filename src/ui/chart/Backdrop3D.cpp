#include "Backdrop3D.h"

#include "ChartColours.h"

namespace {

const QColor kWallColour(0xB0, 0xB0, 0xB0);
const QColor kEdgeColour(0x60, 0x60, 0x60);

} // namespace

Backdrop3D::Backdrop3D(QCustomPlot* plot, QCPAxisRect* frontPlane)
    : QCPLayerable(plot, QStringLiteral("grid")), frontPlane_(frontPlane) {}

void Backdrop3D::applyDefaultAntialiasingHint(QCPPainter* painter) const {
    applyAntialiasingHint(painter, mAntialiased, QCP::aeGrid);
}

void Backdrop3D::draw(QCPPainter* painter) {
    if (depth_.isNull()) {
        return;
    }
    applyDefaultAntialiasingHint(painter);
    const QRectF front = frontPlane_->rect();
    const QRectF back = front.translated(depth_);
    const QPolygonF floor{front.bottomLeft(), front.bottomRight(), back.bottomRight(),
                          back.bottomLeft()};
    const QPolygonF leftWall{front.topLeft(), front.bottomLeft(), back.bottomLeft(),
                             back.topLeft()};
    painter->setPen(QPen(kEdgeColour, 1));
    painter->setBrush(kWallColour);
    painter->drawPolygon(floor);
    painter->drawPolygon(leftWall);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(back);

    // The grid runs along the floor and the left wall to the back wall, then across it.
    painter->setPen(QPen(kChartGridColour, 0, Qt::DotLine));
    const QCPAxis* keys = frontPlane_->axis(QCPAxis::atBottom);
    const QCPAxis* values = frontPlane_->axis(QCPAxis::atLeft);
    for (const double tick : keys->tickVector()) {
        const double x = keys->coordToPixel(tick);
        if (x <= front.left() || x >= front.right()) {
            continue;
        }
        const QPointF onFloor(x, front.bottom());
        painter->drawLine(QLineF(onFloor, onFloor + depth_));
        painter->drawLine(QLineF(x + depth_.x(), back.top(), x + depth_.x(), back.bottom()));
    }
    for (const double tick : values->tickVector()) {
        const double y = values->coordToPixel(tick);
        if (y <= front.top() || y >= front.bottom()) {
            continue;
        }
        const QPointF onWall(front.left(), y);
        painter->drawLine(QLineF(onWall, onWall + depth_));
        painter->drawLine(QLineF(back.left(), y + depth_.y(), back.right(), y + depth_.y()));
    }
}
