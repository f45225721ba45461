#pragma once
// What the calculation page sizes a column to. Today's basis is a fraction
// of flooding; a pressure-drop limit (vacuum service) or both may be chosen
// instead, and the flood velocity may be taken as the lowest of the three
// correlations. All of it is off on a new page: then nothing changes.

#include <optional>
#include <string>
#include <vector>

class CalcPage;

// Item index of the page's combo "DesignBasisD".
enum class DesignBasis { Flood = 0, PressureDrop = 1, Both = 2 };
// "flood", "pressure-drop" or "both", as velk-calc writes it.
const char* DesignBasisName(DesignBasis b);

// What a completed recalculation sized to (CalcPage::Design()).
struct DesignOutcome {
    DesignBasis basis = DesignBasis::Flood;
    std::optional<double> limit;                // Pa/m, the irrigated pressure-drop limit typed (any basis)
    std::optional<double> floodDiameter;        // m, theoretical diameter at f % of A * uF
    std::optional<double> pressureDropDiameter; // m, smallest diameter whose irrigated drop meets the limit
    std::optional<double> theoreticalDiameter;  // m, the one the page took (dpD)
    std::string governs;                        // "flood" or "pressure-drop" ("" without a limit)
    // The conservative flood velocity ("最保守泛点").
    bool conservative = false;
    std::optional<int> floodMethod;    // correlation (UfMD index) that gave the lowest flood velocity
    std::vector<int> skippedMethods;   // correlations the packing's constants exclude
};

// The inputs of the pressure-drop search at a theoretical diameter, SI.
struct PressureDropPoint {
    double L, V, rhoL, rhoV, muL, muV, sigma; // kg/s, kg/m3, Pa s, N/m
    double uF;                                // flood velocity, m/s
    double foaming;                           // A: the search stays below A * uF
};

// The highest superficial vapour velocity up (m/s) at which the irrigated
// pressure drop at the theoretical diameter (uVs = up, uLs = up L rhoV /
// (V rhoL)) does not exceed `limit` (Pa/m), by a bracketed search (Illinois)
// on the engine's PressureDropAndHoldup with the current packing parameters. nullopt when
// even just below A * uF the drop stays under the limit. Throws EVelkError
// on a floating-point fault.
std::optional<double> PressureDropLimitedVelocity(const PressureDropPoint& p, double limit);

// Relative width of the bracket at which the search stops.
inline constexpr double kDesignSearchTolerance = 1e-10;

// The flood velocity (m/s) of each correlation at the flow parameter phi
// and the properties, the one the correlation's own equation gives (method
// 2 with or without the local interpolation); nullopt for a correlation the
// packing's catalogue constants exclude. Looks the packing up.
struct FloodVelocities {
    std::optional<double> method[3];
};
FloodVelocities AllFloodVelocities(const std::string& packing, const std::vector<std::string>& hiddenConstants,
                                   bool lagrange, double phi, double muL, double muV, double rhoL, double rhoV);

// Engine text: the note naming a correlation left out of the conservative
// flood velocity; and the error when a pressure-drop basis cannot be met.
extern const char* const kSkippedMethodText;
extern const char* const kLimitUnreachedText;
