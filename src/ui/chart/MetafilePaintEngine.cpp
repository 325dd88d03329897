#include "MetafilePaintEngine.h"

#include "RectClipping.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPainterPath>
#include <cmath>
#include <vector>

namespace {

constexpr double kUnits = MetafilePaintEngine::kUnitsPerPixel;

MetafileRecorder::Point ToUnits(QPointF point) {
    return {static_cast<std::int32_t>(std::lround(point.x() * kUnits)),
            static_cast<std::int32_t>(std::lround(point.y() * kUnits))};
}

std::uint32_t ColourRef(const QColor& colour) {
    const QRgb rgb = colour.rgb();
    return static_cast<std::uint32_t>(qRed(rgb)) | static_cast<std::uint32_t>(qGreen(rgb)) << 8 |
           static_cast<std::uint32_t>(qBlue(rgb)) << 16;
}

// The colour a brush paints with; gradients and patterns become their first colour.
std::optional<QColor> BrushColour(const QBrush& brush) {
    if (brush.style() == Qt::NoBrush) {
        return std::nullopt;
    }
    QColor colour = brush.color();
    if (const QGradient* gradient = brush.gradient(); gradient && !gradient->stops().isEmpty()) {
        colour = gradient->stops().first().second;
    }
    if (colour.alpha() == 0) {
        return std::nullopt;
    }
    return colour;
}

MetafileRecorder::LineStyle LineStyleOf(Qt::PenStyle style) {
    switch (style) {
    case Qt::DashLine:
    case Qt::CustomDashLine:
        return MetafileRecorder::LineStyle::Dash;
    case Qt::DotLine:
        return MetafileRecorder::LineStyle::Dot;
    case Qt::DashDotLine:
        return MetafileRecorder::LineStyle::DashDot;
    case Qt::DashDotDotLine:
        return MetafileRecorder::LineStyle::DashDotDot;
    default:
        return MetafileRecorder::LineStyle::Solid;
    }
}

MetafileRecorder::LineCap LineCapOf(Qt::PenCapStyle cap) {
    switch (cap) {
    case Qt::FlatCap:
        return MetafileRecorder::LineCap::Flat;
    case Qt::RoundCap:
        return MetafileRecorder::LineCap::Round;
    default:
        return MetafileRecorder::LineCap::Square;
    }
}

MetafileRecorder::LineJoin LineJoinOf(Qt::PenJoinStyle join) {
    switch (join) {
    case Qt::MiterJoin:
    case Qt::SvgMiterJoin:
        return MetafileRecorder::LineJoin::Miter;
    case Qt::RoundJoin:
        return MetafileRecorder::LineJoin::Round;
    default:
        return MetafileRecorder::LineJoin::Bevel;
    }
}

std::vector<MetafileRecorder::Point> ToUnits(const QPolygonF& polygon) {
    std::vector<MetafileRecorder::Point> points;
    points.reserve(static_cast<std::size_t>(polygon.size()));
    for (const QPointF& point : polygon) {
        points.push_back(ToUnits(point));
    }
    return points;
}

// Steps from each UTF-16 unit of text to the next in logical units, adding up to width: the
// widths the text was laid out with, spread over its characters by their own advances.
std::vector<std::int32_t> Advances(const QString& text, const QFontMetricsF& metrics,
                                   double width) {
    std::vector<double> natural(static_cast<std::size_t>(text.size()), 0.0);
    double total = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        natural[static_cast<std::size_t>(i)] = metrics.horizontalAdvance(text.mid(i, length));
        total += natural[static_cast<std::size_t>(i)];
        i += length - 1;
    }
    const double stretch = total > 0 ? width / total : 1.0;
    std::vector<std::int32_t> steps(natural.size());
    double position = 0;
    std::int64_t placed = 0;
    for (std::size_t i = 0; i < natural.size(); ++i) {
        position += natural[i] * stretch * kUnits;
        const std::int64_t next = std::llround(position);
        steps[i] = static_cast<std::int32_t>(next - placed);
        placed = next;
    }
    return steps;
}

} // namespace

