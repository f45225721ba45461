#include "PressureDropDisplay.h"

#include <algorithm>
#include <map>

namespace {
PressureDropUnit g_unit = PressureDropUnit::Mbar;
UnitSystem g_system = UnitSystem::SI;
std::map<int, std::function<void()>>& Subscribers()
{
    static std::map<int, std::function<void()>> s;
    return s;
}
int g_nextId = 1;
constexpr double kPaPerMbar = 100.0;

// The exact definitions (docs/units.md).
constexpr double kMetresPerFoot = 0.3048;
constexpr double kPaPerInH2O = 1000 * 9.80665 * 0.0254; // the conventional inch of water
constexpr double kM3PerUsGallon = 3.785411784e-3;
constexpr double kKgPerPound = 0.45359237;
constexpr double kPaSPerCentipoise = 1e-3, kNPerMPerDynPerCm = 1e-3;
// One gpm/ft2 in m3/(m2 h).
constexpr double kM3PerM2HourPerGpmFt2 = kM3PerUsGallon * 60 / (kMetresPerFoot * kMetresPerFoot);

bool Us() { return g_system == UnitSystem::US; }

void TellSubscribers()
{
    // A copy: a subscriber may unsubscribe while being told.
    const auto subscribers = Subscribers();
    for (const auto& [id, changed] : subscribers)
        if (changed) changed();
}
} // namespace

UnitSystem CurrentDisplaySystem() { return g_system; }

void SetDisplaySystem(UnitSystem system)
{
    if (system == g_system) return;
    g_system = system;
    TellSubscribers();
}

QString DisplaySystemName(UnitSystem system)
{
    return system == UnitSystem::US ? QStringLiteral("US") : QStringLiteral("SI");
}

UnitSystem DisplaySystemFromName(const QString& name, UnitSystem fallback)
{
    if (name == QLatin1String("US")) return UnitSystem::US;
    if (name == QLatin1String("SI")) return UnitSystem::SI;
    return fallback;
}

double ShownFigure(FigureKind kind, double v)
{
    switch (kind) {
    case FigureKind::PressureDropPerLength:
        if (Us()) return v * kPaPerMbar * kMetresPerFoot / kPaPerInH2O;
        return g_unit == PressureDropUnit::Pa ? v * kPaPerMbar : v;
    case FigureKind::BedPressureDrop:
        if (Us()) return v * kPaPerMbar / kPaPerInH2O;
        return g_unit == PressureDropUnit::Pa ? v * kPaPerMbar : v;
    case FigureKind::Length:
    case FigureKind::Velocity:
        return Us() ? v / kMetresPerFoot : v;
    case FigureKind::LiquidLoad:
        return Us() ? v / kM3PerM2HourPerGpmFt2 : v;
    case FigureKind::MassFlow:
        return Us() ? v / (kKgPerPound / 3600) : v;
    case FigureKind::Density:
        return Us() ? v / (kKgPerPound / (kMetresPerFoot * kMetresPerFoot * kMetresPerFoot)) : v;
    case FigureKind::Viscosity:
        return Us() ? v / kPaSPerCentipoise : v;
    case FigureKind::SurfaceTension:
        return Us() ? v / kNPerMPerDynPerCm : v;
    case FigureKind::Diffusivity:
        return Us() ? v / (kMetresPerFoot * kMetresPerFoot / 3600) : v;
    }
    return v;
}

std::optional<double> ShownFigure(FigureKind kind, const std::optional<double>& v)
{
    return v ? std::optional<double>(ShownFigure(kind, *v)) : std::nullopt;
}

