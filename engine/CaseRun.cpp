#include "CaseRun.h"

#include <algorithm>
#include <utility>

#include "FloatGuard.h"
#include "TrNoop.h"

namespace
{

void CopyField(const TEditD& from, TEditD& to)
{
    // Empty first, so that taking over the unit factor converts nothing.
    to.SetText("");
    to.SetExchange(from.Exchange());
    to.SetText(from.Text());
    to.SetMyResolved(from.MyResolved());
    to.SetFontColor(from.FontColor());
    to.SetColor(from.Color());
    to.SetReadOnly(from.ReadOnly());
    to.SetCursor(from.Cursor());
    to.SetMyLabel(from.MyLabel());
}

void CopyUnit(const TComboBoxU& from, TComboBoxU& to)
{
    // The factor travels with the field; the selector only takes the index.
    const bool loading = to.Loading;
    to.Loading = true;
    to.SetItemIndex(from.ItemIndex());
    to.Loading = loading;
}

void CopyCombo(const TComboModel& from, TComboModel& to)
{
    if (to.Items() != from.Items()) to.SetItems(from.Items());
    if (from.Editable())
        to.SetText(from.Text());
    else
        to.SetItemIndex(from.ItemIndex());
}

void CopyControl(const TControl& from, TControl& to)
{
    if (auto* f = dynamic_cast<const TEditD*>(&from))
        CopyField(*f, dynamic_cast<TEditD&>(to));
    else if (auto* u = dynamic_cast<const TComboBoxU*>(&from))
        CopyUnit(*u, dynamic_cast<TComboBoxU&>(to));
    else if (auto* c = dynamic_cast<const TComboModel*>(&from))
        CopyCombo(*c, dynamic_cast<TComboModel&>(to));
    else if (auto* k = dynamic_cast<const TCheckModel*>(&from))
        dynamic_cast<TCheckModel&>(to).SetChecked(k->Checked());
    else if (auto* t = dynamic_cast<const TTextModel*>(&from))
        dynamic_cast<TTextModel&>(to).SetText(t->Text());
    to.SetEnabled(from.Enabled());
}

// Without these nothing hydraulic can be computed; the diffusivities and the
// equilibrium only feed the mass-transfer heights.
const char* const kHydraulicInputs[] = {"VD", "DvD", "MvD", "LD", "DlD", "MlD", "SLD"};

} // namespace

const char* const kMissingInputsText = QT_TRANSLATE_NOOP("Velk", "数据不全：");
const char* const kOutsideModelText = QT_TRANSLATE_NOOP("Velk", "输入超出关联式的计算范围");

void ClearResults(CalcPage& page)
{
    for (TEditD* f : page.ValueFields()) {
        if (!f->ReadOnly()) continue; // an input, or a result the user gave
        if (f->Color() == clWindow || f->Color() == clBtnFace)
            f->SetText(""); // written by a formula or not yet: keeps its result style
        else
            ClearComputedField(
                *f); // an equation's (its colour): blank, so that the solver computes it afresh
    }
}

namespace
{

// The start of a case. The results written by a formula (diameter rounding,
// pressure drop, holdup, mass transfer) are emptied: each run writes them
// anew or leaves them empty. An equation's result stays as the start of its
// iteration only: the solver re-solves it in every pass and keeps it only
// as a root of this case's equation (within its tolerance); where it cannot
// (a blank input), DropStaleResults takes it away after the run. Starting
// the iterations from nothing would cost the comparison a third more time
// for the same figures.
void ClearFormulaResults(CalcPage& page)
{
    for (TEditD* f : page.ValueFields())
        if (f->ReadOnly() && (f->Color() == clWindow || f->Color() == clBtnFace)) f->SetText("");
}

// After a completed run: a result that does not follow from this case's
// inputs (the page's own stale marks) is none of its figures.
void DropStaleResults(CalcPage& page)
{
    bool dropped = false;
    for (TEditD* f : page.ValueFields())
        if (f->ReadOnly() && page.IsStale(f)) dropped = ClearComputedField(*f) || dropped;
    // The figures and marks then follow the fields as they are.
    if (dropped) page.UpdateOperation();
}

} // namespace

