#include "Ribbon.h"

#include <algorithm>

namespace {

double Cross(QPointF a, QPointF b) {
    return a.x() * b.y() - a.y() * b.x();
}

// Points line[from] .. line[to] and the same points moved by depth, back to front: one simple
// polygon when every segment between them lies on the same side of the depth direction.
void AddSweep(QList<QPolygonF>& polygons, const QPolygonF& line, qsizetype from, qsizetype to,
              QPointF depth, bool reversed) {
    QPolygonF polygon;
    polygon.reserve(2 * (to - from + 1));
    for (qsizetype i = from; i <= to; ++i) {
        polygon.append(line[i]);
    }
    for (qsizetype i = to; i >= from; --i) {
        polygon.append(line[i] + depth);
    }
    if (reversed) {
        std::reverse(polygon.begin(), polygon.end());
    }
    polygons.append(std::move(polygon));
}

} // namespace

QList<QPolygonF> RibbonPolygons(const QPolygonF& line, QPointF depth) {
    QList<QPolygonF> polygons;
    if (line.size() < 2) {
        return polygons;
    }
    // A run of segments that all cross the depth direction the same way sweeps a simple
    // polygon; the sign of the run sets which way round it is walked.
    qsizetype runStart = 0;
    int runSign = 0;
    for (qsizetype i = 1; i < line.size(); ++i) {
        const double cross = Cross(line[i] - line[i - 1], depth);
        const int sign = cross > 0 ? 1 : (cross < 0 ? -1 : 0);
        if (sign != 0 && runSign != 0 && sign != runSign) {
            AddSweep(polygons, line, runStart, i - 1, depth, runSign < 0);
            runStart = i - 1;
        }
        if (sign != 0) {
            runSign = sign;
        }
    }
    AddSweep(polygons, line, runStart, line.size() - 1, depth, runSign < 0);
    return polygons;
}
