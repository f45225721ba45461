// The display units of the newer pages: each kind of figure in SI (mbar or
// Pa for the pressure drops) and in US customary units, from the
// definitions written out here.
#include <gtest/gtest.h>

#include <cmath>

#include "PressureDropDisplay.h"

namespace {

constexpr double kFt = 0.3048;                    // m
constexpr double kInH2O = 1000 * 9.80665 * 0.0254; // Pa
constexpr double kGpmPerFt2 = 3.785411784e-3 / 60 / (kFt * kFt); // m/s
constexpr double kLb = 0.45359237;                // kg

struct Case {
    UnitSystem system;
    PressureDropUnit pressure;
    FigureKind kind;
    double pageValue; // mbar/m, mbar, m, m3/(m2 h), m/s
    double shown;
    const char* unit;
    int decimals; // for 2 in the page unit
    const char* caption; // "Diameter (m)" as shown
};

const Case kCases[] = {
    {UnitSystem::SI, PressureDropUnit::Mbar, FigureKind::PressureDropPerLength, 2.5, 2.5, "mbar/m", 2, "Drop (mbar/m)"},
    {UnitSystem::SI, PressureDropUnit::Pa, FigureKind::PressureDropPerLength, 2.5, 250, "Pa/m", 0, "Drop (Pa/m)"},
    {UnitSystem::US, PressureDropUnit::Pa, FigureKind::PressureDropPerLength, 2.5, 250 * kFt / kInH2O, "inH2O/ft", 3,
     "Drop (inH2O/ft)"},
    {UnitSystem::SI, PressureDropUnit::Pa, FigureKind::BedPressureDrop, 40, 4000, "Pa", 0, "Drop (Pa)"},
    {UnitSystem::US, PressureDropUnit::Mbar, FigureKind::BedPressureDrop, 40, 4000 / kInH2O, "inH2O", 3,
     "Drop (inH2O)"},
    {UnitSystem::SI, PressureDropUnit::Pa, FigureKind::Length, 1.6, 1.6, "m", 2, "Diameter (m)"},
    {UnitSystem::US, PressureDropUnit::Mbar, FigureKind::Length, 1.6, 1.6 / kFt, "ft", 2, "Diameter (ft)"},
    {UnitSystem::SI, PressureDropUnit::Mbar, FigureKind::LiquidLoad, 36, 36, "m3/(m2·h)", 2, "Load (m3/(m2·h))"},
    {UnitSystem::US, PressureDropUnit::Mbar, FigureKind::LiquidLoad, 36, 0.01 / kGpmPerFt2, "gpm/ft2", 3,
     "Load (gpm/ft2)"},
    {UnitSystem::SI, PressureDropUnit::Mbar, FigureKind::Velocity, 2.1, 2.1, "m/s", 2, "Velocity (m/s)"},
    {UnitSystem::US, PressureDropUnit::Mbar, FigureKind::Velocity, 2.1, 2.1 / kFt, "ft/s", 2, "Velocity (ft/s)"},
    {UnitSystem::SI, PressureDropUnit::Pa, FigureKind::MassFlow, 2.5, 2.5, "kg/s", 2, "Value (kg/s)"},
    {UnitSystem::US, PressureDropUnit::Mbar, FigureKind::MassFlow, 2.5, 2.5 * 3600 / kLb, "lb/h", 2, "Value (lb/h)"},
    {UnitSystem::US, PressureDropUnit::Mbar, FigureKind::Density, 800, 800 * kFt * kFt * kFt / kLb, "lb/ft3", 2,
     "Value (lb/ft3)"},
    {UnitSystem::US, PressureDropUnit::Mbar, FigureKind::Viscosity, 3e-4, 0.3, "cp", 2, "Value (cp)"},
    {UnitSystem::US, PressureDropUnit::Mbar, FigureKind::SurfaceTension, 0.02, 20, "dyn/cm", 2, "Value (dyn/cm)"},
    {UnitSystem::US, PressureDropUnit::Mbar, FigureKind::Diffusivity, 2e-9, 2e-9 * 3600 / (kFt * kFt), "ft2/h", 2,
     "Value (ft2/h)"},
};

const char* PageCaption(FigureKind kind)
{
    switch (kind) {
    case FigureKind::PressureDropPerLength: return "Drop (mbar/m)";
    case FigureKind::BedPressureDrop: return "Drop (mbar)";
    case FigureKind::Length: return "Diameter (m)";
    case FigureKind::LiquidLoad: return "Load (m3/(m2·h))";
    case FigureKind::Velocity: return "Velocity (m/s)";
    case FigureKind::MassFlow: return "Value (kg/s)";
    case FigureKind::Density: return "Value (kg/m3)";
    case FigureKind::Viscosity: return "Value (Pa.s)";
    case FigureKind::SurfaceTension: return "Value (N/m)";
    case FigureKind::Diffusivity: return "Value (m2/s)";
    }
    return "";
}

const char* PageUnit(FigureKind kind)
{
    switch (kind) {
    case FigureKind::PressureDropPerLength: return "mbar/m";
    case FigureKind::BedPressureDrop: return "mbar";
    case FigureKind::Length: return "m";
    case FigureKind::LiquidLoad: return "m3/(m2·h)";
    case FigureKind::Velocity: return "m/s";
    case FigureKind::MassFlow: return "kg/s";
    case FigureKind::Density: return "kg/m3";
    case FigureKind::Viscosity: return "Pa.s";
    case FigureKind::SurfaceTension: return "N/m";
    case FigureKind::Diffusivity: return "m2/s";
    }
    return "";
}

class DisplayUnits : public ::testing::Test {
protected:
    void TearDown() override
    {
        SetDisplaySystem(UnitSystem::SI);
        SetPressureDropUnit(PressureDropUnit::Mbar);
    }
};

} // namespace

