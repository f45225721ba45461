#pragma once
// The user's catalogue on disk: read through ReadRegularFile, written
// through SafeReplaceFile; where the window keeps it by default.

#include <string>
#include <vector>

#include "UserPackings.h"

// Reads the file at path: the catalogue, or the faults (a file that cannot
// be read is one fault on line 0).
UserCatalogue ReadUserCatalogueFile(const std::string& path);

// Takes the file at path as the user's rows when it has no fault. Returns
// the faults; with any, the catalogue stays as it was.
std::vector<UserCatalogueError> LoadUserCatalogueFile(const std::string& path);

// Writes rows to path. Throws EInOutError.
void WriteUserCatalogueFile(const std::string& path, const std::vector<CatalogueRow>& rows);

// The window's default: packings.csv in the user's data folder for the
// program ($XDG_DATA_HOME/velk, or ~/.local/share/velk).
std::string DefaultUserCatalogueFile();

// Checks rows as a whole catalogue (each row against the others), writes
// them to path and only then makes them the user's rows. Returns the faults
// (line = the row from 1) and changes nothing when there are any; throws
// EInOutError (changing nothing) when the file cannot be written.
std::vector<UserCatalogueError> CommitUserPackings(const std::string& path,
                                                   const std::vector<CatalogueRow>& rows);
