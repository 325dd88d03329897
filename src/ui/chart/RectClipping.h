#pragma once

#include <QPolygonF>
#include <QRectF>
#include <vector>

// Cuts shapes to a rectangle, for output that cannot clip by itself.

// The pieces of an open line that lie inside clip, in order.
std::vector<QPolygonF> ClipPolyline(const QPolygonF& line, const QRectF& clip);

// The part of a polygon (open or closed, any shape) that lies inside clip. The result turns the
// same way as the polygon, so filling it by either rule paints what the polygon paints inside
// clip; it may run along the edges of clip.
QPolygonF ClipPolygon(const QPolygonF& polygon, const QRectF& clip);
