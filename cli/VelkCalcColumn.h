#pragma once
// velk-calc's design limits, diameter step and column design: the options
// are taken out of the arguments before the others are read, set on the
// page after the project, and "column" is printed with --column.

#include <iosfwd>
#include <string>
#include <vector>

class CalcPage;

struct ColumnOptions {
    std::string limitFlood, limitFs, limitBedDp, limitWetting, diameterStep; // as typed
    std::string hetpMargin, bedMaxHeight, bedMaxStages;
    std::string columnSvg; // --column-svg FILE
    bool column = false;   // --column
    bool Any() const;
};

// Moves the options above from args into opt; returns the usage complaint, or "".
std::string TakeColumnOptions(std::vector<std::string>& args, ColumnOptions& opt);
// Sets the limits and the step on the page (after the project was loaded).
void ApplyColumnOptions(CalcPage& page, const ColumnOptions& opt);
// ", \"column\": {...}" with --column ("null" when the page lacks a figure,
// the reason on err), and the elevation for --column-svg (ok false when it
// could not be written); "" without either option.
std::string ColumnJsonExtra(const CalcPage& page, const ColumnOptions& opt, bool completed, bool& ok,
                            std::ostream& err);
// The options' part of the usage text.
std::string ColumnOptionsUsage();
