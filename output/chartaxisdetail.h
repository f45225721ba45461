#pragma once
// Internal pieces of the chart engine's axes, shared by its axis sources:
// the request of one axis, its tick layout and its painting. Not part of the
// engine's interface.

#include "chartcontext.h"

#include <QString>

#include <vector>

namespace chart_detail {

enum class AxisKind { X, Y };

struct TAxisRequest {
    TColor colour;
    QString caption;
    int position;
    double min, max, step, minZoomSpan;
    bool grid, logarithmic, fixedLabels;
    int rangeMode;
};

// One tick of a scaled axis: its pixel along the axis and, for a major
// tick, its label (with the caption's unit part appended; empty where
// crowded decades leave a tick unlabelled).
struct TAxisTick {
    int pixel = 0;
    bool major = false;
    QString label;
};

// Pixel sizes of an axis, from the current font and the style parameters.
struct TAxisMetrics {
    int majorTick = 0;
    int minorTick = 0;
    int labelSpacing = 0;
};

// The text before and after the "|" of a caption.
QString CaptionPart(const QString& caption);
QString UnitPart(const QString& caption);

// Position of a value along a scaled axis, in pixels of the surface.
int AxisPixel(const TAxisState& a, bool isX, double v);
// True when the pixel lies within the axis's extent.
bool AxisPixelInside(const TAxisState& a, bool isX, int px);

// The ticks of a scaled axis, inside its extent, in drawing order.
std::vector<TAxisTick> LayoutAxisTicks(const TAxisState& a, bool isX, bool fixedLabels, const QString& unit);

// Draws a scaled axis of graph g: line, ticks, grid, labels and caption.
void PaintAxis(QPainter* p, const TGraphSlot& g, const TAxisState& a, AxisKind kind, const TAxisRequest& rq,
               const TAxisMetrics& m);

} // namespace chart_detail
