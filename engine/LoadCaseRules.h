#pragma once
// What a valid load case is. The case-file reader, the project's case
// records and the page's table all check with these, so that a case one of
// them takes the others take too, and a saved project always opens again.

#include <set>
#include <string>
#include <string_view>

#include "LoadCases.h"

enum class CaseFault {
    None,
    NoName,
    NameTooLong, // beyond kMaxLoadCaseName bytes
    NameControl, // a control character inside
    NameNotUtf8,
    NoFlow, // the vapour or the liquid flow missing
    NotFinite,
    NotPositive, // every value, the equilibrium slope included, is above 0
};

struct CaseFaultAt {
    CaseFault fault = CaseFault::None;
    int value = -1; // index in kProfileValues of the value at fault
    explicit operator bool() const { return fault != CaseFault::None; }
};

// The name a case is stored under: its text without blanks (spaces, tabs) at its ends
// (a table cell does not show them, and two names that differ only there
// would be one name to the reader of a report).
std::string CaseName(std::string_view text);

// The fault of a name as stored (CaseName), of one value, of a whole case
// (name, values, then the flows).
CaseFault CheckCaseName(std::string_view name);
CaseFault CheckCaseValue(double v);
CaseFaultAt CheckLoadCase(const LoadCase& c);

// The names of a list of cases: a second case of the same stored name is refused.
class CaseNames
{
public:
    // False when the name is there already.
    bool Add(const std::string& name) { return names_.insert(name).second; }

private:
    std::set<std::string> names_;
};
