#pragma once
// The user's own packings: a UTF-8 CSV file with the grid's 13 columns in
// their order, its first line the grid's headings, its first column (the row
// number) ignored. Every row is checked before any is taken
// (docs/user-packings.md gives the ranges and why), so that a broken file
// changes nothing and names all of its faults at once.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "PackingCatalogue.h"

// Limits: far beyond a catalogue anyone keeps, they keep a damaged file
// from taking the machine's memory or time.
inline constexpr std::size_t kMaxUserCatalogueBytes = 1u << 20;
inline constexpr std::size_t kMaxUserCatalogueLine = 4096;
inline constexpr std::size_t kMaxUserPackings = 500;
inline constexpr std::size_t kMaxUserPackingName = 64;
inline constexpr std::size_t kMaxUserPackingRemark = 200;
inline constexpr std::size_t kMaxUserCatalogueErrors = 100;

// One fault: line from 1 (0: the file as a whole), column from 1 (the
// table's column, 0: the line as a whole), and what is wrong (English, as
// the other CSV readers say it).
struct UserCatalogueError {
    int line = 0;
    int column = 0;
    std::string what;
};

struct UserCatalogue {
    std::vector<CatalogueRow> rows;
    std::vector<UserCatalogueError> errors; // rows is empty whenever this is not
};

// Parses and checks a file's text.
UserCatalogue ParseUserCatalogue(std::string_view text);

// The faults of one row among the catalogue's: others are the user rows it
// sits with (its own name not among them). Line is put into each fault.
std::vector<UserCatalogueError> CheckUserPacking(const CatalogueRow& row,
                                                 const std::vector<CatalogueRow>& others, int line = 0);

// "SOURCE:LINE:COLUMN: WHAT", one a line, each fault as a reader sees it.
std::string UserCatalogueErrorsText(const std::vector<UserCatalogueError>& errors, const std::string& source);

// The file's text for rows: headings, then one line a row (UTF-8, LF),
// which ParseUserCatalogue reads back to the same rows.
std::string UserCatalogueText(const std::vector<CatalogueRow>& rows);

// One row as a CSV line (no line end), and back: the project keeps the row
// of its user packing so. False (row untouched) when the line does not
// split into the table's columns.
std::string UserPackingLine(const CatalogueRow& row);
bool UserPackingFromLine(const std::string& line, CatalogueRow& row);
