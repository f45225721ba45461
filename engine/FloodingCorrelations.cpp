#include "FloodingCorrelations.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "Messages.h"
#include "NumberText.h"
#include "PackingCatalogue.h"
#include "TextToFloat.h"

const std::vector<std::string>& DefaultHiddenConstants()
{
    static const std::vector<std::string> constants = {
        "b0=0.05429633",
        "b1=-0.01563052",
        "b2=-0.01466563",
        "b3=-0.00031961",
    };
    return constants;
}

double ReadHiddenConstant(const std::vector<std::string>& nameValueList, const std::string& key)
{
    // Read at every evaluation of the equation: views, no copies.
    std::string_view value;
    for (const std::string& entry : nameValueList) {
        const std::size_t eq = entry.find('=');
        if (eq == key.size() && entry.compare(0, eq, key) == 0) {
            value = std::string_view(entry).substr(eq + 1);
            break;
        }
    }
    double number;
    if (!ParseNumber(TrimView(value), number))
        throw EConvertError("'" + std::string(value) + "' is not a valid floating point value");
    return number;
}

double EqFlowParameter(const double* v)
{
    const double L = v[0], V = v[1], rhoV = v[2], rhoL = v[3], phi = v[4];
    return (L / V) * std::sqrt(rhoV / rhoL) - phi;
}

// Packing lookup shared by the flooding equations: refreshes the current
// packing and, with it, the minimum liquid load, so both always describe the
// same packing even when the evaluation fails afterwards.
static std::string LookUpForFlooding(const std::string& packingType, int column)
{
    std::string constant = LookUpPacking(packingType, column);
    SetMinLiquidLoad();
    return constant;
}

double EqMaxLoadFactor(const double* v, const std::string& packingType,
                       const std::vector<std::string>& constants)
{
    const double phi = v[0], cmax = v[1];
    const double cf = TextToFloat(LookUpForFlooding(packingType, ColCf));
    // The list is read at every evaluation; its converted values are kept
    // while its text stays the same, which it does through a whole solve.
    thread_local std::vector<std::string> lastList;
    thread_local double b[4] = {0, 0, 0, 0};
    if (constants != lastList) {
        const double read[4] = {ReadHiddenConstant(constants, "b0"), ReadHiddenConstant(constants, "b1"),
                                ReadHiddenConstant(constants, "b2"), ReadHiddenConstant(constants, "b3")};
        std::copy(read, read + 4, b);
        lastList = constants;
    }
    const double b0 = b[0], b1 = b[1], b2 = b[2], b3 = b[3];
    double c;
    if (phi > 0.1 && phi < 1.0) {
        c = b0 + b1 * phi * phi * phi + b2 * std::log(phi) + b3 / phi;
    } else {
        c = 0.00843489079648332 / std::sqrt(phi) + 0.0102412282751297 +
            1.70507290803625 * std::pow(10.0, -1.51924568080743 - 0.605122611380947 * phi);
    }
    return cf * c - cmax;
}

double EqFloodVelocityFromLoadFactor(const double* v)
{
    const double cmax = v[0], rhoL = v[1], rhoV = v[2], uF = v[3];
    return cmax * std::sqrt((rhoL - rhoV) / rhoV) - uF;
}

double EqLoadFactorFromFloodVelocity(const double* v)
{
    const double rhoL = v[0], rhoV = v[1], uF = v[2], cmax = v[3];
    return uF / std::sqrt((rhoL - rhoV) / rhoV) - cmax;
}

double EqFloodVelocityBillet(const double* v, const std::string& packingType)
{
    const double muL = v[0], muV = v[1], rhoL = v[2], rhoV = v[3], phi = v[4], uF = v[5];
    const double cf1 = TextToFloat(LookUpForFlooding(packingType, ColCf1));
    const double a = CurrentPacking.a, eps = CurrentPacking.eps;
    // Holdup at the flood point; the divisor is a reference kinematic
    // viscosity in m2/s.
    const double hFl = 0.3741 * eps * std::pow((muL / rhoL) / 1.0068122620717291e-06, 0.05);
    const double n = phi <= 0.4 ? -0.194 : -0.708;
    const double uFcalc = 1.414214 * cf1 * std::pow(phi * std::pow(muL / muV, 0.2), n) *
                          std::pow(eps - hFl, 1.5) * std::pow(rhoL * hFl / (a * rhoV * eps), 0.5);
    return uFcalc - uF;
}

