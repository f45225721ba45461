#pragma once
// The report's additions below the cells it has always filled: a title
// block for the engineer to fill in (revision, date, prepared, checked,
// approved) and the operating check (figures and warnings).

#include <functional>
#include <string>

class CalcPage;

// First row of the additions; everything above stays as it was.
inline constexpr int kReportTitleBlockRow = 47;
inline constexpr int kReportOperationRow = 50;

// Writes the additions through put(row, column, text).
void WriteOperationCells(const CalcPage& page, const std::function<void(int, int, const std::string&)>& put);
