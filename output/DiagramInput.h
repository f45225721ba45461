#pragma once
// The performance diagram's input as every view draws it (the page, the
// exported picture, the printed report): the page's loads, the percentage
// of flood its point stands at, the load cases, the display units of the
// flows and a caption naming the diameter the points stand at.

#include <optional>

#include "PerformanceDiagram.h"

class CalcPage;
struct LoadCaseReport;

// Fills `in` from the page: its L, V, uL and the packing's uLmin (SI; a
// field that does not read shows its message and throws EAbort), the flood
// percentage and the mode (DiagramLoadPercent), the load cases (when
// given), the caption, and then the flows in the display unit system. With
// the page sized to its flooding fraction, SI and no cases, it adds nothing.
// With cases, the page's point is its load at the section's diameter, the
// diameter the cases and their band are rated at.
void CompleteDiagramInput(TPerformanceInput& in, CalcPage& page, const LoadCaseReport* cases);

// The page's case rated at `diameter` on a copy of the page: its percentage
// of flood (nullopt when the run does not complete). The page is not touched.
std::optional<double> FloodPercentAtDiameter(const CalcPage& page, double diameter);
