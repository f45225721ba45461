#pragma once
// The report's additions below the cells it has always filled: a title
// block for the engineer to fill in (revision, date, prepared, checked,
// approved), the operating check (figures and warnings), the design basis
// when it differs from a new page's, and the notes that explain the marks.
// Everything is read from the case's state (CaseState), as the page shows it.

#include <functional>
#include <string>
#include <vector>

#include "CaseState.h"

class CalcPage;

// First row of the additions; everything above stays as it was.
inline constexpr int kReportTitleBlockRow = 47;
inline constexpr int kReportOperationRow = 50;

// Where the additions go: put(row, column, text) writes a cell, mark(row,
// column, marks) marks a value written before (struck through, a note).
struct ReportCellWriter {
    std::function<void(int, int, const std::string&)> put;
    std::function<void(int, int, ValueMarks)> mark;
};

// The design choices in words for the report: the flooding correlations'
// names (UfMD's items), the basis' names (DesignBasisD's items) and the
// load cases' window ("" without cases).
struct DesignBasisWords {
    std::vector<std::string> floodMethods;
    std::vector<std::string> basisNames;
    std::string caseWindow;
    bool loadCases = false;
};

// Writes the additions; returns the row after the last one written.
int WriteOperationCells(const CaseState& state, const DesignBasisWords& words, const ReportCellWriter& out);
// The lines of the warnings block: the notice of results not recalculated
// for the inputs shown first, then the failure, then the warnings; "无"
// only for a completed, current run without warnings. Translated.
std::vector<std::string> ReportWarningLines(const CaseState& state);
// The label-value lines of the block "五、设计基准"; empty when the design
// choices are a new page's (then the block is left out). Translated.
std::vector<std::pair<std::string, std::string>> DesignBasisLines(const CaseState& state,
                                                                  const DesignBasisWords& words);
