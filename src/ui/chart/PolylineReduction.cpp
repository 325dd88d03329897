#include "PolylineReduction.h"

#include <cmath>

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

constexpr double kMostPointsPerColumn = 2.0;

} // namespace

std::vector<QPolygonF> ReducedPolylines(const SeriesPoints& points, std::size_t first,
                                        std::size_t last, const PixelMapping& mapping) {
    LineCollector lines;
    if (points.Count() == 0 || first > last || first >= points.Count()) {
        return lines.Take();
    }
    if (last >= points.Count()) {
        last = points.Count() - 1;
    }
    const double pointsPerColumn = 1.0 / std::abs(mapping.xScale);
    if (!std::isfinite(pointsPerColumn) || pointsPerColumn <= kMostPointsPerColumn) {
        for (std::size_t index = first; index <= last; ++index) {
            const float value = points.At(index);
            if (std::isfinite(value)) {
                lines.Add(mapping.X(static_cast<double>(index)), mapping.Y(value));
            } else {
                lines.Break();
            }
        }
        return lines.Take();
    }

    const std::size_t count = last - first + 1;
    for (std::size_t column = 0;; ++column) {
        const auto begin = static_cast<std::size_t>(std::floor(column * pointsPerColumn));
        if (begin >= count) {
            break;
        }
        const auto end =
            std::min(count, static_cast<std::size_t>(std::floor((column + 1) * pointsPerColumn)));
        const std::size_t a = first + begin;
        const std::size_t b = first + end - 1;
        const SeriesPoints::Extent extent = points.ExtentOf(a, b + 1);
        if (extent.Empty()) {
            lines.Break();
            continue;
        }
        const float opening = points.At(a);
        const float closing = points.At(b);
        const double xa = mapping.X(static_cast<double>(a));
        const double xb = mapping.X(static_cast<double>(b));
        if (std::isfinite(opening)) {
            lines.Add(xa, mapping.Y(opening));
        }
        // Visit the extremes in the order that leads towards the closing value.
        const bool rising =
            !std::isfinite(opening) || !std::isfinite(closing) || closing >= opening;
        lines.Add(xa, mapping.Y(rising ? extent.low : extent.high));
        lines.Add(xa, mapping.Y(rising ? extent.high : extent.low));
        if (std::isfinite(closing)) {
            lines.Add(xb, mapping.Y(closing));
        }
    }
    return lines.Take();
}
