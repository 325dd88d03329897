#pragma once

#include <QColor>

// Colours of the chart itself, shared by its 2D and 3D views.

// Every series colour, white and yellow included, stands out against the panel.
inline const QColor kChartPanelColour(0xC0, 0xC0, 0xC0);
inline const QColor kChartGridColour(0x80, 0x80, 0x80);
