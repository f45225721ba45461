#pragma once
// The columns of the packing comparison table and the texts of its cells,
// shared by the page, the CSV and workbook exports and the PDF page, so that
// each shows the same numbers in the same units.

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

#include "PackingComparison.h"

enum class ComparisonColumn : int {
    Packing,
    Method,
    Area,
    FloodVelocity,
    TheoreticalDiameter,
    ActualDiameter,
    FloodPercent,
    FFactor,
    PressureDrop,
    Holdup,
    HTUOV,
    HETP,
    BedHeight,
    BedPressureDrop,
    FloodSpread,
    DiameterSpread,
    Warnings,
    HetpSpread, // on the page only (ComparisonPageColumns); the exports keep their columns
    Count
};

// The columns shown: the method and the two spreads only with all three
// correlations.
std::vector<ComparisonColumn> ComparisonColumns(bool allMethods);
// The columns of the page: those above with the spread of the mass-transfer
// models' HETP after HETP.
std::vector<ComparisonColumn> ComparisonPageColumns(bool allMethods);
// Heading with its unit, e.g. "湿塔压降(mbar/m)".
QString ComparisonColumnCaption(ComparisonColumn c);
// The heading of the table on screen: the unit on a line of its own and a
// long name broken between words, so that the columns stay narrow.
QString ComparisonColumnHeading(ComparisonColumn c);
// Short name of a flooding correlation for the table.
QString ComparisonMethodName(int method);
// The packing's catalogue name and the row's error in the interface
// language (a few catalogue names carry Chinese).
QString ComparisonPackingName(const ComparisonRow& row);
QString ComparisonErrorText(const ComparisonRow& row);
// A case's or a stage's error in the interface language; the list of missing
// inputs keeps its field names.
QString CaseErrorText(const std::string& error);
// The number of a cell in the table's unit; nothing for text cells, for an
// empty result or for a row that ended in an error.
std::optional<double> ComparisonCellNumber(const ComparisonRow& row, ComparisonColumn c);
// The cell as shown: numbers rounded to the column's decimals; the error
// text in the first result column of an error row; the warnings' texts
// joined by "; ".
QString ComparisonCellText(const ComparisonRow& row, ComparisonColumn c);
// True when the cell shows a result the row's page marked out of date.
bool ComparisonCellStale(const ComparisonRow& row, ComparisonColumn c);
// The warnings' texts (translated), one per line.
QStringList ComparisonWarningTexts(const ComparisonRow& row);
// Highest severity of the row's warnings: -1 none, 0 information, 1 warning,
// 2 error (an error row counts as 2).
int ComparisonWarningLevel(const ComparisonRow& row);
// First column of calculated results (where an error row shows its text).
inline constexpr ComparisonColumn kFirstResultColumn = ComparisonColumn::FloodVelocity;

// The table as text rows, headings first; numbers with full precision
// (up to 6 significant digits) for the exports.
std::vector<QStringList> ComparisonExportRows(const std::vector<ComparisonRow>& rows, bool allMethods);
