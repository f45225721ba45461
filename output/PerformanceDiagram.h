#pragma once
// The operating performance diagram: vapour against liquid mass flow with
// the minimum-load, design, 80 % and flooding points of the current case,
// drawn with the chart engine.

#include "chartsurface.h"

#include <QSize>
#include <QString>
#include <optional>
#include <vector>

// Everything the diagram needs, in SI units but for the flows (flowUnit).
struct TPerformanceInput {
    double L = 0;     // liquid mass flow, kg/s
    double V = 0;     // vapour mass flow, kg/s
    double f = 80;    // percentage of flooding at the case's load (the design percentage, or the actual one)
    double uL = 0;    // liquid load, m/s
    double uLmin = 0; // minimum liquid load of the packing, m/s
    bool rating =
        false; // a given diameter is rated: the case's point is the actual load, not the design load
    // The load cases of the section, each a marked point, and the operating
    // window between its lowest and highest load as a band. None: the
    // diagram as it is without cases.
    struct Case {
        QString name;
        double L = 0, V = 0; // kg/s
        bool governing = false;
    };
    std::vector<Case> cases;
    struct Band {
        double Lmin = 0, Vmin = 0, Lmax = 0, Vmax = 0; // kg/s
    };
    std::optional<Band> window;
    // The unit L and V (and the cases) are given in: kg/s, or the display
    // system's (lb/h).
    QString flowUnit = QStringLiteral("kg/s");
    // A line under the title naming the diameter the points stand at; none
    // when the diagram is the page's design as always.
    QString caption;
};

struct TPerformanceLabel {
    QString text;
    double x = 0; // world position of the point it belongs to
    double y = 0;
    int hAlign = -1;
    int vAlign = 0;
};

// The four load points on the ray V/L = const and their labels.
struct TPerformancePoints {
    double Lmin = 0, Vmin = 0;
    double L = 0, V = 0;
    double L80 = 0, V80 = 0;
    double Lflood = 0, Vflood = 0;
    // Label percentages, rounded halves to even (kept as doubles: a tiny
    // liquid load can make the minimum percentage exceed any int).
    double minPercent = 0;
    double percent80 = 0;
    double floodPercent = 0;
    TPerformanceLabel labels[4]; // minimum, design, 80 %, flooding
};

inline constexpr QSize kDefaultDiagramSize(1001, 727);

// Computes the load points; returns an empty string, or the reason why
// they are undefined (the text to show the user).
QString ComputePerformancePoints(const TPerformanceInput& in, TPerformancePoints& out);

// Draws the whole diagram on the surface. Returns an empty string, or the
// reason why nothing was drawn.
QString DrawPerformanceDiagram(TChartSurface* surface, const TPerformanceInput& in);

// One number of the mouse read-out: general format, precision 4.
QString FormatReadoutNumber(double v);
// The status text of the mouse read-out: "L=" X " V=" Y.
QString PerformanceReadoutText(double x, double y);

// Writes the diagram to a PNG or SVG file, chosen by the extension.
bool SavePerformanceDiagram(const QString& file, QSize size, const TPerformanceInput& in, QString* error);
