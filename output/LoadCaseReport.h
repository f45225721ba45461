#pragma once
// The load cases in the interface language: the results table of the page
// "工况校核", a sheet of its own in the report workbook and pages in the PDF
// export (the cases, then the operating window). One set of rows feeds all
// of them, so they never disagree. The CSV export is the case file the
// import reads (with the same results, in SI). Nothing without cases.

#include <QByteArray>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "LoadCaseCsv.h"
#include "LoadCases.h"

class QPainter;
class QPdfWriter;
class TMyXls;

// A case's error in the interface language (the window's CaseText); empty:
// the text's translation as it stands.
using CaseTextFunction = std::function<std::string(const std::string& error)>;

struct LoadCaseReport {
    const std::vector<LoadCase>* cases = nullptr;
    const EnvelopeResult* rating = nullptr;
    CaseTextFunction caseText;
    bool Present() const { return cases && rating && !cases->empty(); }
};

inline constexpr const char* kLoadCaseSheetName = "工况校核";

// The cases' own values (index of kProfileValues) in the display system:
// shown from SI, the unit of its column ("" for the slope), and SI from a
// value typed in the column's unit. In SI each is the value as it is.
std::optional<double> ShownCaseValue(int index, const std::optional<double>& si);
double CaseValueFromShown(int index, double shown);
std::string CaseValueUnit(int index);

// The results table: headings (pressure drop in the display unit), and the
// cells of one case (name, % of flood, % of the foaming-limited capacity,
// F-factor, liquid load, pressure drop, holdup, HETP, note).
std::vector<std::string> LoadCaseResultHeadings();
std::vector<std::string> LoadCaseResultCells(const CaseResult& r, const CaseTextFunction& caseText = {});
// Columns of the results table that show the quantity of a field a warning names.
std::vector<int> LoadCaseColumnsOfField(const std::string& field);
// The diameter the cases were rated at, the governing case and the operating
// window in one paragraph; "" without cases.
std::string LoadCaseWindowText(const EnvelopeResult& rating);

// The sheet: a title row, the table (headings first; each case's own values
// and then its results) and the window's lines.
struct LoadCaseSheetText {
    std::vector<std::string> title;
    std::vector<std::vector<std::string>> table;
    std::vector<std::string> window;
};
LoadCaseSheetText LoadCaseSheetRows(const LoadCaseReport& report);

// The cases and their results as a load-case file (WriteLoadCasesCsv: the
// reader's own keys, a units line, SI values in their shortest exact form),
// UTF-8 with a byte-order mark and CR LF, which Import reads back to the same
// cases. Just the mark without cases.
QByteArray LoadCaseCsv(const LoadCaseReport& report);
// The cells of kLoadCaseResultColumns of one case: SI numbers, the note as the table shows it.
std::vector<std::string> LoadCaseResultCsvCells(const CaseResult& r, const CaseTextFunction& caseText = {});

// Adds the sheet after the others and fills it; the first sheet is made active again.
void WriteLoadCaseSheet(TMyXls& xls, const LoadCaseReport& report);
// A new landscape page with the table and the window.
void PaintLoadCasePages(QPainter& painter, QPdfWriter& writer, const LoadCaseReport& report);

struct TPerformanceInput;
// Puts every case as a marked point (the governing one set apart) and the
// window's band into the diagram's input; nothing without cases.
void AddLoadCasesToDiagram(TPerformanceInput& in, const LoadCaseReport& report);