MetafilePaintEngine::MetafilePaintEngine(QString path, QSize size)
    // Everything comes here, so the painter never hands over a shape as a bitmap.
    : QPaintEngine(QPaintEngine::AllFeatures), path_(std::move(path)), size_(size) {}

bool MetafilePaintEngine::begin(QPaintDevice*) {
    std::string error;
    error_.clear();
    if (!recorder_.Open(path_.toStdString(), size_.width() * kUnitsPerPixel,
                        size_.height() * kUnitsPerPixel, kDotsPerInch * kUnitsPerPixel, error)) {
        error_ = QString::fromStdString(error);
        return false;
    }
    transform_ = QTransform();
    pen_ = QPen();
    brush_ = QBrush();
    clip_.reset();
    clipArea_.reset();
    return true;
}

bool MetafilePaintEngine::end() {
    std::string error;
    if (!recorder_.Close(error)) {
        error_ = QString::fromStdString(error);
        return false;
    }
    return true;
}

void MetafilePaintEngine::updateState(const QPaintEngineState& state) {
    const DirtyFlags flags = state.state();
    if (flags & DirtyTransform) {
        transform_ = state.transform();
    }
    if (flags & DirtyPen) {
        pen_ = state.pen();
    }
    if (flags & DirtyBrush) {
        brush_ = state.brush();
    }
    if (flags & DirtyFont) {
        font_ = state.font();
    }
    if (flags & (DirtyClipRegion | DirtyClipPath)) {
        // The clip comes in the coordinates in force when it was set.
        const QRectF area =
            transform_.mapRect((flags & DirtyClipPath) ? state.clipPath().boundingRect()
                                                       : QRectF(state.clipRegion().boundingRect()));
        switch (state.clipOperation()) {
        case Qt::NoClip:
            clipArea_.reset();
            break;
        case Qt::ReplaceClip:
            clipArea_ = area;
            break;
        case Qt::IntersectClip:
            clipArea_ = clipArea_ ? clipArea_->intersected(area) : area;
            break;
        }
        clip_ = clipArea_;
    }
    if (flags & DirtyClipEnabled) {
        clip_ = state.isClipEnabled() ? clipArea_ : std::nullopt;
    }
}

double MetafilePaintEngine::TransformScale() const {
    return std::sqrt(std::abs(transform_.determinant()));
}

bool MetafilePaintEngine::SelectPen() {
    if (pen_.style() == Qt::NoPen || pen_.color().alpha() == 0) {
        return false;
    }
    double width = pen_.widthF();
    if (width == 0) {
        width = 1;
    } else if (!pen_.isCosmetic()) {
        width *= TransformScale();
    }
    MetafileRecorder::Pen pen;
    pen.colour = ColourRef(pen_.color());
    pen.width = std::max<std::int32_t>(1, static_cast<std::int32_t>(std::lround(width * kUnits)));
    pen.style = LineStyleOf(pen_.style());
    pen.cap = LineCapOf(pen_.capStyle());
    pen.join = LineJoinOf(pen_.joinStyle());
    recorder_.SelectPen(&pen);
    return true;
}

bool MetafilePaintEngine::SelectBrush() {
    const std::optional<QColor> colour = BrushColour(brush_);
    if (!colour) {
        return false;
    }
    const std::uint32_t reference = ColourRef(*colour);
    recorder_.SelectBrush(&reference);
    recorder_.SelectPen(nullptr);
    return true;
}

void MetafilePaintEngine::Fill(const QList<QPolygonF>& polygons, Qt::FillRule rule) {
    if (!SelectBrush()) {
        return;
    }
    std::vector<MetafileRecorder::Point> points;
    std::vector<std::int32_t> counts;
    for (const QPolygonF& polygon : polygons) {
        const QPolygonF kept = clip_ && !clip_->contains(polygon.boundingRect())
                                   ? ClipPolygon(polygon, *clip_)
                                   : polygon;
        if (kept.size() < 3) {
            continue;
        }
        for (const QPointF& point : kept) {
            points.push_back(ToUnits(point));
        }
        counts.push_back(static_cast<std::int32_t>(kept.size()));
    }
    recorder_.PolyPolygon(points.data(), counts.data(), counts.size(), rule == Qt::WindingFill);
}

