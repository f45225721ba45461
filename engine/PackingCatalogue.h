#pragma once
// The built-in catalogue of corrugated structured packings and the
// program-wide parameters of the packing last looked up.

#include <array>
#include <string>
#include <vector>

// SI values: a in m2/m3, eps void fraction, h, B2 (corrugation base 2B), S and
// dh in m, theta in rad, uLmin (minimum liquid load) in m/s.
struct PackingParams {
    double a = 0, eps = 0, h = 0, B2 = 0, S = 0, theta = 0, dh = 0, uLmin = 0;
};

// Written by every evaluation of a flooding equation; read by the pressure
// drop, mass transfer, diagram and report. Zero until the first lookup.
// Each thread has its own, like the hooks and the message sink: a column
// rating may run on a worker while the window calculates.
extern thread_local PackingParams CurrentPacking;

inline constexpr int kCatalogueColumns = 13;
using CatalogueRow = std::array<std::string, kCatalogueColumns>;

// Column numbers of the catalogue cells.
enum CatalogueColumn : int {
    ColNumber = 0,
    ColType = 1,
    ColArea = 2,
    ColVoid = 3,
    ColCf = 4, // constant of the load-factor correlation
    ColCrest = 5,
    ColBase = 6,
    ColSide = 7,
    ColAngle = 8,
    ColHydraulicDiameter = 9,
    ColCf1 = 10, // constant of the Billet correlation
    ColF = 11,   // packing factor of the Kister-Gill correlation
    ColRemark = 12,
};

// The 27 built-in rows, then the user's rows (UserPackings.h), cell texts in
// UTF-8 exactly as shown in the grid. The reference stays valid for the
// life of the program, also after the user's rows change, so that a worker
// iterating it never sees a row vanish under it.
const std::vector<CatalogueRow>& PackingCatalogue();
inline constexpr std::size_t kBuiltInPackings = 27;
// Whether row i of PackingCatalogue() is one of the user's.
bool IsUserPacking(std::size_t i);
// The user's rows, as given to SetUserPackings (row numbers renumbered).
std::vector<CatalogueRow> UserPackings();
// Replaces the user's rows (checked by the caller: UserPackings.h) and
// numbers them on from the built-in rows. The built-in rows never change.
void SetUserPackings(std::vector<CatalogueRow> rows);
// Counts the changes of the user's rows, so that a view can tell it shows an old state.
std::size_t CatalogueGeneration();
// The 13 column headings of the grid.
const char* const* CatalogueHeadings();

// The leading run of "+-.0123456789Ee" of the trimmed cell: the number in
// front of a note such as "38*Billet法估算"; empty when the cell has none.
std::string NumericPrefix(const std::string& cell);

// Finds the first row whose type name equals type (case-sensitive), stores
// its geometry into CurrentPacking and returns NumericPrefix of the cell in
// the given column.
// An unknown type throws EVelkError; a geometry cell that is not a number
// throws EConvertError. CurrentPacking is left untouched on either error.
std::string LookUpPacking(const std::string& type, int column);

// CurrentPacking.uLmin from CurrentPacking.a.
void SetMinLiquidLoad();
