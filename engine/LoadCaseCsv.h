#pragma once
// The load cases of a section as a CSV file: a header row naming the
// columns (any order, any case), then one row per case:
//   name, vapour_mass_flow, liquid_mass_flow (kg/s)
//   and optionally vap_density, vap_viscosity, liq_density, liq_viscosity,
//   liq_surface_tension, liq_diffusivity, vap_diffusivity, equilibrium_slope
//   (SI, named as in the tray-profile format; an empty cell: from the page).
//   and the results a rating gives (kLoadCaseResultColumns), which the
//   reader takes and leaves: the cases are rated anew.
// Lines starting with "#" are comments, blank lines are skipped; fields may
// be quoted ("a, b", "" for a quote); numbers use the point. The text is
// UTF-8; a case name is stored without blanks at its ends (CaseName).

#include <cstddef>
#include <iterator>
#include <string>
#include <vector>

#include "LoadCases.h"

// Limits (docs/load-cases.md): far beyond any section's cases, they keep a
// damaged or hostile file from taking the machine's memory or time.
inline constexpr std::size_t kMaxLoadCaseBytes = 1u << 20;
inline constexpr std::size_t kMaxLoadCaseLine = 8u << 10;
inline constexpr std::size_t kMaxLoadCaseFields = 32;
inline constexpr std::size_t kMaxLoadCases = 200;
inline constexpr std::size_t kMaxLoadCaseName = 200;

// The results' columns after the case values, each with its unit.
struct LoadCaseResultColumn {
    const char* key;
    const char* unit;
};
inline constexpr LoadCaseResultColumn kLoadCaseResultColumns[] = {
    {"flood_percent", "%"},
    {"system_flood_percent", "%"},
    {"f_factor", "Pa^0.5"},
    {"liquid_load", "m3/(m2 h)"},
    {"pressure_drop", "Pa/m"},
    {"holdup", "m3/m3"},
    {"hetp", "m"},
    {"note", "text"},
};
inline constexpr std::size_t kLoadCaseResultCount = std::size(kLoadCaseResultColumns);

// Parses the text; throws EConvertError naming source and line of the first
// fault (NUL byte, size, line length, text that is not UTF-8 (with its
// column), fields, rows, unknown or repeated column, missing name or flow, a
// value that is not a finite positive number, a repeated case name).
std::vector<LoadCase> ParseLoadCasesCsv(const std::string& text, const std::string& source);

// The CSV text of the cases, which parses back to the same cases: the
// header with every column, a comment "# units: ..." naming each column's
// SI unit, one line per case (values in their shortest exact form, empty
// where the page gives the value). `results`, when not empty, holds for
// each case the cells of kLoadCaseResultColumns, written after its values;
// `trailer` lines follow as comments.
std::string WriteLoadCasesCsv(const std::vector<LoadCase>& cases,
                              const std::vector<std::vector<std::string>>& results = {},
                              const std::vector<std::string>& trailer = {});
