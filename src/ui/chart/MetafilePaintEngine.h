#pragma once

#include "MetafileRecorder.h"

#include <QBrush>
#include <QFont>
#include <QPaintEngine>
#include <QPen>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <optional>

// Turns QPainter calls into metafile records: paths, polygons, lines and rectangles with their
// pen and solid fill, text with its font and colour, each cut to the painter's clip rectangle
// here because the metafile library offers no clipping of its own. Gradients fill with their
// first colour; bitmaps are left out.
class MetafilePaintEngine final : public QPaintEngine {
public:
    // Logical units of the file per pixel: finer than a pixel, so lines keep their positions.
    static constexpr int kUnitsPerPixel = 10;
    static constexpr int kDotsPerInch = 96;

    MetafilePaintEngine(QString path, QSize size);

    bool begin(QPaintDevice* device) override;
    bool end() override;
    void updateState(const QPaintEngineState& state) override;

    void drawPath(const QPainterPath& path) override;
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override;
    void drawLines(const QLineF* lines, int count) override;
    void drawRects(const QRectF* rects, int count) override;
    void drawTextItem(const QPointF& origin, const QTextItem& item) override;
    void drawPixmap(const QRectF& target, const QPixmap& pixmap, const QRectF& source) override;

    Type type() const override { return QPaintEngine::User; }

    QString Error() const { return error_; }

private:
    // Fills the polygons (in device pixels) with the brush by the given rule, then outlines
    // each one when closed is set, or draws each as an open line otherwise.
    void Fill(const QList<QPolygonF>& polygons, Qt::FillRule rule);
    void Stroke(const QList<QPolygonF>& polygons, bool closed);
    bool SelectPen();
    bool SelectBrush();
    double TransformScale() const;

    QString path_;
    QSize size_;
    MetafileRecorder recorder_;
    QString error_;

    QTransform transform_;
    QPen pen_;
    QBrush brush_;
    QFont font_;
    std::optional<QRectF> clipArea_; // as set, in device pixels
    std::optional<QRectF> clip_;     // in force: the area while clipping is on
};
