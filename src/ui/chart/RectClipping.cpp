#include "RectClipping.h"

#include <array>
#include <functional>

namespace {

// The parameters t0 <= t1 of the part of segment a + t (b - a), 0 <= t <= 1, inside clip;
// false when no part is inside.
bool ClipSegment(QPointF a, QPointF b, const QRectF& clip, double& t0, double& t1) {
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const std::array<double, 4> p{-dx, dx, -dy, dy};
    const std::array<double, 4> q{a.x() - clip.left(), clip.right() - a.x(), a.y() - clip.top(),
                                  clip.bottom() - a.y()};
    t0 = 0;
    t1 = 1;
    for (std::size_t i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return false;
        }
    }
    return true;
}

QPointF Along(QPointF a, QPointF b, double t) {
    return a + (b - a) * t;
}

// One pass of polygon clipping against the half-plane where inside() holds.
QPolygonF ClipAgainst(const QPolygonF& polygon, const std::function<bool(QPointF)>& inside,
                      const std::function<QPointF(QPointF, QPointF)>& crossing) {
    QPolygonF out;
    if (polygon.isEmpty()) {
        return out;
    }
    QPointF previous = polygon.last();
    bool previousInside = inside(previous);
    for (const QPointF& current : polygon) {
        const bool currentInside = inside(current);
        if (currentInside != previousInside) {
            out.append(crossing(previous, current));
        }
        if (currentInside) {
            out.append(current);
        }
        previous = current;
        previousInside = currentInside;
    }
    return out;
}

} // namespace

std::vector<QPolygonF> ClipPolyline(const QPolygonF& line, const QRectF& clip) {
    std::vector<QPolygonF> pieces;
    QPolygonF current;
    for (qsizetype i = 1; i < line.size(); ++i) {
        const QPointF a = line[i - 1];
        const QPointF b = line[i];
        double t0 = 0;
        double t1 = 0;
        if (!ClipSegment(a, b, clip, t0, t1)) {
            if (!current.isEmpty()) {
                pieces.push_back(std::move(current));
                current = QPolygonF();
            }
            continue;
        }
        const QPointF start = Along(a, b, t0);
        if (current.isEmpty() || t0 > 0) {
            if (!current.isEmpty()) {
                pieces.push_back(std::move(current));
                current = QPolygonF();
            }
            current.append(start);
        }
        current.append(Along(a, b, t1));
        if (t1 < 1) {
            pieces.push_back(std::move(current));
            current = QPolygonF();
        }
    }
    if (current.size() > 1) {
        pieces.push_back(std::move(current));
    }
    return pieces;
}

QPolygonF ClipPolygon(const QPolygonF& polygon, const QRectF& clip) {
    const double left = clip.left();
    const double right = clip.right();
    const double top = clip.top();
    const double bottom = clip.bottom();
    auto atX = [](double x) {
        return [x](QPointF a, QPointF b) {
            return QPointF(x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x()));
        };
    };
    auto atY = [](double y) {
        return [y](QPointF a, QPointF b) {
            return QPointF(a.x() + (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()), y);
        };
    };
    QPolygonF out = ClipAgainst(
        polygon, [left](QPointF p) { return p.x() >= left; }, atX(left));
    out = ClipAgainst(
        out, [right](QPointF p) { return p.x() <= right; }, atX(right));
    out = ClipAgainst(
        out, [top](QPointF p) { return p.y() >= top; }, atY(top));
    out = ClipAgainst(
        out, [bottom](QPointF p) { return p.y() <= bottom; }, atY(bottom));
    return out;
}
