#pragma once
// Load cases of one column section: the minimum, normal and maximum loads
// (and start-up or revamp cases) checked against one diameter, and the
// operating window of the normal case at that diameter. Every case is the
// calculation page's own recalculation run on a copy of the page (RunCase);
// the page itself is only read.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ColumnProfile.h"
#include "OperatingCheck.h"

class CalcPage;

struct LoadCase {
    std::string name;
    // V and L (kg/s) are required; every other value is optional and, when
    // absent, comes from the page. Same members and fields as a profile
    // stage (kProfileValues): DvD, MvD, DlD, MlD, SLD, DlfD, DvfD, meD.
    ProfileStage values;
};

struct CaseResult {
    std::string name;
    bool completed = false;
    std::string error;                         // why the case failed or is incomplete
    std::vector<std::string> fromPage;         // fields whose value came from the page
    std::optional<double> theoreticalDiameter; // m, from the sizing run (sizing mode) or the rated run
    OperatingFigures figures;                  // floodPercent, systemFloodPercent, FsFactor, liquidLoad, ...
    std::optional<double> pressureDrop;        // irrigated, Pa/m (not one beyond the model)
    std::optional<double> holdup;              // m3/m3
    std::optional<double> HETP;                // m
    std::vector<OperatingWarning> warnings;
};

// Lowest F-factor of the vapour side before the distribution and the
// efficiency data of corrugated sheet packings end (docs/load-cases.md).
inline constexpr double kMinFFactor = 0.5; // Pa^0.5

// Operating window of the normal case at the section's diameter, its vapour
// and liquid flows scaled together by a factor k (constant L/V).
struct OperatingWindow {
    bool valid = false;
    std::string note;                // engine text: why there is no window
    double minFactor = 0;            // k of the lowest load
    double maxFactor = 0;            // k of the highest load
    double turndown = 0;             // maxFactor / minFactor
    std::string minLimit;            // "min-wetting" or "min-f-factor"
    std::string maxLimit;            // "design-flood" or "pressure-drop"
    double minFFactor = kMinFFactor; // Pa^0.5, the vapour side's minimum (also without a window)
    // The ends as flows, for the diagram's band (kg/s).
    double minV = 0, minL = 0, maxV = 0, maxL = 0;
};

struct EnvelopeResult {
    std::vector<CaseResult> cases;  // in the given order
    std::optional<int> normal;      // index of the normal case
    std::optional<int> governing;   // index: highest systemFloodPercent of the completed cases
    std::optional<double> diameter; // m: the section's diameter the cases are rated at
    std::optional<int> sizing;      // index of the case whose theoretical diameter set it (sizing mode)
    OperatingWindow window;
};

// The normal case: the first named "正常" or "normal" (trimmed, any case),
// else the first case; nullopt for no cases.
std::optional<int> NormalCaseIndex(const std::vector<LoadCase>& cases);

// Writes a case into a page as the import dialogs write values (SI through
// SetValue); returns the fields left to the page. The double click of the
// cases page loads a case into the calculation page with this.
std::vector<std::string> ApplyLoadCase(CalcPage& page, const LoadCase& c);

// Loads a case into the page as its row was rated: its values, and with the
// section's diameter the page rates that diameter, so that the page shows
// the very numbers of the case's row. Returns the fields left to the page.
std::vector<std::string> LoadCaseAsRated(CalcPage& page, const LoadCase& c, std::optional<double> diameter);

// What loading the case would replace on the page: the value fields whose
// text would change ("dD" for the diameter, "CBRating" for the mode), in
// the page's order. The page itself is not touched.
std::vector<std::string> FieldsLoadingReplaces(const CalcPage& page, const LoadCase& c,
                                               std::optional<double> diameter);

// Called after each case's last run with the page in its final state.
using CaseObserver = std::function<void(const CalcPage& page, const CaseResult& result)>;

// Rates every case at the section's diameter: in sizing mode each case is
// sized first and the diameter is the largest theoretical diameter rounded
// as the page rounds; in rating mode (CBRating) the page's typed diameter.
// Then the window of the normal case. `page` is only read.
EnvelopeResult RateLoadCases(const CalcPage& page, const std::vector<LoadCase>& cases,
                             const CaseObserver& observe = {});

// The window at the completed page `rated` of the normal case (its loads,
// properties and diameter), with the page's design basis. Uses the packing
// of that page. Throws EVelkError on a floating-point fault.
OperatingWindow ComputeOperatingWindow(const CalcPage& rated);

// Engine texts of the window's notes.
extern const char* const kNoNormalCaseText;
extern const char* const kEmptyWindowText;
