#pragma once
// Equilibrium equations and the heights of transfer units of a wetted-wall
// channel model of corrugated packing.

#include "PackingCatalogue.h"

// alfD, meD: slope m of the equilibrium line from the relative volatility.
double EqEquilibriumSlope(const double* v);
// meD, VD, LD, LmdD: stripping factor lambda = m V / L.
double EqStrippingFactor(const double* v);

// SI values: mass flows L, V (kg/s), actual diameter d (m), densities,
// viscosities, vapour load uVs (m/s), diffusion coefficients DL, DV (m2/s),
// stripping factor lambda.
struct MassTransferInputs {
    double L, d, rhoL, muL, rhoV, muV, uVs, V, DL, DV, lambda;
};
struct MassTransferResult {
    double HTUV, HTUL, HTUOV, HETP; // m
};

// Plain IEEE arithmetic: lambda <= 0, d = 0 or an empty packing record raise
// floating-point flags for the caller to check.
MassTransferResult MassTransferHeightsFrom(const MassTransferInputs& in, const PackingParams& p);

// HETP from the overall height of a transfer unit and the stripping factor
// lambda, the rule every mass-transfer model of the program shares.
double HetpFromTransferUnits(double HTUOV, double lambda);
