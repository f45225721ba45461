#pragma once
// The column rating in the report: a sheet of its own in the report
// workbook ("塔段校核": the beds with their totals and limiting stages, then
// every stage with its data and results), and in the PDF export that sheet
// followed by the profile charts.

#include "ColumnRating.h"
#include "ProfileChart.h"

class QPainter;
class QPdfWriter;
class TMyXls;

struct ProfileReport {
    const ColumnProfile* profile = nullptr;
    const ProfileRating* rating = nullptr;
    std::vector<std::string> methodNames; // the flooding methods by index
    bool Present() const { return profile && rating && !profile->Empty(); }
};

inline constexpr const char* kProfileSheetName = "塔段校核";

// Adds the sheet after the others through the spreadsheet's Worksheets.Add
// and fills it; the report's first sheet is made active again.
void WriteProfileSheet(TMyXls& xls, const ProfileReport& report);

// The sheet's texts: two title rows, the beds' table and the stages' table,
// each with its heading row first. The workbook and the PDF both use them.
struct ProfileSheetText {
    std::vector<std::vector<std::string>> title, beds, stages;
};
ProfileSheetText ProfileSheetRows(const ProfileReport& report);

// New landscape pages on writer: the beds' and the stages' tables laid out
// for reading, then the charts. Nothing without a profile.
void PaintProfilePages(QPainter& painter, QPdfWriter& writer, const ProfileReport& report);

// The charts' curves of a rating, one per bed.
std::vector<ProfileChartCurve> ProfileChartCurves(const ProfileRating& rating);
