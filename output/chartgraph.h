#pragma once
// A procedural line-chart engine. All state lives in one drawing context for
// the whole program; every operation acts on the current drawing and on its
// current graph. Called from the GUI thread only.
//
// A drawing: InitChart, DefineGraph, DrawXAxis, DrawYAxis, then lines,
// markers and texts in world coordinates, and FlushChart at the end of every
// step (markers are only queued until then).

#include "chartcommon.h"
#include "chartsurface.h"

#include <QRect>
#include <QString>

#include <vector>

inline constexpr int kMaxGraphs = 8;
inline constexpr int kMaxYAxes = 4;

// Starts a new drawing on surface.
void InitChart(TChartSurface* surface, TColor backgroundColour, TColor foregroundColour,
               float charSizeFactor);

// Adds a graph slot and makes it current. Percentages of the drawing area
// (0 = left or top), margins in pixels before device scaling.
void DefineGraph(int xFromPct, int xToPct, int yFromPct, int yToPct, int leftMargin, int rightMargin,
                 int topMargin, int bottomMargin, bool unclippedWhenUnzoomed);

// Scales the current graph and draws the axis. position for X: 0/1 bottom
// with ticks outside, 2 bottom inside, 3 top outside, 4 top inside; for Y
// the left edge with the caption turned along it. step is the smallest
// wanted tick step (0 = automatic); rangeMode 0 keeps min and max, 1 widens
// them to a minor tick, 2 to a major tick.
void DrawXAxis(TColor colour, const QString& caption, int position, float min, float max, float step,
               float minZoomSpan, bool grid, bool logarithmic, bool fixedLabels, int rangeMode);
void DrawYAxis(TColor colour, const QString& caption, int position, float min, float max, float step,
               float minZoomSpan, bool grid, bool logarithmic, bool fixedLabels, int rangeMode);

// Grid dot patterns of the current graph (0 solid, negative none).
void SetGridPatterns(int major, int minor);

void SetPenWidth(int n);
void SetPenColor(TColor colour);
// Fill colour of markers with fill code 3.
void SetSecondColor(TColor colour);
void SetDash(int period, int percentDrawn, float directionWeight);

void DrawTitle(TColor colour, const QString& text);

void MoveToPoint(double x, double y);
void LineToPoint(double x, double y);

// Marker shapes and fills.
enum : int {
    kMarkCircle = 1,
    kMarkSquare = 2,
    kMarkTriangleUp = 3,
    kMarkTriangleDown = 4,
    kMarkTriangleRight = 5,
    kMarkTriangleLeft = 6,
    kMarkCross = 7,
    kMarkDiagonalCross = 8,
};
enum : int { kFillHollow = 0, kFillBackground = 1, kFillPen = 2, kFillSecond = 3 };
void AddMarker(int shape, int size, int fill);

// italic/bold: 2 on, -1 or 1 off, 0 unchanged. scope: what later drawings
// take over (0 nothing, 1 the name, 2 name and size, 3 also no title
// enlargement).
void SetTextFont(const QString& name, int size, int italic, int bold, int scope);
// Drops the font choices that later drawings would take over.
void ChartForgetFontChoices();

// A text at a point (world coordinates once the axes are drawn, pixels
// before). hAlign/vAlign -1, 0, 1; style bits below; "|" breaks lines.
enum : int {
    kTextFrame = 1,      // a frame in the text colour
    kTextBox = 2,        // a box filled with the background colour
    kTextPenColours = 4, // pen and brush colours for text and box
    // Stays inside the plot (the drawing area while the graph is unclipped):
    // a text that would leave it moves to the other side of its point, its
    // padding blanks with it, and is then shifted inside.
    kTextKeepInside = 8,
    // Crowded labels: takes the first side of its point (right, left, above,
    // below) where it stays inside the plot and overlaps no other text drawn
    // with this bit since InitChart; where no side is free it is left out.
    kTextAvoidOthers = 16,
};
void DrawTextAt(TColor colour, const QString& text, int hAlign, double x, double y, int vAlign, int style);

void FlushChart();

// One line of a legend: a sample of the curve's line (dashed or solid, with
// its marker shape, 0 for none) and its text.
struct TChartLegendEntry {
    TColor colour = 0;
    int penWidth = 1;
    bool dashed = false;
    int marker = 0;
    QString text;
};
enum : int { kLegendTopLeft = 1, kLegendTopRight = 2, kLegendBottomLeft = 3, kLegendBottomRight = 4 };
// Draws a framed legend inside the current plot at a corner, in the current
// font, over whatever is drawn there.
void DrawLegend(const std::vector<TChartLegendEntry>& entries, int corner);

// Mouse events of the paint surface, in its pixel coordinates.
void ChartMouseDown(int button, unsigned shift, int x, int y);
void ChartMouseMove(unsigned shift, int x, int y);
void ChartMouseUp(int button, unsigned shift, int x, int y);

// The current read-out; the caller may preset worldX to -1 to see whether a
// mouse call produced a reading.
TChartReadout& ChartReadout();
enum : int { kReadoutPress = 0, kReadoutRelease = 1, kReadoutMark = 2, kReadoutCurrent = 3 };
const TChartReadout& ChartReadoutRecord(int which);

// ---- Queries, for owners of a surface and for checks ----

// The surface of the current drawing (nullptr when none or detached).
TChartSurface* ChartSurface();
// Forgets the surface if it is the current one (called by its destructor).
void ChartDetachSurface(TChartSurface* surface);

struct TChartAxisInfo {
    bool valid = false;
    bool drawn = false;
    bool logarithmic = false;
    double min = 0; // visible range, in the caller's sign
    double max = 0;
    double major = 0;
    double minor = 0;
    int decimals = 0;
    int screenStart = 0;
    int screenLength = 0;
    double minZoomFraction = 0;
};
TChartAxisInfo ChartXAxisInfo();
TChartAxisInfo ChartYAxisInfo(int axis = 0);

int ChartCurrentGraph();
int ChartGraphCount();
bool ChartGraphValid();
bool ChartGraphUnclipped();
QRect ChartPlotRect();  // inclusive pixel corners of the current plot area
QRect ChartOuterRect(); // outer frame of the current graph
bool ChartWorldMode();
int ChartPendingMarkers();
bool ChartOverlayShown();

// Zoom windows, as fractions of the full range of each axis, kept per slot
// number across drawings.
struct TChartZoom {
    double xFrom = 0;
    double xTo = 1;
    double yFrom[kMaxYAxes] = {0, 0, 0, 0};
    double yTo[kMaxYAxes] = {1, 1, 1, 1};
    bool isFull() const;
};
TChartZoom ChartZoom(int graph);
void ChartResetZoom(int graph); // 0 resets every slot
// Puts a zoom window back into a slot; a view that shares slot numbers with
// other drawings keeps its own window this way.
void ChartSetZoom(int graph, const TChartZoom& zoom);
