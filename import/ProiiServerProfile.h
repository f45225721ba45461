#pragma once
// A tray profile in CSV form, the way an engineer brings tray data from any
// simulator into a simulation database file (velk-simdb).
//
// One row per tray, under a header row that names the columns (any order,
// without regard to case):
//   column, tray, pressure, temperature (K) or temperature_c (deg C),
//   liq_mw, liq_density, liq_viscosity, liq_surface_tension,
//   liq_molar_rate (kmol/s) or liq_mass_rate (kg/s),
//   vap_mw, vap_density, vap_viscosity,
//   vap_molar_rate (kmol/s) or vap_mass_rate (kg/s),
//   and optionally liq_thermal_cond, vap_surface_tension, vap_thermal_cond
//   (an empty cell means "not given"); for the column rating also
//   liq_diffusivity, vap_diffusivity (m2/s) and equilibrium_slope, which a
//   simulation file does not keep.
// Lines starting with "#@" carry what is not per tray, comma-separated:
//   #@ title, <text>
//   #@ status, <number of errors and warnings of the run>
//   #@ reflux, <column>, <reflux ratio>
//   #@ heater, <column>, <name>, <duty>          (in order)
//   #@ feed, <column>, <tray>[, <stream name>]   (in order)
// Other lines starting with "#" are comments; blank lines are skipped.
// Fields may be quoted ("a, b" with "" for a quote), numbers use the point.
// A column's trays must run from 1 to its highest tray number, each once.

#include <cstddef>
#include <string>
#include <string_view>

#include "ProiiServerFile.h"

// Limits of a tray profile (docs/simulator-import.md): far beyond any real
// column, they keep a damaged or hostile file from taking the machine's memory.
inline constexpr std::size_t kMaxTrayProfileBytes = 16u << 20;
inline constexpr std::size_t kMaxTrayProfileLine = 64u << 10;
inline constexpr int kMaxTrayProfileStages = 10000;    // trays of one column, as the imports allow
inline constexpr std::size_t kMaxTrayProfileTrays = 100000; // trays of all columns together

// Refuses, before any work, a text beyond the size or line length limits or
// holding a NUL byte, with EConvertError naming source and line.
void CheckTrayProfileText(std::string_view text, const std::string& source);

// Parses the profile (CheckTrayProfileText first); throws EConvertError
// naming source and line of the first fault. The result has passed ValidateSimulation.
SimulationData ParseTrayProfile(const std::string& text, const std::string& source);

// The profile text of a simulation (directives, header and one row per
// tray, numbers in their shortest exact form), which parses back into the
// same data: "velk-simdb dump" writes it.
std::string WriteTrayProfile(const SimulationData& data);
