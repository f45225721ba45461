#pragma once
// Running the recalculation on a copy of a calculation page. A comparison
// row, a chart point or a profile stage is the page's own recalculation run
// on a copy of its inputs; the live page, its flags and the thread's
// packing parameters must not notice.

#include <functional>
#include <string>
#include <vector>

#include "CalcPage.h"
#include "Messages.h"
#include "PackingCatalogue.h"

struct CaseRunResult {
    bool completed = false;                // the recalculation ended without an error, every hydraulic input given
    std::string error;                     // text of the first error or of the missing inputs ("" when completed)
    std::vector<RecordedMessage> messages; // every message the run showed
};

// Copies the state of every control of `from` (texts, units, selections,
// check boxes, colours, read-only and must-input state), the hidden
// constants and both flags into `to`, firing no change hook of either page.
void CopyPageState(const CalcPage& from, CalcPage& to);

// Saves the calling thread's engine state (packing parameters, change hooks,
// message sink), points the hooks at `page` and the messages at `sink`, and
// puts everything back on leaving the scope.
class EngineStateScope
{
public:
    EngineStateScope(CalcPage& page, MessageSink* sink);
    ~EngineStateScope();
    EngineStateScope(const EngineStateScope&) = delete;
    EngineStateScope& operator=(const EngineStateScope&) = delete;

private:
    PackingParams packing_;
    bool* fieldHook_;
    bool* unitHook_;
    ScopedMessageSink sink_;
};

// Empties every value the engine wrote on `page` (the read-only fields: the
// results and a computed equilibrium field), leaving what the user gave.
// A case run on a copy starts from this, so that no result can come from
// the page the copy was taken from or from the case before.
void ClearResults(CalcPage& page);

// The hydraulic inputs (flows, densities, viscosities, surface tension) that
// are blank on `page`, by field name, comma separated; "" when all are given.
std::string MissingInputs(const CalcPage& page);
// Source text put before MissingInputs in an incomplete case's error.
extern const char* const kMissingInputsText;
// A case's error in place of a floating-point fault of its recalculation.
extern const char* const kOutsideModelText;

// Runs `change` (if any) and the recalculation from clean results, inside an
// EngineStateScope with the messages recorded; every error is caught and
// returned. No result of the page's previous state survives unless this
// case's equations give it: formula results are emptied first, an
// equation's result is only the start of its iteration and is dropped when
// it does not follow from the case's inputs. A case that failed or lacks a
// hydraulic input is not completed, and its page is left without results.
CaseRunResult RunCase(CalcPage& page, const std::function<void(CalcPage&)>& change = {});

// For `change`: the same handlers a user's choice runs. The recalculation is
// left to RunCase, so the choice does not recalculate on its own.
void SelectPacking(CalcPage& page, const std::string& name); // EVelkError on an unknown name
void SelectMethod(CalcPage& page, int index, bool lagrange);
