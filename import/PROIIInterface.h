#pragma once
// Access to a PRO/II simulation through the PRO/II database server, by late-
// bound automation: finding the installed server, opening a simulation file,
// listing its columns, a column's summary and one tray's liquid and vapour
// properties. Results are text lists of "key=value" lines.
//
// The module state is process-wide and used from the GUI thread only.

#include <string>
#include <vector>

#include "AutoVariant.h"
#include "TrNoop.h"

using TStringList = std::vector<std::string>;

// Version suffix of the installed server, found at start-up ("" if none).
extern std::string ProiiServerVersion;
// The database server; Empty when none is held.
extern AutoVariant ProiiServer;
// True when the last ConnectProii succeeded.
extern bool ProiiServerReady;
// The open simulation database; Empty when none is open.
extern AutoVariant ProiiDatabase;
// Full path of the last simulation file chosen.
extern std::string ProiiFileName;
// The summary of the column shown last.
extern TStringList ProiiColumnData;

inline constexpr const char* kProiiErrorText = QT_TRANSLATE_NOOP("Velk", "PROII错误！");
inline constexpr const char* kProiiStatusText = QT_TRANSLATE_NOOP("Velk", "模拟文件包含错误/警告信息！");
inline constexpr const char* kProiiProgIdPrefix = "SimSciDbs.Database.";

// Start-up of the import: registers this program's database server and
// searches the registry for the installed one (ProiiServerVersion). With an
// application object present, the server is let go of when it quits.
void InitProiiInterface();

// The version suffix of the first class in HKEY_CLASSES_ROOT\CLSID whose
// ProgID starts with "SimSciDbs.Database." (at most four characters).
std::string FindProiiServerVersion();

// Creates and initialises the server; shows "PROII错误！" and returns false
// when that fails.
bool ConnectProii();
// Opens a simulation file into ProiiDatabase; shows a warning when the
// simulation reported errors or warnings. Server errors propagate.
void OpenProiiFile(const std::string& fileName);
// Fills list with the names of the database's columns (nothing happens when
// the database is Empty). Server errors propagate.
void GetProiiColumns(const AutoVariant& database, TStringList& list);
// Fills list with the column summary. Server errors propagate, with the
// lines added so far kept.
void GetProiiColumnData(const AutoVariant& database, const std::string& columnName, TStringList& list);
// Fills list with the 17 lines of a tray's properties. Server errors
// propagate, with the lines added so far kept.
void GetProiiTrayData(const AutoVariant& database, const std::string& columnName, int tray,
                      TStringList& list);
// The value of the first line whose key is key (without regard to case),
// converted to a number; a missing key converts empty text and fails with
// EConvertError.
double GetListValue(const TStringList& list, const std::string& key);
// The text after the first "=" of the first line with that key, "" if none.
std::string GetListText(const TStringList& list, const std::string& key);

// Closing the import dialog: releases the database and the server.
void ReleaseProii();