namespace
{
// k0 .. k7 of the four coefficient sets of the fitted chart.
const double kKisterGillCoefficients[4][8] = {
    {-1.26574810448635, -263.958820337239, -0.00155947665939388, 3.40262217299814, 0.722061853048625,
     -0.340813795155689, 1.88533397929564, -0.429792488483874},
    {1.1814196633968, 414.163842717907, 0.000436371118488387, -2.98689801575166, -0.501488738585079,
     -0.834314748452051, 0.553140840329553, 0.105823880601332},
    {3.15761270391197, -12.459857145967, -0.000901844220348759, -2.81543618094201, -0.251814533098764,
     -0.132056305924385, 0.0671245388526004, 0.258261379770195},
    {-17.500485868284, -1629.05824327416, -0.000288626307335321, 22.1110527192909, 0.675260444584683,
     -0.276728764433238, 0.28503286722598, -0.0214105699236682},
};
} // namespace

int KisterGillCoefficientSet(double dPfl)
{
    // The thresholds are in the unit of dPfl itself, so every catalogue
    // packing (dPfl of a few hundred) falls into the last set.
    if (dPfl < 0.3001) return 0;
    if (dPfl < 0.60001) return 1;
    if (dPfl < 1.20001) return 2;
    return 3;
}

double KisterGillCapacity(double phi, double dPfl)
{
    const double* k = kKisterGillCoefficients[KisterGillCoefficientSet(dPfl)];
    const double l = std::log10(phi);
    return (k[6] * std::pow(dPfl, k[7]) + k[5]) *
           (k[0] + k[1] / dPfl + k[2] * dPfl + k[3] * l + k[4] * l * l);
}

double EqFloodVelocityKisterGill(const double* v, const std::string& packingType, bool lagrange)
{
    const double muL = v[0], rhoL = v[1], rhoV = v[2], phi = v[3], uF = v[4];
    const std::string fText = LookUpForFlooding(packingType, ColF);
    if (fText.empty()) {
        ShowMessage(MsgKind::Warning, kMissingPackingFactorText);
        throw EAbort();
    }
    const double F = TextToFloat(fText);
    const double dPfl = 40.916 * std::pow(F, 0.7);
    // The fitted value is computed even when the chart is interpolated, so
    // that its failures (phi <= 0) are reported in either mode.
    double cp = KisterGillCapacity(phi, dPfl);
    if (lagrange) cp = 3.6141 * Interpolate2D(KisterGillChart, phi, dPfl);
    const double uFcalc =
        0.1528 * cp * std::pow(F, -0.5) * std::pow(muL / rhoL, -0.05) * std::pow(rhoV / (rhoL - rhoV), -0.5);
    return uFcalc - uF;
}

