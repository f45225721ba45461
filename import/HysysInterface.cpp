#include "HysysInterface.h"

#include <QCoreApplication>

#include <algorithm>

#include "AutoRegistry.h"
#include "FloatGuard.h"
#include "LocalAutoClient.h"
#include "Messages.h"

AutoVariant HysysApp;
bool HysysAttached = false;

namespace
{

std::string Real(double v)
{
    return AutoFloatToStr(CheckedResult(v));
}

AutoVariant Flowsheet()
{
    return HysysApp.Get("ActiveDocument").Get("Flowsheet");
}

AutoVariant Stage(const AutoVariant& stages, int i)
{
    return stages.Call("Item", {AutoVariant(i)}).Get("SeparationStage");
}

} // namespace

void InitHysysInterface()
{
    RegisterLocalAutoProvider(kHysysProgId, "Application");
    // The attachment holds a socket, which must close while the application
    // object still exists, not among the static destructors.
    if (QCoreApplication* app = QCoreApplication::instance())
        QObject::connect(app, &QCoreApplication::aboutToQuit, [] { ReleaseHysys(); });
}

bool ConnectHysys()
{
    HysysAttached = true;
    try {
        // A new attach replaces the old one, whether or not it succeeds: an
        // application that stopped answering is not worth holding.
        HysysApp = AutoVariant();
        HysysApp = AutoVariant(GetActiveOleObject(kHysysProgId));
        HysysApp.Get("Version").ToString();
    } catch (const ELocalPeerRefused& e) {
        // Not our HYSYS: say why, so that the user can see the other user.
        HysysAttached = false;
        ShowMessage(MsgKind::Error, std::string(kHysysErrorText) + "\n" + e.what());
    } catch (const std::exception&) {
        HysysAttached = false;
        ShowMessage(MsgKind::Error, kHysysErrorText);
    }
    return HysysAttached;
}

bool GetHysysColumns(TStringList& list)
{
    if (!ConnectHysys()) return false;
    const int n = Flowsheet().Call("Operations", {"ColumnOp"}).Get("Count").ToInt();
    for (int i = 0; i < n; ++i) {
        const std::string name = Flowsheet()
                                     .Call("Operations", {"ColumnOp"})
                                     .Call("Item", {AutoVariant(i)})
                                     .Get("Name")
                                     .ToString();
        if (std::find(list.begin(), list.end(), name) == list.end()) list.push_back(name);
    }
    return true;
}

void GetHysysStageData(const std::string& columnName, int stageIndex, TStringList& list)
{
    if (!ConnectHysys()) return;
    const AutoVariant stages = Flowsheet()
                                   .Get("Operations")
                                   .Call("Item", {AutoVariant(columnName)})
                                   .Get("ColumnFlowsheet")
                                   .Get("ColumnStages");
    const int n = stages.Get("Count").ToInt();

    double maxV = 0, maxL = 0;
    int stageV = 0, stageL = 0;
    double densityV = 0, viscosityV = 0, densityL = 0, viscosityL = 0, tensionL = 0;

    // The end stages (condenser and reboiler) are left out of the search.
    const int first = stageIndex < 0 ? 1 : stageIndex;
    const int last = stageIndex < 0 ? n - 2 : stageIndex;
    for (long long index = first; index <= last; ++index) {
        const int i = static_cast<int>(index); // a 64-bit counter cannot overflow at INT_MAX
        const double fv = Stage(stages, i).Get("Vapour").Get("MassFlow").ToDouble();
        if (fv > maxV) {
            maxV = fv;
            stageV = i;
            const AutoVariant vapour = Stage(stages, i).Get("Vapour");
            densityV = vapour.Get("MassDensity").ToDouble();
            viscosityV = vapour.Get("VapourPhase").Get("Viscosity").ToDouble() / 1000;
        }
        const double fl = Stage(stages, i).Get("Liquid").Get("MassFlow").ToDouble();
        if (fl > maxL) {
            maxL = fl;
            stageL = i;
            const AutoVariant liquid = Stage(stages, i).Get("Liquid");
            densityL = liquid.Get("MassDensity").ToDouble();
            viscosityL = liquid.Get("LightLiquidPhase").Get("Viscosity").ToDouble() / 1000;
            tensionL = liquid.Get("LightLiquidPhase").Get("SurfaceTension").ToDouble() / 1000;
        }
    }

    // Only a complete record is added.
    const TStringList record = {"MaxVNo=" + std::to_string(stageV),
                                "Fv=" + Real(maxV),
                                "Dv=" + Real(densityV),
                                "Vv=" + Real(viscosityV),
                                "  ",
                                "MaxLNo=" + std::to_string(stageL),
                                "Fl=" + Real(maxL),
                                "Dl=" + Real(densityL),
                                "Vl=" + Real(viscosityL),
                                "Sl=" + Real(tensionL)};
    list.insert(list.end(), record.begin(), record.end());
}

void ReleaseHysys()
{
    HysysApp = AutoVariant();
    HysysAttached = false;
}
