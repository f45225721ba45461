#include "PROIIInterface.h"

#include <QCoreApplication>
#include <QString>

#include "AutoRegistry.h"
#include "FloatGuard.h"
#include "Messages.h"
#include "ProiiServer.h"
#include "Registry.h"
#include "TextToFloat.h"

std::string ProiiServerVersion;
AutoVariant ProiiServer;
bool ProiiServerReady = false;
AutoVariant ProiiDatabase;
std::string ProiiFileName;
TStringList ProiiColumnData;

namespace
{

constexpr const char* kSeparatorAll = "============ALL==========================";
constexpr const char* kSeparatorLiquid = "============Liquid=======================";
constexpr const char* kSeparatorVapour = "============Vapuid=======================";

// A value read from the server, or arithmetic on values read before: the
// reads stay outside, since a reply may run the event loop, and the platform
// code that runs there may leave floating-point flags set.
template <class Operation> std::string Real(Operation&& operation)
{
    return AutoFloatToStr(CheckedResult(operation));
}

std::string Real(double v)
{
    return Real([v] { return v; });
}

// The column name as the server expects it: a wide string, passed by
// reference, so it lives in a variable of the caller.
AutoVariant WideName(const std::string& name)
{
    return AutoVariant(QString::fromStdString(name).toStdU16String());
}

AutoVariant Attribute(const AutoVariant& object, const char* name)
{
    return object.Call("GetAttribute", {name});
}

AutoVariant Attribute(const AutoVariant& object, const char* name, int index)
{
    return object.Call("GetAttribute", {name, AutoVariant(index)});
}

// One half of a tray read: copies the tray's liquid (phase 2) or vapour
// (phase 1) into a temporary stream and appends the lines of that phase.
void ReadTrayPhase(const AutoVariant& database, AutoVariant& column, AutoVariant& tray, int phase,
                   const char* streamName, TStringList& list, AutoVariant& stream, AutoVariant& bulk)
{
    const bool liquid = phase == 2;
    database.Call("CreateObject", {"Stream", streamName});
    database.Call("CopyTrayToStream", {AutoVariant::ByRef(column), AutoVariant::ByRef(tray),
                                       AutoVariant(phase), AutoVariant(0), AutoVariant(2), streamName});
    database.Call("CalculateStreamProps", {streamName});
    stream = database.Call("ActivateObject", {"Stream", streamName});
    bulk = database.Call("ActivateObject", {"SrBulkProp", streamName});

    if (liquid) {
        list.push_back(kSeparatorAll);
        const double kelvin = Attribute(stream, "Temperature").ToDouble();
        list.push_back("Temperature=" + Real([kelvin] { return kelvin - 273.15; }));
        list.push_back("Pressure=" + Real(Attribute(stream, "Pressure").ToDouble()));
        list.push_back(kSeparatorLiquid);
    }
    const std::string p = liquid ? "Liq" : "Vap";
    for (const char* prop : {"DensityAct", "Viscosity", "SurfTension", "ThermalCond"}) {
        const std::string key = p + prop;
        list.push_back(key + "=" + Real(Attribute(bulk, key.c_str()).ToDouble()));
    }
    const double molar = Attribute(stream, "TotalMolarRate").ToDouble();
    list.push_back(p + "TotalMolarRate=" + Real(molar));
    const double mw = Attribute(bulk, (p + "MwOfPhase").c_str()).ToDouble();
    list.push_back(p + "TotalMassRate=" + Real([molar, mw] { return molar * mw; }));
    database.Call("DeleteObject", {"Stream", streamName});
}

} // namespace

void InitProiiInterface()
{
    RegisterProiiServerComponent();
    // Server objects are let go of while the application object still exists.
    if (QCoreApplication* app = QCoreApplication::instance())
        QObject::connect(app, &QCoreApplication::aboutToQuit, [] { ReleaseProii(); });
    ProiiServerVersion = FindProiiServerVersion();
    ProiiColumnData.clear();
}

std::string FindProiiServerVersion()
{
    const std::string prefix = kProiiProgIdPrefix;
    TRegistry reg;
    std::vector<std::string> keys;
    if (reg.OpenKeyReadOnly("\\CLSID")) {
        keys = reg.GetKeyNames();
        reg.CloseKey();
    }
    for (const std::string& k : keys) {
        std::string progId;
        if (reg.OpenKeyReadOnly("\\CLSID\\" + k + "\\ProgID")) {
            try {
                progId = reg.ReadString("");
            } catch (const ERegistryException&) {
                // A ProgID that is not text names no server; the search goes on.
            }
            reg.CloseKey();
        }
        if (progId.compare(0, prefix.size(), prefix) == 0) return progId.substr(prefix.size(), 4);
    }
    return {};
}