std::string MissingInputs(const CalcPage& page)
{
    std::string missing;
    for (const char* name : kHydraulicInputs)
        if (page.Field(name)->IsBlank()) missing += (missing.empty() ? "" : ", ") + std::string(name);
    return missing;
}

void CopyPageState(const CalcPage& from, CalcPage& to)
{
    if (&from == &to) return;
    // The hooks may point at the live page: park them while the copy's
    // texts change, and do not run the copy's change handlers either.
    bool* const fieldHook = TEditD::FieldChangeFlag;
    bool* const unitHook = TComboBoxU::UnitChangeFlag;
    TEditD::FieldChangeFlag = nullptr;
    TComboBoxU::UnitChangeFlag = nullptr;
    const auto& source = from.Controls();
    const auto& target = to.Controls();
    std::vector<TControl::Handler> handlers(target.size());
    for (size_t i = 0; i < target.size(); ++i)
        handlers[i] = std::exchange(target[i]->OnChange, nullptr);
    for (size_t i = 0; i < source.size() && i < target.size(); ++i)
        CopyControl(*source[i], *target[i]);
    for (size_t i = 0; i < target.size(); ++i)
        target[i]->OnChange = std::move(handlers[i]);
    TEditD::FieldChangeFlag = fieldHook;
    TComboBoxU::UnitChangeFlag = unitHook;
    to.HiddenConstants = from.HiddenConstants;
    to.NeedsRecalc = from.NeedsRecalc;
    to.Modified = from.Modified;
    to.CopyModelMarks(from); // the copied texts keep their beyond-the-model marks
}

EngineStateScope::EngineStateScope(CalcPage& page, MessageSink* sink)
    : packing_(CurrentPacking), fieldHook_(TEditD::FieldChangeFlag), unitHook_(TComboBoxU::UnitChangeFlag),
      sink_(sink)
{
    page.InstallHooks();
}

EngineStateScope::~EngineStateScope()
{
    CurrentPacking = packing_;
    TEditD::FieldChangeFlag = fieldHook_;
    TComboBoxU::UnitChangeFlag = unitHook_;
}

CaseRunResult RunCase(CalcPage& page, const std::function<void(CalcPage&)>& change)
{
    CaseRunResult result;
    RecordingSink sink;
    {
        EngineStateScope scope(page, &sink);
        try {
            if (change) change(page);
            ClearFormulaResults(page);
            page.NeedsRecalc = true;
            // As the window and velk-calc report it: the same messages.
            result.completed = page.RecalcReported();
        } catch (const std::exception& e) {
            ReportError(e);
        }
        // The solver's general warning says less than the error's own text,
        // which comes before it (a packing without data) or after it (a
        // floating-point error).
        if (!result.completed)
            for (const auto& m : sink.messages)
                if (result.error.empty() || result.error == kInputErrorText) result.error = m.text;
        // In a table of cases the floating-point fault says nothing about the
        // case; what it means there is that the correlations cannot take it.
        for (const char* math : {kInvalidOpText, kZeroDivideText, kOverflowText})
            if (result.error == math) result.error = kOutsideModelText;
        if (const std::string missing = MissingInputs(page); result.completed && !missing.empty()) {
            result.completed = false;
            result.error = kMissingInputsText + missing;
        }
        // Still inside the scope: the hooks point at this page, not the live one.
        if (!result.completed) {
            ClearResults(page);
            // Its marks and warnings follow the emptied results: none is stale.
            page.UpdateOperation();
        } else
            DropStaleResults(page);
    }
    result.messages = std::move(sink.messages);
    return result;
}

void SelectPacking(CalcPage& page, const std::string& name)
{
    TComboModel* packing = page.Combo("PTD");
    const auto& items = packing->Items();
    const auto it = std::find(items.begin(), items.end(), name);
    if (it == items.end()) throw EVelkError("unknown packing: " + name);
    page.NeedsRecalc = true;
    packing->UserSelect(static_cast<int>(it - items.begin()));
}

void SelectMethod(CalcPage& page, int index, bool lagrange)
{
    page.NeedsRecalc = true;
    page.Check("CBLagrange")->SetChecked(lagrange);
    page.Combo("UfMD")->UserSelect(index);
}
