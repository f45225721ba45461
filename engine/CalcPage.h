#pragma once
// Headless model of the calculation page of the main window: every value
// field with its unit selector, the drop-down lists, the check box, the
// project text boxes and the comment, the two flags, and the recalculation.
// The main window binds its widgets to these models; the project files, the
// report and the command-line calculator use them directly.

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "BaseLib.h"
#include "ComboBoxU.h"
#include "Controls.h"
#include "DesignBasis.h"
#include "EditD.h"
#include "OperatingCheck.h"
#include "StaleMarks.h"

class CalcPage
{
public:
    // installHooks: point the thread's change hooks at this page's flags
    // (the host window does this once; tests may build several pages).
    explicit CalcPage(bool installHooks = true);
    ~CalcPage();
    CalcPage(const CalcPage&) = delete;
    CalcPage& operator=(const CalcPage&) = delete;

    void InstallHooks();

    // Controls by component name; nullptr when there is none of that kind.
    TEditD* Field(const std::string& name) const;
    TComboBoxU* Unit(const std::string& name) const;
    TComboModel* Combo(const std::string& name) const;
    TCheckModel* Check(const std::string& name) const;
    TTextModel* TextBox(const std::string& name) const;
    TControl* Control(const std::string& name) const; // any kind, exact name
    TControl* FindControlNoCase(const std::string& name) const;

    // Every control in the order the window owns them (the legacy project
    // layout depends on this order).
    const std::vector<TControl*>& Controls() const { return order_; }
    // The controls appended after that order was fixed (CBRating, StagesD,
    // DesignBasisD, DpLimitD, CBConservative, DesignHetpD, and the design limits, the
    // diameter step and the column design's fields of ColumnDesign.h):
    // the legacy layout neither reads nor writes them, and a project holds
    // them only when they differ from their start state.
    bool IsAddition(const TControl* c) const;
    const std::vector<TEditD*>& ValueFields() const { return fields_; }
    // The unit selector that drives a field, or nullptr.
    TComboBoxU* UnitOf(const TEditD* field) const;

    // The hidden name-value list of the first flooding correlation.
    std::vector<std::string> HiddenConstants;

    // Inputs changed since the last completed recalculation.
    bool NeedsRecalc = false;
    // The project changed since it was started, opened or saved.
    bool Modified = false;

    // The recalculation. Errors propagate (after their messages) to the caller.
    void LDExit();
    // Runs LDExit and reports an error the way the application's default
    // error report does; returns true when the recalculation completed.
    bool RecalcReported();

    // Change handlers.
    void ProjectDChange();
    void AfDChange();
    void UfMDChange();
    // Click of CBRating: dD becomes an input (checked) or follows the
    // rounding again (unchecked); recalculates at once.
    void RatingChange();
    // Sets CBRating and the state of dD without recalculating.
    void SetRatingMode(bool rating);

    // What the last completed recalculation sized to: the design basis
    // (DesignBasisD: flood / pressure-drop limit DpLimitD in mbar/m / both)
    // and the conservative flood velocity (CBConservative); which governed.
    const DesignOutcome& Design() const { return design_; }

    // The operating figures and warnings of the last completed
    // recalculation; empty after a failed one.
    const OperatingCheck& Operation() const { return operation_; }
    // A result field whose value no longer follows from the current inputs.
    bool IsStale(const TEditD* field) const { return stale_.IsStale(field); }
    // A result field whose text the model cannot stand behind (beyond its
    // range); kept, like the stale marks, through a failed recalculation.
    bool IsInvalid(const TEditD* field) const;
    // The messages of the last recalculation when it failed (one a line); "" after a
    // completed one (CaseState reads it).
    const std::string& LastFailure() const { return failure_; }
    // Takes over the marks above (and what they rest on) with a copy of the page's fields.
    void CopyModelMarks(const CalcPage& from);
    // Brings Operation() and the stale marks up to date from the fields;
    // the end of every completed LDExit does this.
    void UpdateOperation();
    // Runs after every recalculation that ran (completed or failed), so that
    // a view can show the figures, the warnings and the stale marks.
    std::function<void()> OnOperationChanged;

    // The clearing part of the New command.
    void ResetForNew();
    // Puts the added controls back to their start state (before a project is
    // read: a project without them means that state).
    void ResetAdditions();

    // Names of the fifteen result fields.
    static const std::vector<std::string>& ResultFieldNames();

private:
    template <class T, class... Args> T* Add(Args&&... args);
    TEditD* AddField(const std::string& name, bool mustInput, bool result);
    TComboBoxU* AddUnit(const std::string& name, TEditD* field);
    bool RunPass();
    bool Solve(const std::vector<TEditD*>& group, TColor colour, double start, const Equation& eq);
    void ComputePressureDrop();
    // The design basis and the conservative flood velocity (CalcPageDesign.cpp).
    bool SolveConservativeFlood();
    bool SolveOperatingVelocity(const std::string& fpercent, const std::string& foaming);
    std::optional<double> DesignLimit() const;
    void UpdateDesign();
    bool SolveSlope();
    void RequirePositiveCorrelation(const std::vector<TEditD*>& group, TColor colour,
                                    const Equation& eq) const;
    void ComputeMassTransfer();
    void SetDiameterInput(bool input);
    void BuildStaleRules();
    // The constructor's parts (CalcPageSetup.cpp).
    void SetStartStatesAndHints();
    void AssignHandlers();
    std::vector<TEditD*> Group(std::initializer_list<const char*> names) const;
    // The equation groups, made once.
    struct Groups {
        std::vector<TEditD*> flowParameter, maxLoadFactor, floodFromLoad, loadFromFlood, billet, kisterGill,
            operatingVelocity, diameter, liquidLoad, vapourLoad, slope, stripping, pressureDropInputs,
            massTransferInputs, roundingInput, pressureDropAll, massTransferAll, designVelocity;
    } groups_;
    // The dependencies of the results for each flooding method (index 3: none
    // selected; 4 to 7 the same under a pressure-drop limit); the last rule,
    // dD from dpD, holds only while sizing.
    std::array<std::vector<ResultDependency>, 8> staleRules_;
    StaleMarks stale_;
    OperatingCheck operation_;
    DesignOutcome design_;
    std::vector<std::string> invalid_;
    std::string failure_;
    bool pressureDropCapped_ = false; // the last pressure drop written was the flooded bed's head
    TCheckModel* rating_ = nullptr;
    std::size_t additionsBegin_ = 0;

    std::vector<std::unique_ptr<TControl>> owned_;
    std::vector<TControl*> order_;
    std::unordered_map<std::string, TControl*> byName_;
    std::vector<TEditD*> fields_;
};

// Colours of the equations (Windows colour values).
namespace EqColour
{
inline constexpr TColor FlowParameter = RGBColor(255, 0, 0);
inline constexpr TColor LoadFactor = RGBColor(0, 0, 255);
inline constexpr TColor FloodVelocity = RGBColor(128, 128, 128);
inline constexpr TColor OperatingVelocity = RGBColor(255, 255, 0);
inline constexpr TColor TheoreticalDiameter = RGBColor(0, 255, 255);
inline constexpr TColor LiquidLoad = RGBColor(0xA6, 0xCA, 0xF0);
inline constexpr TColor VapourLoad = RGBColor(0xC0, 0xDC, 0xC0);
inline constexpr TColor EquilibriumSlope = RGBColor(128, 128, 0);
inline constexpr TColor StrippingFactor = RGBColor(192, 192, 192);
} // namespace EqColour

inline constexpr int kMaxRecalcPasses = 1000;
