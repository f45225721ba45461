#pragma once
// Running the recalculation on a copy of a calculation page. A comparison
// row, a chart point or a profile stage is the page's own recalculation run
// on a copy of its inputs; the live page, its flags and the process-wide
// packing parameters must not notice.

#include <functional>
#include <string>
#include <vector>

#include "CalcPage.h"
#include "Messages.h"
#include "PackingCatalogue.h"

struct CaseRunResult {
    bool completed = false;                // the recalculation ended without an error
    std::string error;                     // text of the first error ("" when completed)
    std::vector<RecordedMessage> messages; // every message the run showed
};

// Copies the state of every control of `from` (texts, units, selections,
// check boxes, colours, read-only and must-input state), the hidden
// constants and both flags into `to`, firing no change hook of either page.
void CopyPageState(const CalcPage& from, CalcPage& to);

// Saves the engine's process-wide state (packing parameters, change hooks,
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

// Runs `change` (if any), then the recalculation, inside an EngineStateScope
// with the messages recorded; every error is caught and returned.
CaseRunResult RunCase(CalcPage& page, const std::function<void(CalcPage&)>& change = {});

// For `change`: the same handlers a user's choice runs. The recalculation is
// left to RunCase, so the choice does not recalculate on its own.
void SelectPacking(CalcPage& page, const std::string& name); // EVelkError on an unknown name
void SelectMethod(CalcPage& page, int index, bool lagrange);
