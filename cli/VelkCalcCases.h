#pragma once
// velk-calc --cases: the load cases of a section from a CSV file, each rated
// at the section's diameter and printed as the single run of that case at
// that diameter would print it, with the governing case and the operating
// window; and the "design" and "conservative" parts of the JSON.

#include <iosfwd>
#include <string>

class CalcPage;

// Rates the cases of the CSV file on copies of `base` (set up by the other
// options, not yet recalculated) and prints the JSON. `design`: add the
// "design" object; `conservative`: add the "conservative" object. Returns
// the exit status: 0 every case completed, 1 otherwise, 2 usage.
int RunCasesCommand(const CalcPage& base, const std::string& csvPath, bool design, bool conservative,
                    std::ostream& out, std::ostream& err);

// ", \"design\": {...}" and/or ", \"conservative\": {...}" of a page (null for a
// page whose recalculation did not complete; nothing when not asked for),
// to be put before the closing brace.
std::string DesignJson(const CalcPage& page, bool design, bool conservative, bool completed);
