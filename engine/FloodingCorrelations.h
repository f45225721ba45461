#pragma once
// Residual equations of the flow parameter and of the three flooding
// correlations. Each returns expression - (value of the result field) for the
// SI values v of its field group, in group order. They use plain IEEE
// arithmetic: invalid inputs yield NaN or infinity and raise the floating-point
// flags, which the caller checks (FloatGuard).

#include "TrNoop.h"
#include <string>
#include <vector>

// Text of the message shown when the selected packing has no packing factor
// for the Kister-Gill correlation.
inline constexpr const char* kMissingPackingFactorText = QT_TRANSLATE_NOOP("Velk", "填料参数不全，无法使用该泛点算法。");

// The four constants of the load-factor polynomial as "name=value" entries.
const std::vector<std::string>& DefaultHiddenConstants();

// Value of the entry "key=..." (exact key); a missing entry reads as the
// empty text, so it fails like a value that is not a number (EConvertError).
double ReadHiddenConstant(const std::vector<std::string>& nameValueList, const std::string& key);

// LD, VD, DvD, DlD, FpD
double EqFlowParameter(const double* v);
// FpD, CgmaxD. Looks the packing up (load-factor constant Cf).
double EqMaxLoadFactor(const double* v, const std::string& packingType,
                       const std::vector<std::string>& constants);
// CgmaxD, DlD, DvD, UfD
double EqFloodVelocityFromLoadFactor(const double* v);
// DlD, DvD, UfD, CgmaxD
double EqLoadFactorFromFloodVelocity(const double* v);
// MlD, MvD, DlD, DvD, FpD, UfD. Looks the packing up (Cf1, a, eps).
double EqFloodVelocityBillet(const double* v, const std::string& packingType);
// MlD, DlD, DvD, FpD, UfD. Looks the packing up (F). A packing without F
// shows kMissingPackingFactorText and throws EAbort.
double EqFloodVelocityKisterGill(const double* v, const std::string& packingType, bool lagrange);

// Index 0..3 of the Kister-Gill coefficient set for a flooding pressure drop.
int KisterGillCoefficientSet(double dPfl);
// Capacity parameter of the fitted Kister-Gill chart.
double KisterGillCapacity(double phi, double dPfl);

// Row 0, columns 1..5: flooding pressure drops of the chart curves; column 0,
// rows 1..33: flow parameters; the rest: capacity parameters.
extern const double KisterGillChart[34][6];

// First row and first column of the 3 x 3 block used by Interpolate2D.
struct GridBlock {
    int row, col;
};
GridBlock InterpolationBlock(const double (&table)[34][6], double phi, double dP);

// Quadratic Lagrange interpolation (extrapolation outside the table) in phi
// and dP over the block chosen by InterpolationBlock.
double Interpolate2D(const double (&table)[34][6], double phi, double dP);
