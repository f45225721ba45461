#pragma once
// The operating check: the figures an engineer reads off a computed column
// section (actual approach to flooding, F-factor, loads, bed height and
// pressure drop) and the warnings that say when a result must not be
// trusted. Read from the fields after a completed recalculation.

#include <optional>
#include <string>
#include <vector>

class CalcPage;
class TEditD;

// Info is a note: something to know, not a fault of the result.
enum class WarningSeverity { Info, Warning, Error };
// "note", "warning" or "error", as velk-calc writes it.
const char* SeverityName(WarningSeverity s);

struct OperatingWarning {
    std::string
        code; // "flooded", "over-capacity", "near-flood", "above-design", "above-pressure-drop-limit",
              // "model-range",
              // "min-wetting", "flow-parameter-range", "negative-volatility", "stale"
    std::string field; // component name of the field it concerns, e.g. "dPwaterD"
    std::string text;  // Chinese text naming the field by its caption
    WarningSeverity severity;
};

struct OperatingFigures {               // SI inside except where said; std::nullopt where undefined
    std::optional<double> floodPercent; // 100 * uVs / uF at the actual diameter
    std::optional<double>
        systemFloodPercent; // 100 * uVs / (A * uF): load against the foaming-limited capacity
    std::optional<double> designFloodPercent; // f * A (design basis), percent
    std::optional<double> FsFactor;           // uVs * sqrt(rhoV), Pa^0.5
    std::optional<double> capacityFactor;     // uVs * sqrt(rhoV / (rhoL - rhoV)), m/s
    std::optional<double> liquidLoad;         // m3/(m2 h)
    std::optional<double> wettingRatio;       // uLs / uL,min
    std::optional<double> pressureDropMbarPerM;
    std::optional<int> stages;
    std::optional<double> bedHeight;       // m
    std::optional<double> bedPressureDrop; // mbar
};

struct OperatingCheck {
    OperatingFigures figures;
    std::vector<OperatingWarning> warnings;
    // Result fields whose text the model cannot stand behind: shown as the
    // calculation gave it but marked, and no figure is built on them.
    std::vector<std::string> invalid;
    bool IsInvalid(const std::string& field) const;
};

// What the recalculation knows about its results beyond the fields' texts.
struct ModelState {
    bool pressureDropCapped =
        false; // dPwaterD holds the head of the flooded bed (PressureDropResult::capped)
};

// true when the pressure-drop/holdup model is beyond its range at this point
// (irrigated pressure drop below the dry one, or holdup at or above the void fraction).
bool ModelRangeExceeded(double dPdry, double dPwet, double holdup, double voidFraction);

// Thresholds of the warnings (their sources are in docs/operating-check.md).
inline constexpr double kNearFloodPercent = 90.0;    // actual load, percent of the system limit A * uF
inline constexpr double kRoundingExcessPoints = 5.0; // actual above design basis, percentage points
struct FlowParameterRange {
    double low, high;
};
// The flow-parameter range over which flooding method `method` (index of UfMD) is defined.
FlowParameterRange FlowParameterRangeOf(int method);

// The caption of a field as the window shows it ("" for a field without one).
const char* FieldCaption(const std::string& name);

// Fills `check` from the page's fields, the current packing parameters and
// the stale marks (`stale` lists the result fields marked out of date).
void EvaluateOperatingCheck(const CalcPage& page, const std::vector<const TEditD*>& stale,
                            OperatingCheck& check, const ModelState& model = {});
// After a failed recalculation: only the warnings about the inputs that
// the failed run computed anew (the flow parameter, and the liquid load when
// `loadsCurrent`: the groups settled before the failure) or that were typed.
void EvaluateInputWarnings(const CalcPage& page, OperatingCheck& check, bool loadsCurrent = false);

// The percentage of flood the operating diagram and the report's operating
// range put at the case's own load: the design percentage when the page is
// sized to its flooding fraction with the page's own flood velocity;
// otherwise (a given diameter rated, a pressure-drop basis, the
// conservative flood velocity) the actual percentage of flood at the
// diameter shown (NaN when there is none). Throws like TextToFloat when the
// design percentage is not a number.
double DiagramLoadPercent(const CalcPage& page);
// True when that is the design percentage.
bool DiagramAtDesignPercent(const CalcPage& page);
