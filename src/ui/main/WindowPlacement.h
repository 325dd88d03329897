#pragma once

#include <QPoint>
#include <QSize>

// Where a window of this size stands centred on the screen: a window whose position was never
// stored opens there.
QPoint CentredOnScreen(const QSize& windowSize);
