#pragma once
// Performance curves of the chosen packing at the physical properties of the
// current case: irrigated pressure drop against the F-factor for a set of
// liquid loads (each ending at its flood point) with the dry line, liquid
// holdup against liquid load at the case's F-factor, and HETP against the
// F-factor at the case's liquid load.
//
// Every point is computed by the functions the calculation page runs: the
// flow-parameter and flooding equations of the selected method, the
// pressure-drop and holdup model and the mass-transfer heights, with the
// packing parameters the flooding equations look up. The thread's packing
// parameters are put back afterwards, and the messages an equation shows are
// collected instead of shown.

#include <optional>
#include <string>
#include <vector>

class CalcPage;

// The case the curves are drawn for, in SI units, read from a completed
// calculation page. NaN marks a value the page does not have.
struct PerformanceCase {
    std::string packing;
    int method = 0; // item index of the flooding method
    bool lagrange = false;
    std::vector<std::string> constants; // hidden constants of the first method
    double rhoL = 0, rhoV = 0, muL = 0, muV = 0, sigma = 0;
    double uLs = 0, uVs = 0, uF = 0; // loads and flood velocity, m/s
    double L = 0, V = 0, d = 0;      // mass flows (kg/s) and the actual diameter (m)
    // Mass transfer: diffusion coefficients, and the equilibrium slope m (the
    // stripping factor follows the vapour flow) or, without m, a fixed lambda.
    double DL = 0, DV = 0, slope = 0, lambda = 0;
    bool massTransfer = false;
    // The page's results at the operating point.
    double dPwet = 0, hL = 0, HETP = 0, floodPercent = 0;
};

// Reads the case from the page without touching it. False, with the reason,
// when the page lacks the data (a field empty or not a number).
bool ReadPerformanceCase(const CalcPage& page, PerformanceCase& c, std::string& why);

// Units of the curves: F-factor in Pa^0.5, pressure drop in mbar/m, liquid
// load in m3/(m2 h), holdup in m3/m3, HETP in m.
struct CurvePoint {
    double x = 0;
    double y = 0;
    bool gapBefore = false; // points beyond the model's range were left out before this one
};

struct PressureDropCurve {
    double liquidLoad = 0; // m3/(m2 h)
    bool current = false;  // the case's own liquid load
    std::vector<CurvePoint> points;
    // Flood is known by its F-factor only: the pressure-drop model says
    // nothing there, so no pressure drop is given for it.
    bool hasFlood = false;
    double floodF = 0; // F-factor where the vapour load equals the flood velocity
};

struct OperatingPoint {
    double F = 0, dp = 0, uL = 0, hL = 0, HETP = 0; // NaN where the page has no value
    double floodPercent = 0;                        // 100 uVs / uF
};

struct PerformanceCurves {
    std::vector<PressureDropCurve> pressureDrop; // by rising liquid load; load 0 is the dry line
    std::vector<CurvePoint> dry;
    std::vector<CurvePoint> holdup;
    std::vector<CurvePoint> hetp;
    // HETP of the Rocha-Bravo-Fair model on the same hydraulics, where the
    // holdup model holds; drawn beside hetp.
    std::vector<CurvePoint> hetpRbf;
    OperatingPoint operating;
    // Flood pressure drop (mbar/m) of the generalised correlation for the
    // catalogue's packing factor, a reference; none without a factor.
    std::optional<double> floodReferenceDp;
    std::string error; // first message or error of an equation, "" when none
};

// Kister and Gill's flood pressure drop, 40.9 Fp^0.7 Pa/m with Fp in 1/m, for
// the catalogue's packing factor (given per foot) of a packing, in mbar/m;
// none when the catalogue has no factor for it.
std::optional<double> FloodReferencePressureDrop(const std::string& packing);

// Default liquid loads of the pressure-drop chart, m3/(m2 h).
const std::vector<double>& DefaultCurveLiquidLoads();

// Flood velocity (m/s) of the case's method at the flow parameter of the
// loads uLs and uVs (m/s). Throws like the equations (EMathError, EAbort).
double FloodVelocityAt(const PerformanceCase& c, double uLs, double uVs);
// The vapour load (m/s) at which uVs equals the flood velocity of the liquid
// load uLs; NaN when the method gives none (for instance uLs = 0).
double FloodVapourLoad(const PerformanceCase& c, double uLs);

// One point of a curve at a liquid load (m3/(m2 h)) and F-factor (Pa^0.5):
// irrigated pressure drop (mbar/m), holdup (m3/m3), HETP (m). NaN at or
// beyond flood, or beyond the pressure-drop model's range.
double PressureDropAt(const PerformanceCase& c, double liquidLoad, double F);
double HoldupAt(const PerformanceCase& c, double liquidLoad, double F);
double HetpAt(const PerformanceCase& c, double liquidLoad, double F);

// All curves. liquidLoads in m3/(m2 h); the case's own load is added.
PerformanceCurves ComputePerformanceCurves(const PerformanceCase& c, const std::vector<double>& liquidLoads);
// The curves of a page's case as its fields stand; false with the reason
// when the page lacks the data.
bool ComputePageCurves(const CalcPage& page, const std::vector<double>& liquidLoads, PerformanceCurves& curves,
                       std::string& why);
