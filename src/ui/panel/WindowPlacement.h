#pragma once

#include "base/SettingsStore.h"

#include <QPoint>
#include <QSize>

class QWidget;

// Where a window of this size stands centred on the screen: a window whose position was never
// stored opens there.
QPoint CentredOnScreen(const QSize& windowSize);

// The position and visibility of a secondary window, kept in section "Control" under names
// ending in the window's digit ("Left3", "Top3", "Visible3").
namespace WindowPlacement {

// Moves the window to "LeftN", "TopN" (centred on the screen when never stored) and tells
// whether "VisibleN" asks for it to be shown; showing it is the caller's business.
bool Restore(QWidget& window, SettingsStore& settings, int number);
// Writes "LeftN", "TopN" and "VisibleN" (1 while shown). Throws SettingsStoreError.
void Store(const QWidget& window, SettingsStore& settings, int number);

} // namespace WindowPlacement
