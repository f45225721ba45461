#include "PressureDropDisplay.h"

#include <algorithm>
#include <map>

namespace {
PressureDropUnit g_unit = PressureDropUnit::Mbar;
std::map<int, std::function<void()>>& Subscribers()
{
    static std::map<int, std::function<void()>> s;
    return s;
}
int g_nextId = 1;
constexpr double kPaPerMbar = 100.0;
} // namespace

PressureDropUnit CurrentPressureDropUnit() { return g_unit; }

void SetPressureDropUnit(PressureDropUnit unit)
{
    if (unit == g_unit) return;
    g_unit = unit;
    // A copy: a subscriber may unsubscribe while being told.
    const auto subscribers = Subscribers();
    for (const auto& [id, changed] : subscribers)
        if (changed) changed();
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

double ShownPressureDrop(double mbar) { return g_unit == PressureDropUnit::Pa ? mbar * kPaPerMbar : mbar; }

QString PerMetrePressureDropUnit() { return g_unit == PressureDropUnit::Pa ? QStringLiteral("Pa/m") : QStringLiteral("mbar/m"); }

QString BedPressureDropUnit() { return PressureDropUnitName(g_unit); }

int PressureDropDecimals(int mbarDecimals)
{
    return g_unit == PressureDropUnit::Pa ? std::max(0, mbarDecimals - 2) : mbarDecimals;
}
