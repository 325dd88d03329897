#pragma once

#include <QList>
#include <QPolygonF>

// The face of a line drawn in 3D: the line swept by `depth`, the screen offset from its front
// edge to its back edge, as simple polygons that all turn the same way. Filled one by one in
// one colour they paint exactly the swept face; one polygon per run of segments that cross
// the depth direction the same way keeps their number low.
QList<QPolygonF> RibbonPolygons(const QPolygonF& line, QPointF depth);
