#pragma once
// The charts of a report: the operating performance diagram and the three
// performance charts of the packing, as pictures on a sheet of their own in
// the report workbook and as pages of the PDF report, drawn there at the
// page's resolution so that their texts read as on screen.

#include <string>

#include "LoadCaseReport.h"

class CalcPage;
class QPainter;
class QPdfWriter;

// Adds the sheet of pictures to the saved workbook at path (.xlsx or .xltx;
// other formats are left alone). Returns false with the reason when there
// was nothing to draw or the workbook could not be written.
// The load cases, when there are any, are marked on the diagram with their window.
bool AddReportChartSheet(const std::string& path, CalcPage& page, std::string& why,
                         const LoadCaseReport& cases = {});

// One landscape page each for the diagram and the three charts, those the
// case allows; `note` says what was left out and why.
void PaintReportChartPages(QPainter& painter, QPdfWriter& writer, CalcPage& page, std::string& note,
                           const LoadCaseReport& cases = {});
