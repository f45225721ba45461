#pragma once
// velk-calc --profile: rates a column profile from a tray-profile CSV file
// stage by stage and prints every stage as the single calculation of that
// stage would print it ("fields", "operation", "warnings"), with the beds.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "BedsOption.h"
#include "ColumnProfile.h"

class CalcPage;

// Rates the first column of the CSV file on a copy of `base` (set up by the
// other options, not yet recalculated) and prints the JSON. rateDiameter:
// the --rate-diameter text (in dD's current unit) for every bed, or sizing.
// Returns the exit status: 0 every stage completed, 1 otherwise, 2 usage.
int RunProfileCommand(CalcPage& base, const std::string& csvPath, const std::string& bedsText,
                      const std::optional<std::string>& rateDiameter, std::ostream& out, std::ostream& err);