QString FigureUnit(FigureKind kind)
{
    switch (kind) {
    case FigureKind::PressureDropPerLength:
        return Us() ? QStringLiteral("inH2O/ft")
                    : g_unit == PressureDropUnit::Pa ? QStringLiteral("Pa/m") : QStringLiteral("mbar/m");
    case FigureKind::BedPressureDrop:
        return Us() ? QStringLiteral("inH2O") : PressureDropUnitName(g_unit);
    case FigureKind::Length:
        return Us() ? QStringLiteral("ft") : QStringLiteral("m");
    case FigureKind::Velocity:
        return Us() ? QStringLiteral("ft/s") : QStringLiteral("m/s");
    case FigureKind::LiquidLoad:
        return Us() ? QStringLiteral("gpm/ft2") : QStringLiteral("m3/(m2·h)");
    case FigureKind::MassFlow:
        return Us() ? QStringLiteral("lb/h") : QStringLiteral("kg/s");
    case FigureKind::Density:
        return Us() ? QStringLiteral("lb/ft3") : QStringLiteral("kg/m3");
    case FigureKind::Viscosity:
        return Us() ? QStringLiteral("cp") : QStringLiteral("Pa.s");
    case FigureKind::SurfaceTension:
        return Us() ? QStringLiteral("dyn/cm") : QStringLiteral("N/m");
    case FigureKind::Diffusivity:
        return Us() ? QStringLiteral("ft2/h") : QStringLiteral("m2/s");
    }
    return QString();
}

int FigureDecimals(FigureKind kind, int pageDecimals)
{
    switch (kind) {
    case FigureKind::PressureDropPerLength:
    case FigureKind::BedPressureDrop:
        // 1 mbar/m is 0.12 inH2O/ft and 1 mbar 0.4 inH2O: one digit more.
        if (Us()) return pageDecimals + 1;
        return g_unit == PressureDropUnit::Pa ? std::max(0, pageDecimals - 2) : pageDecimals;
    case FigureKind::LiquidLoad:
        // 1 m3/(m2 h) is 0.41 gpm/ft2.
        return Us() ? pageDecimals + 1 : pageDecimals;
    default:
        return pageDecimals;
    }
}

QString WithFigureUnit(QString text, FigureKind kind, const QString& pageUnit)
{
    const QString unit = FigureUnit(kind);
    const bool pressureDrop = kind == FigureKind::PressureDropPerLength || kind == FigureKind::BedPressureDrop;
    const bool pageUnitShown = !Us() && !pressureDrop;
    // The last one: a caption ends in its unit, and "m" occurs in its words too.
    const qsizetype at = text.lastIndexOf(pageUnit);
    if (pageUnitShown || unit == pageUnit || at < 0) return text;
    return text.replace(at, pageUnit.size(), unit);
}

PressureDropUnit CurrentPressureDropUnit() { return g_unit; }

void SetPressureDropUnit(PressureDropUnit unit)
{
    if (unit == g_unit) return;
    g_unit = unit;
    TellSubscribers();
}

int SubscribePressureDropUnit(std::function<void()> changed)
{
    Subscribers()[g_nextId] = std::move(changed);
    return g_nextId++;
}

void UnsubscribePressureDropUnit(int id) { Subscribers().erase(id); }

QString PressureDropUnitName(PressureDropUnit unit)
{
    return unit == PressureDropUnit::Pa ? QStringLiteral("Pa") : QStringLiteral("mbar");
}

PressureDropUnit PressureDropUnitFromName(const QString& name, PressureDropUnit fallback)
{
    if (name == QLatin1String("Pa")) return PressureDropUnit::Pa;
    if (name == QLatin1String("mbar")) return PressureDropUnit::Mbar;
    return fallback;
}

double ShownPressureDrop(double mbar) { return ShownFigure(FigureKind::PressureDropPerLength, mbar); }

QString PerMetrePressureDropUnit() { return FigureUnit(FigureKind::PressureDropPerLength); }

QString BedPressureDropUnit() { return FigureUnit(FigureKind::BedPressureDrop); }

int PressureDropDecimals(int mbarDecimals) { return FigureDecimals(FigureKind::PressureDropPerLength, mbarDecimals); }
