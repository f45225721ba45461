#pragma once
// The three performance charts of the chosen packing, drawn with the chart
// engine from curves the engine computed: pressure drop against F-factor
// (logarithmic pressure axis, one curve per liquid load, the dry line and
// the flood line), holdup against liquid load and HETP against F-factor,
// each with the operating point of the case and its percentage of flood.

#include "PerformanceCurves.h"
#include "chartsurface.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

enum class TPerformanceChart { PressureDrop = 0, Holdup = 1, Hetp = 2 };
inline constexpr int kPerformanceChartCount = 3;
inline constexpr QSize kDefaultChartSize(900, 640);

// Draws one chart over the whole surface; `title` names the packing. Returns
// an empty string, or the reason why nothing was drawn.
QString DrawPerformanceChart(TChartSurface* surface, TPerformanceChart chart, const PerformanceCurves& curves,
                             const QString& title);

// Draws the whole chart, whatever zoom window a view left in the engine's
// graph slot (the slot is put back afterwards).
QString DrawWholePerformanceChart(TChartSurface* surface, TPerformanceChart chart, const PerformanceCurves& curves,
                                  const QString& title);

// Writes one whole chart to a PNG or SVG file, chosen by the extension.
bool SavePerformanceChart(const QString& file, QSize size, TPerformanceChart chart, const PerformanceCurves& curves,
                          const QString& title, QString* error);

// File name stem of a chart: "pressure-drop", "holdup", "hetp".
QString PerformanceChartStem(TPerformanceChart chart);
// The chart's own title, translated.
QString PerformanceChartName(TPerformanceChart chart);

// Parses a list of liquid loads in m3/(m2 h) ("0, 5, 10"); false for a text
// that is not a list of 1 to 20 numbers from 0 to 1e6.
bool ParseLiquidLoads(const QString& text, std::vector<double>& loads);
QString LiquidLoadsText(const std::vector<double>& loads);