void MetafilePaintEngine::Stroke(const QList<QPolygonF>& polygons, bool closed) {
    if (!SelectPen()) {
        return;
    }
    auto draw = [this](const QPolygonF& line) {
        const std::vector<MetafileRecorder::Point> points = ToUnits(line);
        recorder_.Polyline(points.data(), points.size());
    };
    for (QPolygonF line : polygons) {
        if (closed && !line.isEmpty() && line.first() != line.last()) {
            line.append(line.first());
        }
        if (line.size() < 2) {
            continue;
        }
        if (!clip_ || clip_->contains(line.boundingRect())) {
            draw(line);
            continue;
        }
        for (const QPolygonF& piece : ClipPolyline(line, *clip_)) {
            draw(piece);
        }
    }
}

void MetafilePaintEngine::drawPath(const QPainterPath& path) {
    const QList<QPolygonF> polygons = path.toSubpathPolygons(transform_);
    Fill(polygons, path.fillRule());
    Stroke(polygons, false);
}

void MetafilePaintEngine::drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) {
    QPolygonF polygon;
    polygon.reserve(count);
    for (int i = 0; i < count; ++i) {
        polygon.append(transform_.map(points[i]));
    }
    if (mode == PolylineMode) {
        Stroke({polygon}, false);
        return;
    }
    Fill({polygon}, mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
    Stroke({polygon}, true);
}

void MetafilePaintEngine::drawLines(const QLineF* lines, int count) {
    QList<QPolygonF> polylines;
    polylines.reserve(count);
    for (int i = 0; i < count; ++i) {
        polylines.append(QPolygonF{transform_.map(lines[i].p1()), transform_.map(lines[i].p2())});
    }
    Stroke(polylines, false);
}

void MetafilePaintEngine::drawRects(const QRectF* rects, int count) {
    QList<QPolygonF> polygons;
    polygons.reserve(count);
    for (int i = 0; i < count; ++i) {
        polygons.append(transform_.map(QPolygonF(rects[i])));
    }
    Fill(polygons, Qt::OddEvenFill);
    Stroke(polygons, true);
}

void MetafilePaintEngine::drawTextItem(const QPointF& origin, const QTextItem& item) {
    const QString text = item.text();
    if (text.isEmpty() || pen_.style() == Qt::NoPen || pen_.color().alpha() == 0) {
        return;
    }
    const QRectF layoutBox(origin.x(), origin.y() - item.ascent(), item.width(),
                           item.ascent() + item.descent());
    const QRectF box = transform_.mapRect(layoutBox);
    if (clip_ && !clip_->intersects(box)) {
        return;
    }
    const QFont font = item.font();
    const double scale = TransformScale();
    const double pixelSize =
        font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * kDotsPerInch / 72.0;
    MetafileRecorder::Font record;
    record.family = font.family().toStdU16String();
    record.height = std::max(1, static_cast<int>(std::lround(pixelSize * scale * kUnits)));
    record.weight = font.weight();
    record.italic = font.italic();
    record.underline = font.underline();
    record.strikeOut = font.strikeOut();
    double angle = QLineF(transform_.map(QPointF(0, 0)), transform_.map(QPointF(1, 0))).angle();
    if (angle > 180) {
        angle -= 360;
    }
    record.escapement = static_cast<std::int32_t>(std::lround(angle * 10));
    recorder_.SelectFont(record);

    const std::vector<std::int32_t> steps =
        Advances(text, QFontMetricsF(font, paintDevice()), item.width() * scale);
    std::optional<MetafileRecorder::Rect> clip;
    if (clip_ && !clip_->contains(box)) {
        const MetafileRecorder::Point topLeft = ToUnits(clip_->topLeft());
        const MetafileRecorder::Point bottomRight = ToUnits(clip_->bottomRight());
        clip = MetafileRecorder::Rect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    }
    recorder_.Text(ToUnits(transform_.map(origin)), text.toStdU16String(), steps.data(),
                   ColourRef(pen_.color()), clip ? &*clip : nullptr);
}

void MetafilePaintEngine::drawPixmap(const QRectF&, const QPixmap&, const QRectF&) {
    // The metafile library writes no bitmaps; the chart draws none.
}
