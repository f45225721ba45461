#pragma once
// Checks of velk-calc's option values that the output writers and the page's
// units take part in; each returns the usage complaint, or "".

#include <string>
#include <utility>
#include <vector>

class CalcPage;

// An output file named for another format than the one written: --report
// writes a workbook (.xlsx), --pdf a PDF (.pdf), --diagram a PNG or an SVG
// image; the ending is compared without regard to case.
std::string OutputNameComplaint(const std::string& option, const std::string& path);

// A diameter typed into dD from the command line, below 1 mm once in SI
// (1e-320 m ended in a floating-point error). Run after the units are set.
std::string DiameterComplaint(const CalcPage& page, const std::string& option, const std::string& text);

// The diameters typed into dD from the command line: --rate-diameter, or
// else dD=TEXT while a given diameter is rated (from a project).
std::string TypedDiameterComplaint(const CalcPage& page, const std::string& rateDiameter,
                                   const std::vector<std::pair<std::string, std::string>>& values);
