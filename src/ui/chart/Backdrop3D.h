#pragma once

#include <QPointF>
#include <qcustomplot.h>

// The box a 3D chart stands in: a floor and a left wall receding from the axes to a back wall,
// with the grid carried on them. The back wall is left unfilled. Drawn only while it has depth.
class Backdrop3D final : public QCPLayerable {
    Q_OBJECT
public:
    Backdrop3D(QCustomPlot* plot, QCPAxisRect* frontPlane);

    // The screen offset from the front plane to the back wall; null hides the box.
    void SetDepth(QPointF depth) { depth_ = depth; }

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override;
    void draw(QCPPainter* painter) override;

private:
    QCPAxisRect* frontPlane_;
    QPointF depth_;
};
