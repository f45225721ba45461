#pragma once
// Access to the case open in a running HYSYS, by late-bound automation on
// the running object "HYSYS.Application": attaching (never starting it),
// listing the column operations and reading a column's stage record, the
// ten lines
//   MaxVNo=, Fv=, Dv=, Vv=, "  ", MaxLNo=, Fl=, Dl=, Vl=, Sl=
// of the stage with the largest vapour and the stage with the largest liquid
// mass flow (or of one named stage).
//
// The module state is process-wide and used from the GUI thread only.

#include <functional>
#include <string>
#include <vector>

#include "AutoVariant.h"
#include "TrNoop.h"

using TStringList = std::vector<std::string>;

// The attached HYSYS application; Empty before the first attach.
extern AutoVariant HysysApp;
// True when the last ConnectHysys succeeded.
extern bool HysysAttached;

inline constexpr const char* kHysysErrorText = QT_TRANSLATE_NOOP("Velk", "Hysys错误！");
inline constexpr const char* kHysysProgId = "HYSYS.Application";

// Bounds on the counts HYSYS reports; a larger or negative count is an error
// rather than a loop (docs/simulator-import.md says where they come from).
inline constexpr int kMaxHysysOperations = 10000;
inline constexpr int kMaxHysysStages = 10000;
// One import (listing the columns or reading a stage record) ends with an
// error after this long, besides the time-out of each call.
inline constexpr int kHysysImportDeadlineMs = 60000;
void SetHysysImportDeadline(int ms);

// Called between the calls of an import and while one waits (done of total
// steps): a window shows progress and throws EAbort when the user cancels.
using HysysProgress = std::function<void(int done, int total)>;
void SetHysysProgress(HysysProgress progress);

// Start-up of the import: makes a HYSYS running as its own process (the
// stand-in velk-hysys) reachable through the running-object table. With an
// application object present, the attachment is let go of when it quits.
void InitHysysInterface();

// Attaches to the running HYSYS and asks for its version; shows
// "Hysys错误！" and returns false when it is not running or does not answer.
bool ConnectHysys();
// Attaches afresh and adds the names of the column operations to list, each
// name once. False (and nothing added) when the attach failed. Errors after
// the attach propagate, with the names added so far kept.
bool GetHysysColumns(TStringList& list);
// Attaches afresh and adds the ten lines of the stage record of a column;
// stageIndex < 0 searches stages 1 to n-2, otherwise that one stage is read.
// Adds nothing when the attach failed; errors after it propagate and add
// nothing.
void GetHysysStageData(const std::string& columnName, int stageIndex, TStringList& list);

// Program end: lets go of the application.
void ReleaseHysys();
