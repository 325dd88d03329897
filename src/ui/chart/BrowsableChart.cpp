#include "BrowsableChart.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cmath>

namespace {

// One key press or wheel step zooms by this factor and moves by this share of what is shown.
constexpr double kZoomStep = 0.8;
constexpr double kMoveStep = 0.1;
// Never narrower than this many key units (seconds, or points).
constexpr double kNarrowestKeys = 1.0;
// A drag moves the values once it has gone this far up or down, so a sideways drag leaves them
// fitted to what is shown.
constexpr int kValueDragPixels = 8;

} // namespace

BrowsableChart::BrowsableChart(QWidget* parent) : LineChart(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void BrowsableChart::ShowWhole() {
    SetKeyView(std::nullopt);
    SetValueView(std::nullopt);
}

void BrowsableChart::ShowKeys(QCPRange keys) {
    const QCPRange whole = WholeKeyRange();
    if (keys.size() >= whole.size()) {
        SetKeyView(std::nullopt);
    } else {
        if (keys.lower < whole.lower) {
            keys += whole.lower - keys.lower;
        } else if (keys.upper > whole.upper) {
            keys -= keys.upper - whole.upper;
        }
        SetKeyView(keys);
    }
    emit viewChanged(!ValueView() && KeyView() == whole);
}

void BrowsableChart::ShowValues(QCPRange values) {
    SetValueView(values);
    emit viewChanged(false);
}

void BrowsableChart::ZoomKeys(double factor, double centre) {
    const QCPRange shown = KeyView();
    const double size = std::max(shown.size() * factor, kNarrowestKeys);
    const double share = shown.size() > 0 ? (centre - shown.lower) / shown.size() : 0.5;
    ShowKeys(QCPRange(centre - share * size, centre + (1 - share) * size));
}

void BrowsableChart::ZoomValues(double factor, double centre) {
    const QCPRange shown = ValueView().value_or(yAxis->range());
    ShowValues(QCPRange(centre - (centre - shown.lower) * factor,
                        centre + (shown.upper - centre) * factor));
}

void BrowsableChart::wheelEvent(QWheelEvent* event) {
    const double steps =
        event->angleDelta().y() / static_cast<double>(QWheelEvent::DefaultDeltasPerStep);
    if (steps == 0) {
        return;
    }
    const double factor = std::pow(kZoomStep, steps);
    const QPointF at = event->position();
    if (event->modifiers() & Qt::ControlModifier) {
        ZoomValues(factor, yAxis->pixelToCoord(at.y()));
    } else {
        ZoomKeys(factor, xAxis->pixelToCoord(at.x()));
    }
    event->accept();
}

void BrowsableChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        drag_ = Drag{event->position().toPoint(), KeyView(), ValueView().value_or(yAxis->range())};
    }
    LineChart::mousePressEvent(event);
}

void BrowsableChart::mouseMoveEvent(QMouseEvent* event) {
    if (drag_) {
        const QPoint moved = event->position().toPoint() - drag_->from;
        const double keysPerPixel = drag_->keys.size() / std::max(1, axisRect()->width());
        ShowKeys(drag_->keys - moved.x() * keysPerPixel);
        if (std::abs(moved.y()) >= kValueDragPixels || ValueView()) {
            const double valuesPerPixel = drag_->values.size() / std::max(1, axisRect()->height());
            ShowValues(drag_->values + moved.y() * valuesPerPixel);
        }
    }
    LineChart::mouseMoveEvent(event);
}

void BrowsableChart::mouseReleaseEvent(QMouseEvent* event) {
    drag_.reset();
    LineChart::mouseReleaseEvent(event);
}

void BrowsableChart::keyPressEvent(QKeyEvent* event) {
    const QCPRange keys = KeyView();
    const QCPRange values = ValueView().value_or(yAxis->range());
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        ZoomKeys(kZoomStep, keys.center());
        break;
    case Qt::Key_Minus:
        ZoomKeys(1 / kZoomStep, keys.center());
        break;
    case Qt::Key_Left:
        ShowKeys(keys - kMoveStep * keys.size());
        break;
    case Qt::Key_Right:
        ShowKeys(keys + kMoveStep * keys.size());
        break;
    case Qt::Key_Up:
        ShowValues(values + kMoveStep * values.size());
        break;
    case Qt::Key_Down:
        ShowValues(values - kMoveStep * values.size());
        break;
    default:
        LineChart::keyPressEvent(event);
        return;
    }
    event->accept();
}
