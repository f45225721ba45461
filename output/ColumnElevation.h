#pragma once
// The elevation of a designed column: beds, distributors, hold-downs,
// supports and collectors to scale from top to bottom, each labelled with
// its height and pressure drop. One painting routine for the page, the
// files and the reports.

#include <QRect>
#include <QString>

class QPainter;
struct ColumnDesign;

// Paints into `area` of the painter; the fonts follow the painter's device.
void PaintColumnElevation(QPainter& painter, const QRect& area, const ColumnDesign& design);

// Writes the elevation as an SVG or PNG file (by its suffix) of the given
// size through the safe replace; false with the reason in *error.
bool SaveColumnElevation(const QString& file, const ColumnDesign& design, QString* error, int width = 700,
                         int height = 900);
