#pragma once
// One way to save a chart as a PNG or SVG file, chosen by the file's suffix:
// drawn in memory, then written through the safe-replace routine.

#include <QSize>
#include <QString>

#include <functional>

class TChartSurface;

// Returns "" when drawing went well, otherwise the message to show.
using ChartDrawer = std::function<QString(TChartSurface*)>;

// False with the reason in *error.
bool SaveChartFile(const QString& file, QSize size, const QString& svgTitle, const ChartDrawer& draw,
                   QString* error);
