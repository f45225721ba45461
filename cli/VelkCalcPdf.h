#pragma once
// velk-calc --pdf: the PDF report of the computed case, written by the same
// code as the window's "导出PDF报表", with the column rating of the
// project's profile and the project's load cases when it carries them.

#include <iosfwd>
#include <string>

class CalcPage;

// Writes the PDF to path; a note (a chart left out) and a failure go to err
// as "velk-calc: ..." lines. Returns false when no PDF was written.
bool VelkCalcPdf(CalcPage& page, const std::string& path, const std::string& projectPath, std::ostream& err);