const double KisterGillChart[34][6] = {
    {0.0, 120.0, 300.0, 600.0, 1200.0, 1800.0},      {0.002, 0.2133, 0.335, 0.494, 0.6551, 0.705},
    {0.003, 0.2123, 0.334, 0.478, 0.625, 0.672},     {0.004, 0.2113, 0.333, 0.468, 0.602, 0.646},
    {0.005, 0.2103, 0.3311, 0.46, 0.5851, 0.6256},   {0.006, 0.2081, 0.3291, 0.4535, 0.573, 0.6098},
    {0.007, 0.2081, 0.3289, 0.4469, 0.5623, 0.5979}, {0.008, 0.2081, 0.3279, 0.4412, 0.5513, 0.5869},
    {0.009, 0.2081, 0.3269, 0.4349, 0.5427, 0.577},  {0.01, 0.206, 0.3259, 0.4327, 0.5344, 0.5688},
    {0.02, 0.2038, 0.3128, 0.4046, 0.4824, 0.5126},  {0.03, 0.1995, 0.3041, 0.3874, 0.4533, 0.4781},
    {0.04, 0.1973, 0.2945, 0.3723, 0.4306, 0.4521},  {0.05, 0.194, 0.2879, 0.3593, 0.4143, 0.4349},
    {0.06, 0.1909, 0.2812, 0.3507, 0.4003, 0.4188},  {0.07, 0.1874, 0.2727, 0.342, 0.3874, 0.4068},
    {0.08, 0.1849, 0.2676, 0.3334, 0.3767, 0.396},   {0.09, 0.181, 0.2621, 0.3268, 0.3673, 0.3862},
    {0.1, 0.1787, 0.2578, 0.3188, 0.3568, 0.3757},   {0.2, 0.1606, 0.2254, 0.2752, 0.302, 0.3173},
    {0.3, 0.1477, 0.2038, 0.2447, 0.2686, 0.2816},   {0.4, 0.1369, 0.1887, 0.2211, 0.243, 0.2556},
    {0.5, 0.1292, 0.1757, 0.2061, 0.2256, 0.2384},   {0.6, 0.1239, 0.1628, 0.1909, 0.2103, 0.2232},
    {0.7, 0.1173, 0.1508, 0.18, 0.1962, 0.2081},     {0.8, 0.1106, 0.1425, 0.1693, 0.1865, 0.1973},
    {0.9, 0.1062, 0.1347, 0.1606, 0.1741, 0.1865},   {1.0, 0.1022, 0.1269, 0.1519, 0.1671, 0.1779},
    {2.0, 0.0678, 0.0829, 0.0923, 0.1065, 0.1173},   {3.0, 0.05, 0.063, 0.071, 0.079, 0.087},
    {4.0, 0.036, 0.046, 0.053, 0.062, 0.07},         {5.0, 0.027, 0.035, 0.041, 0.048, 0.055},
    {6.0, 0.023, 0.03, 0.037, 0.042, 0.048},         {7.0, 0.009, 0.0155, 0.0218, 0.0282, 0.035},
};

GridBlock InterpolationBlock(const double (&table)[34][6], double phi, double dP)
{
    // Columns: start at the first curve at or above dP (not one before it).
    int col = 4;
    for (int c = 1; c <= 5; ++c) {
        if (dP <= table[0][c]) {
            col = c;
            break;
        }
    }
    if (col > 3) col = 3;
    // Rows: start one before the first flow parameter at or above phi.
    int row = 32;
    for (int r = 1; r <= 33; ++r) {
        if (phi <= table[r][0]) {
            row = r;
            break;
        }
    }
    if (row > 1) --row;
    if (row > 31) row = 31;
    return {row, col};
}

double Interpolate2D(const double (&table)[34][6], double phi, double dP)
{
    const GridBlock block = InterpolationBlock(table, phi, dP);
    double weightP[3], weightQ[3];
    for (int p = 0; p < 3; ++p) {
        weightP[p] = 1.0;
        for (int m = 0; m < 3; ++m) {
            if (m != p)
                weightP[p] *=
                    (dP - table[0][block.col + m]) / (table[0][block.col + p] - table[0][block.col + m]);
        }
    }
    for (int q = 0; q < 3; ++q) {
        weightQ[q] = 1.0;
        for (int m = 0; m < 3; ++m) {
            if (m != q)
                weightQ[q] *=
                    (phi - table[block.row + m][0]) / (table[block.row + q][0] - table[block.row + m][0]);
        }
    }
    double sum = 0.0;
    for (int p = 0; p < 3; ++p)
        for (int q = 0; q < 3; ++q)
            sum += weightP[p] * weightQ[q] * table[block.row + q][block.col + p];
    return sum;
}
