#pragma once
// The engineer's own design limits and the diameter step the fabricator
// builds in. Each limit is optional; an unset one changes nothing. One rule
// judges every figure against them, wherever the figure comes from (the
// calculation page, a comparison row, a profile stage, a load case, a bed).

#include <optional>
#include <string>
#include <vector>

#include "OperatingCheck.h"

class CalcPage;

struct DesignLimits {
    std::optional<double> maxFloodPercent;    // percent of the foaming-limited capacity A * uF
    std::optional<double> minFsFactor;        // Pa^0.5
    std::optional<double> maxBedPressureDrop; // mbar over a bed
    std::optional<double> minWettingRatio;    // uLs / uL,min
    // A maximum the diameter must not break by rounding down.
    bool AnyMaximum() const { return maxFloodPercent || maxBedPressureDrop; }
};

// The calculation page's controls holding the limits and the step (added
// controls: a project holds them only when set). Texts in fixed units:
// percent, Pa^0.5, mbar, a ratio, and a step such as "0.05m" or "6in".
inline constexpr const char* kLimitFloodField = "LimitFloodD";
inline constexpr const char* kLimitFsField = "LimitFsD";
inline constexpr const char* kLimitBedDpField = "LimitBedDpD";
inline constexpr const char* kLimitWettingField = "LimitWettingD";
inline constexpr const char* kDiameterStepField = "DiameterStepD";

// A limit's text: a finite number above 0, else nothing.
std::optional<double> ParseLimit(const std::string& text);
// The limits set on the page; a text that is no number above 0 sets none.
DesignLimits DesignLimitsOf(const CalcPage& page);

// How far beyond a limit a figure is: nothing when within it or exactly at
// it, a warning when beyond, an error when more than 10 % beyond.
std::optional<WarningSeverity> BeyondMaximum(double value, double limit);
std::optional<WarningSeverity> BeyondMinimum(double value, double limit);
inline constexpr double kLimitErrorFraction = 0.10;

// The warnings of the limits for the figures given (those that are nullopt
// are not judged). `roundedUp`: the ratio (d/dp)^2 by which rounding the
// diameter up lowered the F-factor and the wetting ratio (1 when it did not):
// a minimum broken only because of it is said so.
void AddLimitWarnings(const DesignLimits& limits, const OperatingFigures& fig, double roundedUp,
                      std::vector<OperatingWarning>& out);

// The diameter step: a number with a unit m, mm, in or ft ("0.05m", "6in").
// nullopt for anything else or a step not above 0.
std::optional<double> ParseDiameterStep(const std::string& text);
// The smallest multiple of `step` (m) not below dp (m).
double RoundUpToStep(double dp, double step);
// The smallest diameter of the default grid (10 mm below 100 mm, 50 mm up to
// 1 m, 100 mm above) not below dp.
double RoundUpToGrid(double dp);
// The one rounding rule of every sizing (page, profile bed, load cases): the
// default rule; rounded up on the chosen step, or on the default grid under
// a pressure-drop basis or with a maximum limit set, so the diameter never
// breaks what it was sized to.
double DesignDiameter(const CalcPage& page, double dp);
// True when DesignDiameter rounds up (a step, a pressure-drop basis or a maximum limit).
bool RoundsUp(const CalcPage& page);

// A diameter in feet and inches as fabricators read it ("5 ft 6 in"), the
// inches to a tenth; "" for a value that is not finite or below zero.
std::string FeetAndInchesText(double metres);

// Engine texts of the limit warnings.
extern const char* const kLimitFloodText;
extern const char* const kLimitFsText;
extern const char* const kLimitFsRoundedText;
extern const char* const kLimitBedDpText;
extern const char* const kLimitWettingText;
extern const char* const kLimitWettingRoundedText;