bool ConnectProii()
{
    ProiiServerReady = true;
    try {
        if (ProiiServer.IsObject()) {
            // Let go of the old server even when it fails to reset, so that a
            // dead server cannot block every later attempt.
            AutoVariant old = ProiiServer;
            ProiiServer = AutoVariant();
            old.Call("Initialize");
        }
        ProiiServer = AutoVariant(CreateOleObject(kProiiProgIdPrefix + ProiiServerVersion));
        ProiiServer.Call("Initialize");
        ProiiServer.Call("SetOption", {"DoublePrecision", "1"});
    } catch (const std::exception&) {
        ProiiServerReady = false;
        ShowMessage(MsgKind::Error, kProiiErrorText);
    }
    return ProiiServerReady;
}

void OpenProiiFile(const std::string& fileName)
{
    ProiiDatabase = AutoVariant();
    int status = 0;
    if (ProiiServerReady) {
        AutoVariant path(fileName);
        ProiiDatabase = ProiiServer.Call("OpenDatabase", {AutoVariant::ByRef(path)});
        status = ProiiDatabase.Get("Status").ToInt();
    }
    if (status > 0) ShowMessage(MsgKind::Warning, kProiiStatusText);
}

void GetProiiColumns(const AutoVariant& database, TStringList& list)
{
    if (!database.IsObject()) return;
    const int n = database.Call("GetObjectCount", {"Column"}).ToInt();
    list.clear();
    for (int i = 0; i < n; ++i)
        list.push_back(database.Call("GetObjectNames", {"Column", AutoVariant(i)}).ToString());
}

void GetProiiColumnData(const AutoVariant& database, const std::string& columnName, TStringList& list)
{
    if (!database.IsObject()) return;
    list.clear();
    AutoVariant name = WideName(columnName);
    database.Call("CalculateUnitProps", {AutoVariant::ByRef(name)});
    AutoVariant column = database.Call("ActivateObject", {"Column", AutoVariant::ByRef(name)});
    list.push_back("NumberOfTrays=" + std::to_string(Attribute(column, "NumberOfTrays").ToInt()));
    list.push_back("RefluxRatio=" + Real(Attribute(column, "RefluxRatio").ToDouble()));
    const int heaters = Attribute(column, "NumberOfHeaters").ToInt();
    for (int i = 0; i < heaters; ++i) {
        const std::string heater = Attribute(column, "HeaterNames", i).ToString();
        const double duty = Attribute(column, "HeaterDuties", i).ToDouble();
        list.push_back(heater + "=" + Real(duty));
    }
    column = AutoVariant();
    AutoVariant feeds = database.Call("ActivateObject", {"ColumnIn", AutoVariant::ByRef(name)});
    const int count = Attribute(feeds, "CurrentFeeds").ToInt();
    for (int i = 0; i < count; ++i)
        list.push_back("FeedT" + std::to_string(i) + "=" +
                       std::to_string(Attribute(feeds, "FeedTrays", i).ToInt()));
}

void GetProiiTrayData(const AutoVariant& database, const std::string& columnName, int tray, TStringList& list)
{
    if (!database.IsObject()) return;
    AutoVariant name = WideName(columnName);
    AutoVariant trayNo(tray);
    database.Call("CalculateUnitProps", {AutoVariant::ByRef(name)});
    // Held until the read ends, as the server expects the unit to stay active.
    AutoVariant column = database.Call("ActivateObject", {"Column", AutoVariant::ByRef(name)});
    list.clear();
    AutoVariant stream, bulk;
    ReadTrayPhase(database, name, trayNo, 2, "TmpStream", list, stream, bulk);
    list.push_back(kSeparatorVapour);
    ReadTrayPhase(database, name, trayNo, 1, "TmpStream1", list, stream, bulk);
}

std::string GetListText(const TStringList& list, const std::string& key)
{
    const std::string wanted = AutoFoldCase(key);
    for (const std::string& line : list) {
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (AutoFoldCase(line.substr(0, eq)) == wanted) return line.substr(eq + 1);
    }
    return {};
}

double GetListValue(const TStringList& list, const std::string& key)
{
    return TextToFloat(GetListText(list, key));
}

void ReleaseProii()
{
    ProiiDatabase = AutoVariant();
    ProiiServer = AutoVariant();
    ProiiServerReady = false;
}
