#pragma once
// The sweep of the Python module: one input field run through a list of
// texts, every case on a clean copy of the page velk-calc would set up from
// the base arguments, on one page for the whole sweep.

#include <string>
#include <vector>

struct SweepResult {
    std::vector<std::string> fields;                // the value fields, in the page's order
    std::vector<std::vector<double>> si;            // si[field][case]: SI value, NaN where the case has none
    std::vector<bool> completed;                    // per case
    std::vector<std::vector<std::string>> messages; // per case: the texts it showed (as velk-calc's JSON)
};

// base: velk-calc's arguments of one case. Returns the usage complaint
// (what velk-calc refuses with exit status 2, an unknown field included)
// before any case is run, or "" with every case in `result`. A case that
// fails has NaN in every field and its messages; it never stops the sweep.
std::string RunSweep(const std::vector<std::string>& base, const std::string& field,
                     const std::vector<std::string>& values, SweepResult& result);
