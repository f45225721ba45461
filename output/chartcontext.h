#pragma once
// Internal state of the chart engine, shared by its source files. Not part
// of the engine's interface.

#include "chartgraph.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>
#include <vector>

namespace chart_detail {

struct TAxisState {
    bool valid = false;
    bool drawn = false;
    bool logarithmic = false;
    int direction = 1; // -1: the caller's values are negated inside
    double min = 0;    // visible range, after zoom and widening, negated when direction is -1
    double max = 1;
    double fullMin = 0; // range as requested, for the zoom fractions
    double fullMax = 1;
    double lnRatio = 0;
    // A logarithmic axis over less than about a decade takes linear ticks.
    bool linearTicks = false;
    int labelSpacing = 0; // smallest distance of two labels, pixels
    int screenStart = 0; // left edge (X) or bottom edge (Y)
    int screenLength = 0;
    int decimals = 0;
    double major = 0;
    double minor = 0;
    TColor colour = 0;
    double minZoomFraction = 0.001;
};

struct TGraphSlot {
    bool defined = false;
    bool valid = false;
    bool unclipped = false;
    int outerLeft = 0, outerTop = 0, outerRight = 0, outerBottom = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
    double aspect = 1;
    TAxisState x;
    TAxisState y[kMaxYAxes];
    int yCount = 0;
    int currentY = -1;
    int gridMajor = 4;
    int gridMinor = 7;
    bool yZoomFractionSet = false;
    double yMinZoomFraction = 0.001;

    QRect plotRect() const { return QRect(QPoint(left, top), QPoint(right, bottom)); }
    QRect outerRect() const { return QRect(QPoint(outerLeft, outerTop), QPoint(outerRight, outerBottom)); }
    bool worldMode() const { return valid && x.valid && currentY >= 0 && y[currentY].valid; }
};

struct TMarkerRecord {
    int x = 0;
    int y = 0;
    int shape = 1;
    int size = 0;
    int fill = 0;
    int penWidth = 1;
    TColor colour = 0;
    TColor colour2 = 0;
    TColor background = 0;
    QRect clip;
};

enum class TMouseMode { None, CrossHair, ZoomBox };

struct TChartContext {
    TChartSurface* surface = nullptr;
    int scale = 1;
    int width = 0;
    int height = 0;
    int originX = 0;
    int originY = 0;
    TColor background = 0xFFFFFF;
    TColor foreground = 0;
    TColor contrast = 0;
    float charSizeFactor = 1.0f;

    // Font of the current drawing and the choices later drawings take over.
    QString fontName = QStringLiteral("Arial");
    int fontSize = 8; // points, before device scaling
    bool italic = false;
    bool bold = false;
    int fontScope = 0;
    QString savedFontName;
    int savedFontSize = 0;
    bool savedNoTitleEnlarge = false;
    QFont font;
    std::unique_ptr<QFontMetrics> metrics;
    int textWidth = 6; // width and height of "0" in the current font
    int textHeight = 12;
    int textAscent = 10;
    int textDescent = 2;

    TColor penColour = 0;
    int penWidth = 1;
    TColor fontColour = 0;
    TColor brushColour = 0xFFFFFF;
    TColor secondColour = 0;

    int dashPeriod = 0; // pixels; 0 = solid
    int dashDrawn = 0;
    float dashWeight = 1.0f;

    QPoint current;
    bool hasPendingPixel = false;
    QPoint pendingPixel;
    TColor pendingColour = 0;
    QRect pendingClip;

    std::vector<TMarkerRecord> markers;
    std::vector<QRect> avoidedTexts; // texts drawn with kTextAvoidOthers

    TGraphSlot graphs[kMaxGraphs];
    int currentGraph = 0; // 1-based; 0 = none or invalid
    int graphCount = 0;
    TChartZoom zoom[kMaxGraphs];

    TChartReadout readouts[4];

    TMouseMode mouseMode = TMouseMode::None;
    int mouseGraph = 0;
    QPoint mouseStart;
    QPoint mouseLast;
    bool overlayShown = false;

    QRect drawingArea() const { return QRect(originX, originY, width, height); }
    TGraphSlot* slot()
    {
        return currentGraph >= 1 && currentGraph <= kMaxGraphs ? &graphs[currentGraph - 1] : nullptr;
    }
    // Clip rectangle for world drawing in the current graph.
    QRect worldClip(const TGraphSlot& g) const { return g.unclipped ? drawingArea() : g.plotRect(); }
};

TChartContext& Ctx();

// Active painter of the current drawing, or nullptr.
QPainter* Canvas();

// Applies the font state to the canvas and measures "0".
void ApplyFont();
// Draws one line of text with its top-left corner at (x, top).
void TextOut(QPainter* p, int x, int top, const QString& text);
int TextWidth(const QString& text);

// World <-> pixel on the axes of a graph.
int MapX(const TGraphSlot& g, double x);
int MapY(const TGraphSlot& g, int axis, double y);
double PixelToWorldX(const TGraphSlot& g, int px);
double PixelToWorldY(const TGraphSlot& g, int axis, int py);

// Draws any pending end pixel of the last line.
void SetPendingPixel();

// Result of the automatic tick step search on a linear axis.
struct TNiceSteps {
    double major = 1;
    double minor = 1;
    int decimals = 0;
    double min = 0;
    double max = 1;
};
TNiceSteps ComputeNiceSteps(double min, double max, double wantedStep, int length, int labelSpacing,
                            int rangeMode);
int DecimalsOf(double v);
double NormaliseStep(double step);

} // namespace chart_detail
