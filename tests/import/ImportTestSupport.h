#pragma once
// Shared pieces of the simulator import tests: a decorator that records every
// automation call made on an object (and on the objects it hands out) and
// can make a chosen call fail, and builders of small simulation files, cases
// and registry files.

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AutoObject.h"
#include "HysysServerCase.h"
#include "ProiiServerFile.h"

struct RecordedCall {
    std::string object; // class name of the callee
    std::string member;
    std::vector<AutoType> types; // argument types, seen through references
    std::vector<bool> byRef;
    std::vector<AutoVariant> values; // argument values as passed
};

struct CallLog {
    std::vector<RecordedCall> calls;
    // Returns true for a call that is to fail with "injected failure".
    std::function<bool(const RecordedCall&)> failWhen;

    std::vector<const RecordedCall*> Named(const std::string& member) const
    {
        std::vector<const RecordedCall*> out;
        for (const RecordedCall& c : calls)
            if (c.member == member) out.push_back(&c);
        return out;
    }
    std::vector<std::string> Members() const
    {
        std::vector<std::string> out;
        for (const RecordedCall& c : calls)
            out.push_back(c.member);
        return out;
    }
};

class RecordingObject : public AutoObject
{
public:
    RecordingObject(AutoObjectPtr inner, std::shared_ptr<CallLog> log)
        : inner_(std::move(inner)), log_(std::move(log))
    {
    }
    std::string ClassName() const override { return inner_->ClassName(); }

    AutoVariant Invoke(const std::string& name, AutoInvoke kind, AutoArgs& args) override
    {
        RecordedCall call{inner_->ClassName(), name, {}, {}, {}};
        for (const AutoVariant& a : args) {
            call.types.push_back(a.Type());
            call.byRef.push_back(a.IsByRef());
            call.values.push_back(a.Value());
        }
        log_->calls.push_back(call);
        if (log_->failWhen && log_->failWhen(call)) throw EAutoError("injected failure");
        AutoVariant result = inner_->Invoke(name, kind, args);
        if (result.IsObject() && result.ToObject())
            return AutoVariant(AutoObjectPtr(std::make_shared<RecordingObject>(result.ToObject(), log_)));
        return result;
    }

private:
    AutoObjectPtr inner_;
    std::shared_ptr<CallLog> log_;
};

// A tray whose every property is told apart by the tray number n.
inline SimTray TestTray(int n)
{
    SimTray t;
    t.number = n;
    t.temperature = 300 + n;
    t.pressure = 1000 + n;
    t.liquid.molarRate = 0.5 + n;
    t.liquid.molecularWeight = 50 + n;
    t.liquid.density = 500 + n;
    t.liquid.viscosity = 0.0001 * n;
    t.liquid.surfaceTension = 0.001 * n;
    t.liquid.thermalConductivity = 0.1;
    t.vapour.molarRate = 0.25 + n;
    t.vapour.molecularWeight = 40 + n;
    t.vapour.density = 20 + n;
    t.vapour.viscosity = 0.000001 * n;
    return t;
}

inline SimColumn TestColumn(const std::string& name, int trays, std::vector<int> feedTrays = {},
                            std::vector<SimHeater> heaters = {})
{
    SimColumn c;
    c.name = name;
    c.refluxRatio = 2.5;
    c.numberOfTrays = trays;
    for (int i = 1; i <= trays; ++i)
        c.trays.push_back(TestTray(i));
    int k = 0;
    for (int f : feedTrays)
        c.feeds.push_back({std::string("F").append(std::to_string(++k)), f});
    c.heaters = std::move(heaters);
    return c;
}

inline std::string WriteSimulation(const QTemporaryDir& dir, const std::string& fileName,
                                   const std::vector<SimColumn>& columns, int status = 0)
{
    SimulationData d;
    d.title = fileName;
    d.status = status;
    d.columns = columns;
    const std::string path = dir.filePath(QString::fromStdString(fileName)).toStdString();
    WriteSimulationFile(path, d);
    return path;
}

inline std::string WriteText(const QTemporaryDir& dir, const std::string& fileName, const std::string& text)
{
    const QString path = dir.filePath(QString::fromStdString(fileName));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(text.data(), static_cast<qint64>(text.size()));
    return path.toStdString();
}

// A registry file entering one class per ProgID under made-up CLSIDs.
inline std::string RegistryWithProgIds(const std::vector<std::pair<std::string, std::string>>& clsidAndProgId)
{
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n";
    for (const auto& [clsid, progId] : clsidAndProgId)
        text += "[HKEY_CLASSES_ROOT\\CLSID\\" + clsid + "\\ProgID]\r\n@=\"" + progId + "\"\r\n\r\n";
    return text;
}

// A HYSYS stage from flows and properties in the units HYSYS reports.
inline HysysStageData TestStage(double vapourFlow, double liquidFlow, double marker = 0)
{
    HysysStageData s;
    s.vapour.massFlow = vapourFlow;
    s.vapour.massDensity = 10 + marker;
    s.vapour.viscosity = 0.01 + marker / 1000;
    s.liquid.massFlow = liquidFlow;
    s.liquid.massDensity = 500 + marker;
    s.liquid.viscosity = 0.2 + marker / 100;
    s.liquid.surfaceTension = 20 + marker;
    return s;
}

inline HysysOperationData TestColumnOp(const std::string& name, std::vector<HysysStageData> stages)
{
    HysysOperationData op;
    op.name = name;
    op.typeName = "ColumnOp";
    for (std::size_t i = 0; i < stages.size(); ++i)
        stages[i].name = std::to_string(i) + "__Main TS";
    op.stages = std::move(stages);
    return op;
}
