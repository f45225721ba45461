#pragma once
// The chart of the packing comparison: HETP against the irrigated pressure
// drop or against the theoretical diameter, one labelled point per row, the
// current packing marked; drawn with the chart engine.

#include <QSize>
#include <QString>

#include <vector>

#include "PackingComparison.h"
#include "chartsurface.h"

enum class ComparisonChartAxis { PressureDrop, Diameter };

struct ComparisonChartPoint {
    QString label;
    double x = 0;
    double y = 0;
    int method = 0;       // marker shape when several methods are shown
    bool current = false; // the packing (and method) of the calculation page
};

// The points of the completed rows that have both values.
std::vector<ComparisonChartPoint> ComparisonChartPoints(const std::vector<ComparisonRow>& rows,
                                                        ComparisonChartAxis axis, const std::string& currentPacking,
                                                        int currentMethod);

// Draws the chart; returns an empty string or the reason why nothing was drawn.
QString DrawComparisonChart(TChartSurface* surface, const std::vector<ComparisonChartPoint>& points,
                            ComparisonChartAxis axis, bool severalMethods);

// Writes the chart to a PNG or SVG file, chosen by the extension.
bool SaveComparisonChart(const QString& file, QSize size, const std::vector<ComparisonChartPoint>& points,
                         ComparisonChartAxis axis, bool severalMethods, QString* error);
