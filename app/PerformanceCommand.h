#pragma once
// What the diagram command takes from the calculation page.

#include <optional>

#include "PerformanceDiagram.h"

class CalcPage;
struct LoadCaseReport;

// Recalculates the page (as the diagram command does) and returns the load
// data, or nothing when the diameter, the liquid or the vapour flow is
// empty. A field that does not read shows its message and throws EAbort; a
// flooding percentage that is not a number throws EConvertError.
// With load cases (`cases`), they and their band go with it (CompleteDiagramInput).
std::optional<TPerformanceInput> PerformanceInputFromPage(CalcPage& page, bool recalculate = true,
                                                          const LoadCaseReport* cases = nullptr);
