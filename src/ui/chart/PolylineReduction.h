#pragma once

#include "SeriesPoints.h"

#include <QPolygonF>
#include <vector>

// Where a point lands on the screen: x = x0 + index * xScale, y = y0 + value * yScale.
struct PixelMapping {
    double x0 = 0;
    double xScale = 1;
    double y0 = 0;
    double yScale = 1;

    double X(double index) const { return x0 + index * xScale; }
    double Y(double value) const { return y0 + value * yScale; }
};

// The lines that draw points first .. last of a series. While the points are no denser than
// about two per pixel column every point is kept; beyond that each pixel column keeps its first,
// lowest, highest and last point, which covers the same pixels as drawing them all, at a cost set
// by the width of the chart rather than by the number of points. A value that is not finite
// breaks the line.
std::vector<QPolygonF> ReducedPolylines(const SeriesPoints& points, std::size_t first,
                                        std::size_t last, const PixelMapping& mapping);
