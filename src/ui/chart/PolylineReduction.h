#pragma once

#include "PointKeys.h"
#include "SeriesPoints.h"

#include <QPolygonF>
#include <vector>

// Where a point lands on the screen: x = x0 + key * xScale, y = y0 + value * yScale.
struct PixelMapping {
    double x0 = 0;
    double xScale = 1;
    double y0 = 0;
    double yScale = 1;

    double X(double key) const { return x0 + key * xScale; }
    double Y(double value) const { return y0 + value * yScale; }
};

// The lines that draw points first .. last of a series, whose keys ascend. A pixel column with
// at most two points keeps them all; a denser one keeps its first, lowest, highest and last
// point, which covers the same pixels as drawing them all, at a cost set by the width of the
// chart rather than by the number of points. A value that is not finite breaks the line.
std::vector<QPolygonF> ReducedPolylines(const SeriesPoints& points, const PointKeys& keys,
                                        std::size_t first, std::size_t last,
                                        const PixelMapping& mapping);
