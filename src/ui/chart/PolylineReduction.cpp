#include "PolylineReduction.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Collects points into lines, starting a new line after a gap.
class LineCollector {
public:
    void Add(double x, double y) { current_.append(QPointF(x, y)); }
    void Break() {
        if (!current_.isEmpty()) {
            lines_.push_back(std::move(current_));
            current_ = QPolygonF();
        }
    }
    std::vector<QPolygonF> Take() {
        Break();
        return std::move(lines_);
    }

private:
    QPolygonF current_;
    std::vector<QPolygonF> lines_;
};

// Columns with more points than this keep only their first, extremes and last.
constexpr std::size_t kMostPointsKept = 2;

// Points a .. b, which fall into one pixel column.
void AddColumn(LineCollector& lines, const SeriesPoints& points, const PointKeys& keys,
               std::size_t a, std::size_t b, const PixelMapping& mapping) {
    if (b - a < kMostPointsKept) {
        for (std::size_t index = a; index <= b; ++index) {
            const float value = points.At(index);
            if (std::isfinite(value)) {
                lines.Add(mapping.X(keys.At(index)), mapping.Y(value));
            } else {
                lines.Break();
            }
        }
        return;
    }
    const SeriesPoints::Extent extent = points.ExtentOf(a, b + 1);
    if (extent.Empty()) {
        lines.Break();
        return;
    }
    const double xa = mapping.X(keys.At(a));
    const float opening = points.At(a);
    const float closing = points.At(b);
    if (std::isfinite(opening)) {
        lines.Add(xa, mapping.Y(opening));
    }
    // Visit the extremes in the order that leads towards the closing value.
    const bool rising = !std::isfinite(opening) || !std::isfinite(closing) || closing >= opening;
    lines.Add(xa, mapping.Y(rising ? extent.low : extent.high));
    lines.Add(xa, mapping.Y(rising ? extent.high : extent.low));
    if (std::isfinite(closing)) {
        lines.Add(mapping.X(keys.At(b)), mapping.Y(closing));
    }
}

} // namespace

std::vector<QPolygonF> ReducedPolylines(const SeriesPoints& points, const PointKeys& keys,
                                        std::size_t first, std::size_t last,
                                        const PixelMapping& mapping) {
    LineCollector lines;
    if (points.Count() == 0 || first > last || first >= points.Count()) {
        return lines.Take();
    }
    last = std::min(last, points.Count() - 1);
    for (std::size_t a = first; a <= last;) {
        // The points of a's pixel column: those whose keys lie before the key of the column's
        // far edge (the left one when the axis runs right to left; none on an axis with no width).
        const double column = std::floor(mapping.X(keys.At(a)));
        double edge = std::numeric_limits<double>::infinity();
        if (mapping.xScale > 0) {
            edge = (column + 1 - mapping.x0) / mapping.xScale;
        } else if (mapping.xScale < 0) {
            edge = (column - mapping.x0) / mapping.xScale;
        }
        const std::size_t b = std::max(a, keys.LastBelow(edge, a, last));
        AddColumn(lines, points, keys, a, b, mapping);
        a = b + 1;
    }
    return lines.Take();
}
