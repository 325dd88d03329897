#pragma once

#include <QPainterPath>
#include <QPolygonF>

// The face of a line drawn in 3D: the line swept by `depth`, the screen offset from its front
// edge to its back edge. The path is made of simple polygons that all turn the same way, so a
// winding fill paints exactly their union, in any paint engine.
QPainterPath RibbonPath(const QPolygonF& line, QPointF depth);
