#pragma once
// Design velocity, theoretical diameter and the loads at the actual diameter
// (residual equations over the SI values v of their field groups), and the
// rounding of the theoretical to the actual diameter.

#include <string>

// UfD, UpD. The flood percentage and the foaming factor are converted from
// their texts at every evaluation (EConvertError when not a number).
double EqOperatingVelocity(const double* v, const std::string& fpercentText, const std::string& foamingText);
// VD, UpD, DvD, dpD
double EqTheoreticalDiameter(const double* v);
// LD, VD, DvD, DlD, dpD, dD, UpD, UlsD
double EqLiquidLoad(const double* v);
// dpD, dD, UpD, UvsD
double EqVapourLoad(const double* v);

// Actual diameter in m for the theoretical diameter dp in m: 10 mm steps below
// 100 mm, 50 mm steps up to 1 m, 100 mm steps above.
double RoundColumnDiameter(double dp);
