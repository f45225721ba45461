#pragma once
// The heights of transfer units of a computed case by more than one
// mass-transfer model, their spread, and the HETP the design takes.
// The calculation page's own heights (HTUVD ... HETPD) are the first model
// and stay what they are; the others are read beside them.

#include <optional>
#include <string>
#include <vector>

#include "PackingCatalogue.h"

class CalcPage;

enum class EfficiencyModel { Specified, RochaBravoFair };
inline constexpr int kEfficiencyModelCount = 2;

// Which HETP the design takes: one model's, or the largest of the completed
// ones (the conservative choice). Specified is the start state.
enum class DesignHetpChoice { Specified, RochaBravoFair, Largest };

// Names as velk-calc writes and reads them: "specified", "rbf", "max".
const char* EfficiencyModelName(EfficiencyModel m);
const char* DesignHetpChoiceName(DesignHetpChoice c);
bool DesignHetpChoiceFromName(const std::string& name, DesignHetpChoice& out);

// SI values: superficial loads uLs, uVs (m/s), densities, viscosities, surface
// tension sigma (N/m), diffusion coefficients DL, DV (m2/s), stripping factor
// lambda and the liquid holdup hL (m3/m3) of the pressure-drop model.
struct RbfInputs {
    double uLs, uVs, rhoL, rhoV, muL, muV, sigma, DL, DV, lambda, hL;
};
struct ModelHeights {
    double HTUV = 0, HTUL = 0, HTUOV = 0, HETP = 0; // m
    double effectiveArea = 0;                       // m2/m3
};

// The surface-enhancement factor of the packing type's sheet texture.
double SurfaceEnhancementFactor(const std::string& packingType);

// Rocha, Bravo and Fair (1996) on the program's hydraulics: the effective
// area from the pressure-drop model's wetting factor, the film and gas
// velocities from its holdup. Plain IEEE arithmetic: the caller checks the
// floating-point flags.
ModelHeights RbfHeights(const RbfInputs& in, const PackingParams& p, double surfaceEnhancement);

struct EfficiencyModelResult {
    EfficiencyModel model = EfficiencyModel::Specified;
    bool completed = false;
    ModelHeights heights;            // meaningful only when completed
    bool hasArea = false;            // the specified model has no effective area of its own
    std::string error;               // why it did not complete (an engine text), "" otherwise
    bool areaAboveGeometric = false; // a_e / a > 1: more area than the sheets have
};

struct EfficiencyResult {
    std::vector<EfficiencyModelResult> models; // in EfficiencyModel order
    std::optional<double> spread;              // largest / smallest HETP of the completed models
    DesignHetpChoice design = DesignHetpChoice::Specified;
    std::optional<double> designHetp; // m; none when the chosen model failed
};

// Every model on the page's last computed case (the page itself is not
// changed), the spread and the design HETP of the choice. invalid: the
// beyond-the-model marks to judge by (an operating check being made);
// nullptr takes the page's.
EfficiencyResult EvaluateEfficiency(const CalcPage& page, DesignHetpChoice choice,
                                    const std::vector<std::string>* invalid = nullptr);

// The spread and the design HETP of the models' results: both over the
// completed models only; the design HETP is none when the chosen model failed.
EfficiencyResult SummariseEfficiency(std::vector<EfficiencyModelResult> models, DesignHetpChoice choice);

// The HETP the packed height is built on (no margin: the column design adds
// its own once).
std::optional<double> DesignHetp(const EfficiencyResult& result);

// The page's choice (its DesignHetpD); Specified is the start state.
DesignHetpChoice DesignHetpChoiceOf(const CalcPage& page);
void SetDesignHetpChoice(CalcPage& page, DesignHetpChoice choice);
// The HETP the page's packed height, beds and column design are built on:
// with the start-state choice the page's HETPD exactly as before (none when
// blank, stale or beyond the model), otherwise DesignHetp of the choice.
std::optional<double> ChosenHetp(const CalcPage& page, const std::vector<std::string>* invalid = nullptr);

// The note for an effective area beyond the geometric one (an engine text).
extern const char* const kAreaAboveGeometricText;
