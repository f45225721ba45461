#pragma once
// The load cases of a section as a CSV file: a header row naming the
// columns (any order, any case), then one row per case:
//   name, vapour_mass_flow, liquid_mass_flow (kg/s)
//   and optionally vap_density, vap_viscosity, liq_density, liq_viscosity,
//   liq_surface_tension, liq_diffusivity, vap_diffusivity, equilibrium_slope
//   (SI, named as in the tray-profile format; an empty cell: from the page).
// Lines starting with "#" are comments, blank lines are skipped; fields may
// be quoted ("a, b", "" for a quote); numbers use the point.

#include <cstddef>
#include <string>
#include <vector>

#include "LoadCases.h"

// Limits (docs/load-cases.md): far beyond any section's cases, they keep a
// damaged or hostile file from taking the machine's memory or time.
inline constexpr std::size_t kMaxLoadCaseBytes = 1u << 20;
inline constexpr std::size_t kMaxLoadCaseLine = 8u << 10;
inline constexpr std::size_t kMaxLoadCaseFields = 16;
inline constexpr std::size_t kMaxLoadCases = 200;
inline constexpr std::size_t kMaxLoadCaseName = 200;

// Parses the text; throws EConvertError naming source and line of the first
// fault (NUL byte, size, line length, fields, rows, unknown or repeated
// column, missing name or flow, a value that is not a finite positive
// number, a repeated case name).
std::vector<LoadCase> ParseLoadCasesCsv(const std::string& text, const std::string& source);

// The CSV text of the cases (header with the columns any case uses, numbers
// in their shortest exact form), which parses back to the same cases.
std::string WriteLoadCasesCsv(const std::vector<LoadCase>& cases);
