#include "HysysInterface.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>

#include "AutoRegistry.h"
#include "FloatGuard.h"
#include "LocalAutoClient.h"
#include "Messages.h"
#include "TrNoop.h"

AutoVariant HysysApp;
bool HysysAttached = false;

namespace
{

// A value read from HYSYS, checked on its own: the reads run the event
// loop, whose platform code may leave floating-point flags set.
std::string Real(double v)
{
    return AutoFloatToStr(CheckedResult([v] { return v; }));
}

// Viscosity and surface tension come in mPa s and mN/m.
double Thousandth(double v)
{
    return CheckedResult([v] { return v / 1000; });
}

AutoVariant Flowsheet()
{
    return HysysApp.Get("ActiveDocument").Get("Flowsheet");
}

AutoVariant Stage(const AutoVariant& stages, int i)
{
    return stages.Call("Item", {AutoVariant(i)}).Get("SeparationStage");
}

int g_deadlineMs = kHysysImportDeadlineMs;
HysysProgress g_progress;
bool g_importRunning = false;

// One import (a column list or a stage record) from start to end: its
// deadline, its progress and the wait hook of the connection. Imports do not
// nest: the window stays responsive during one, and a second click must not
// start another inside it.
class ImportScope
{
public:
    ImportScope() : start_(std::chrono::steady_clock::now())
    {
        if (g_importRunning) throw EAbort();
        g_importRunning = true;
        LocalAutoConnection::SetWaitHook([this] { Checkpoint(done_, total_); });
    }
    ~ImportScope()
    {
        LocalAutoConnection::SetWaitHook({});
        g_importRunning = false;
    }
    ImportScope(const ImportScope&) = delete;
    ImportScope& operator=(const ImportScope&) = delete;

    // Between two calls and while one waits: past the deadline the import
    // ends with an error, a cancel ends it silently (the progress throws).
    void Checkpoint(int done, int total)
    {
        done_ = done;
        total_ = total;
        if (std::chrono::steady_clock::now() - start_ > std::chrono::milliseconds(g_deadlineMs))
            throw EAutoError(kHysysProgId,
                             QCoreApplication::translate("Velk", "HYSYS 导入超过 %1 秒，已停止。")
                                 .arg(g_deadlineMs / 1000.0)
                                 .toStdString());
        if (g_progress) g_progress(done, total);
    }

private:
    std::chrono::steady_clock::time_point start_;
    int done_ = 0;
    int total_ = 0;
};

// A count from HYSYS, checked before anything loops over it.
int CheckedCount(const AutoVariant& count, int limit, const char* what)
{
    const int n = count.ToInt();
    if (n < 0 || n > limit)
        throw EAutoError(kHysysProgId, QCoreApplication::translate("Velk", "HYSYS 返回的%1数目无效：%2")
                                           .arg(QCoreApplication::translate("Velk", what))
                                           .arg(n)
                                           .toStdString());
    return n;
}

} // namespace

void SetHysysImportDeadline(int ms)
{
    g_deadlineMs = ms > 0 ? ms : kHysysImportDeadlineMs;
}

void SetHysysProgress(HysysProgress progress)
{
    g_progress = std::move(progress);
}

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
    } catch (const EAbort&) {
        // Cancelled while the attach waited: no HYSYS error to show.
        HysysAttached = false;
        throw;
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
    ImportScope scope;
    if (!ConnectHysys()) return false;
    const int n = CheckedCount(Flowsheet().Call("Operations", {"ColumnOp"}).Get("Count"), kMaxHysysOperations,
                               QT_TRANSLATE_NOOP("Velk", "塔器模块"));
    for (int i = 0; i < n; ++i) {
        scope.Checkpoint(i, n);
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
    ImportScope scope;
    if (!ConnectHysys()) return;
    const AutoVariant stages = Flowsheet()
                                   .Get("Operations")
                                   .Call("Item", {AutoVariant(columnName)})
                                   .Get("ColumnFlowsheet")
                                   .Get("ColumnStages");
    const int n = CheckedCount(stages.Get("Count"), kMaxHysysStages, QT_TRANSLATE_NOOP("Velk", "塔板"));

    double maxV = 0, maxL = 0;
    int stageV = 0, stageL = 0;
    double densityV = 0, viscosityV = 0, densityL = 0, viscosityL = 0, tensionL = 0;

    // The end stages (condenser and reboiler) are left out of the search.
    const int first = stageIndex < 0 ? 1 : stageIndex;
    const int last = stageIndex < 0 ? n - 2 : stageIndex;
    for (long long index = first; index <= last; ++index) {
        const int i = static_cast<int>(index); // a 64-bit counter cannot overflow at INT_MAX
        scope.Checkpoint(static_cast<int>(index - first), static_cast<int>(last - first + 1));
        const double fv = Stage(stages, i).Get("Vapour").Get("MassFlow").ToDouble();
        if (fv > maxV) {
            maxV = fv;
            stageV = i;
            const AutoVariant vapour = Stage(stages, i).Get("Vapour");
            densityV = vapour.Get("MassDensity").ToDouble();
            viscosityV = Thousandth(vapour.Get("VapourPhase").Get("Viscosity").ToDouble());
        }
        const double fl = Stage(stages, i).Get("Liquid").Get("MassFlow").ToDouble();
        if (fl > maxL) {
            maxL = fl;
            stageL = i;
            const AutoVariant liquid = Stage(stages, i).Get("Liquid");
            densityL = liquid.Get("MassDensity").ToDouble();
            viscosityL = Thousandth(liquid.Get("LightLiquidPhase").Get("Viscosity").ToDouble());
            tensionL = Thousandth(liquid.Get("LightLiquidPhase").Get("SurfaceTension").ToDouble());
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