TEST_F(DisplayUnits, EachKindOfFigureInEachSystem)
{
    for (const Case& c : kCases) {
        SetDisplaySystem(c.system);
        SetPressureDropUnit(c.pressure);
        SCOPED_TRACE(c.unit);
        EXPECT_NEAR(ShownFigure(c.kind, c.pageValue), c.shown, 1e-12 * c.shown);
        EXPECT_EQ(ShownFigure(c.kind, std::optional<double>()), std::nullopt);
        EXPECT_EQ(FigureUnit(c.kind), QString::fromUtf8(c.unit));
        EXPECT_EQ(FigureDecimals(c.kind, 2), c.decimals);
        EXPECT_EQ(WithFigureUnit(QString::fromUtf8(PageCaption(c.kind)), c.kind, QString::fromUtf8(PageUnit(c.kind))),
                  QString::fromUtf8(c.caption));
    }
}

TEST_F(DisplayUnits, TheOlderPressureDropFunctionsFollowTheSystem)
{
    SetPressureDropUnit(PressureDropUnit::Pa);
    EXPECT_DOUBLE_EQ(ShownPressureDrop(3), 300);
    EXPECT_EQ(PerMetrePressureDropUnit(), "Pa/m");
    EXPECT_EQ(BedPressureDropUnit(), "Pa");
    EXPECT_EQ(PressureDropDecimals(2), 0);
    int told = 0;
    PressureDropUnitWatch watch([&] { ++told; });
    SetDisplaySystem(UnitSystem::US);
    EXPECT_EQ(told, 1);
    EXPECT_NEAR(ShownPressureDrop(3), 300 * kFt / kInH2O, 1e-15);
    EXPECT_EQ(PerMetrePressureDropUnit(), "inH2O/ft");
    EXPECT_EQ(BedPressureDropUnit(), "inH2O");
    SetDisplaySystem(UnitSystem::US); // no change, no news
    EXPECT_EQ(told, 1);
    EXPECT_EQ(DisplaySystemFromName(DisplaySystemName(UnitSystem::US), UnitSystem::SI), UnitSystem::US);
    EXPECT_EQ(DisplaySystemFromName("metric", UnitSystem::US), UnitSystem::US);
}
