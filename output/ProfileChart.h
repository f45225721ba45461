#pragma once
// The profile charts of the column rating: the actual percentage of flood
// and the pressure drop per metre against the stage number, one curve per
// packed bed, with the 100 % line; drawn with the chart engine on any
// surface (the page, an image, a PDF page).

#include <QString>
#include <optional>
#include <vector>

#include "chartsurface.h"

struct ProfileChartPoint {
    double stage = 0;
    std::optional<double> floodPercent; // %
    std::optional<double> pressureDrop; // mbar/m
};

struct ProfileChartCurve {
    QString name; // the bed, as the legend shows it
    std::vector<ProfileChartPoint> points;
};

// Draws both charts, one above the other. Returns "" or why nothing was
// drawn (no curve holds a point).
QString DrawProfileCharts(TChartSurface* surface, const std::vector<ProfileChartCurve>& curves);
