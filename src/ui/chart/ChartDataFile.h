#pragma once

#include "PointKeys.h"

#include <QString>
#include <span>

class LineSeries;

// Writes the chart data file: the title line, then for every point i of the ranges one line
// with the value of point i of every series, four decimals with the locale's separator, joined
// by ";". Lines end in CR LF. Returns empty on success, otherwise the error that stopped the
// writing; the lines written before it stay in the file.
QString WriteChartData(const QString& path, const QString& title,
                       std::span<LineSeries* const> series,
                       std::span<const PointKeys::Range> points);
