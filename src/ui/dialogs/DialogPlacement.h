#pragma once

#include <QPoint>
#include <QSize>

// Where a pick or enter dialog opens: its lower-right corner 10 pixels to the left of and above
// the pointer, so the dialog does not hide what the pointer is on.
inline QPoint AbovePointer(const QPoint& pointer, const QSize& dialogSize) {
    constexpr int kGap = 10;
    return {pointer.x() - dialogSize.width() - kGap, pointer.y() - dialogSize.height() - kGap};
}
