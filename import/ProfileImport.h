#pragma once
// Column profiles from the three sources: a tray-profile CSV file (the
// format velk-simdb reads), all trays of a column of the open PRO/II
// simulation, and all stages of a column of the case in the running HYSYS.
// Each source yields the seven values the import dialogs take over, in SI;
// the CSV file may add the diffusivities and the equilibrium slope.

#include <string>
#include <vector>

#include "ColumnProfile.h"
#include "PROIIInterface.h"

// The profiles of every column of a tray-profile text, in the file's order.
// A damaged text is refused as a whole with EConvertError naming source and
// line: a missing column, a text in a number, an empty row, a tray twice.
std::vector<ColumnProfile> ProfilesFromCsvText(const std::string& text, const std::string& source);
// The same from a file; EInOutError when it cannot be read (not a regular
// file, too large, no access).
std::vector<ColumnProfile> ProfilesFromCsvFile(const std::string& path);

// All trays of a column of the open simulation (ProiiDatabase), through the
// same calls the dialog reads one tray with. Server errors propagate.
ColumnProfile ProfileFromProii(const std::string& columnName);

// All stages of a column of the running HYSYS case, stage index i as stage
// i + 1. Errors after the attach propagate; EAbort when HYSYS cannot be
// reached (silently: "Hysys错误！" was shown).
ColumnProfile ProfileFromHysys(const std::string& columnName);
