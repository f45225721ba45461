#include "HysysServerObjects.h"

#include <functional>
#include <vector>

namespace
{

using CasePtr = std::shared_ptr<const HysysCaseData>;

AutoVariant Obj(const std::shared_ptr<HysysObject>& o)
{
    return AutoVariant(AutoObjectPtr(o));
}

// A collection with Count and Item(index | name); names compares exactly
// first and then without regard to case, as object names in HYSYS do.
std::shared_ptr<HysysObject> MakeCollection(const std::string& className, int count,
                                            std::function<std::string(int)> nameOf,
                                            std::function<AutoVariant(int)> itemAt)
{
    auto c = std::make_shared<HysysObject>(className);
    c->AddProperty("Count", [count](AutoArgs&) { return AutoVariant(count); });
    c->AddProperty(
        "Item",
        [className, count, nameOf, itemAt](AutoArgs& a) {
            const AutoVariant& key = HysysObject::Required(a, 0, "Item");
            if (key.IsText()) {
                const std::string name = key.ToString();
                for (int i = 0; i < count; ++i)
                    if (nameOf(i) == name) return itemAt(i);
                for (int i = 0; i < count; ++i)
                    if (AutoFoldCase(nameOf(i)) == AutoFoldCase(name)) return itemAt(i);
                throw EAutoError(className, className + ": there is no item named \"" + name + "\"");
            }
            const int i = key.ToInt();
            if (i < 0 || i >= count)
                throw EAutoError(className,
                                 className + ": index " + std::to_string(i) +
                                     (count == 0 ? std::string(" (the collection is empty)")
                                                 : " is outside 0 to " + std::to_string(count - 1)));
            return itemAt(i);
        },
        {}, 1, 1);
    return c;
}

std::shared_ptr<HysysObject> MakePhase(const HysysStreamData& s, const std::string& streamName, bool vapour)
{
    auto p = std::make_shared<HysysObject>("Phase");
    p->AddProperty("Viscosity", [s](AutoArgs&) { return AutoVariant(s.viscosity); });
    p->AddProperty("MassDensity", [s](AutoArgs&) { return AutoVariant(s.massDensity); });
    p->AddProperty("SurfaceTension", [s, streamName, vapour](AutoArgs&) {
        if (!s.surfaceTension)
            throw EAutoError("Phase", "The " + std::string(vapour ? "vapour" : "liquid") + " phase of \"" +
                                          streamName + "\" has no surface tension in this case");
        return AutoVariant(*s.surfaceTension);
    });
    return p;
}

std::shared_ptr<HysysObject> MakeStream(const HysysStreamData& s, const std::string& name, bool vapour)
{
    auto st = std::make_shared<HysysObject>("ProcessStream");
    st->AddProperty("Name", [name](AutoArgs&) { return AutoVariant(name); });
    st->AddProperty("MassFlow", [s](AutoArgs&) { return AutoVariant(s.massFlow); });
    st->AddProperty("MassDensity", [s](AutoArgs&) { return AutoVariant(s.massDensity); });
    st->AddProperty("VapourPhase", [s, name, vapour](AutoArgs&) {
        if (!vapour)
            throw EAutoError("ProcessStream", "\"" + name + "\" is a liquid stream and has no vapour phase");
        return Obj(MakePhase(s, name, true));
    });
    st->AddProperty("LightLiquidPhase", [s, name, vapour](AutoArgs&) {
        if (vapour)
            throw EAutoError("ProcessStream",
                             "\"" + name + "\" is a vapour stream and has no light liquid phase");
        return Obj(MakePhase(s, name, false));
    });
    return st;
}

std::shared_ptr<HysysObject> MakeStage(const CasePtr& c, std::size_t op, std::size_t stage)
{
    const HysysStageData& data = c->operations[op].stages[stage];
    const std::string column = c->operations[op].name;
    auto sep = std::make_shared<HysysObject>("SeparationStage");
    sep->AddProperty("Name", [n = data.name](AutoArgs&) { return AutoVariant(n); });
    sep->AddProperty("Vapour", [c, op, stage, column](AutoArgs&) {
        const HysysStageData& d = c->operations[op].stages[stage];
        return Obj(MakeStream(d.vapour, "Vapour from " + d.name + "@" + column, true));
    });
    sep->AddProperty("Liquid", [c, op, stage, column](AutoArgs&) {
        const HysysStageData& d = c->operations[op].stages[stage];
        return Obj(MakeStream(d.liquid, "Liquid from " + d.name + "@" + column, false));
    });
    auto st = std::make_shared<HysysObject>("Stage");
    st->AddProperty("Name", [n = data.name](AutoArgs&) { return AutoVariant(n); });
    st->AddProperty("SeparationStage", [sep](AutoArgs&) { return Obj(sep); });
    return st;
}

std::shared_ptr<HysysObject> MakeOperation(const CasePtr& c, std::size_t op)
{
    const HysysOperationData& data = c->operations[op];
    auto o = std::make_shared<HysysObject>("Operation");
    o->AddProperty("Name", [n = data.name](AutoArgs&) { return AutoVariant(n); });
    o->AddProperty("TypeName", [t = data.typeName](AutoArgs&) { return AutoVariant(t); });
    o->AddProperty("ColumnFlowsheet", [c, op](AutoArgs&) {
        const HysysOperationData& d = c->operations[op];
        if (!d.IsColumn())
            throw EAutoError("Operation",
                             "\"" + d.name + "\" is a " + d.typeName + " and has no column flowsheet");
        auto fs = std::make_shared<HysysObject>("ColumnFlowsheet");
        fs->AddProperty("Name", [n = d.name](AutoArgs&) { return AutoVariant(n); });
        fs->AddProperty("ColumnStages", [c, op](AutoArgs&) {
            const auto& stages = c->operations[op].stages;
            return Obj(MakeCollection(
                "Stages", static_cast<int>(stages.size()),
                [c, op](int i) { return c->operations[op].stages[static_cast<std::size_t>(i)].name; },
                [c, op](int i) { return Obj(MakeStage(c, op, static_cast<std::size_t>(i))); }));
        });
        return Obj(fs);
    });
    return o;
}

std::shared_ptr<HysysObject> MakeOperations(const CasePtr& c, const std::string& typeFilter)
{
    std::vector<std::size_t> picked;
    for (std::size_t i = 0; i < c->operations.size(); ++i)
        if (typeFilter.empty() || AutoFoldCase(c->operations[i].typeName) == AutoFoldCase(typeFilter))
            picked.push_back(i);
    return MakeCollection(
        "Operations", static_cast<int>(picked.size()),
        [c, picked](int i) { return c->operations[picked[static_cast<std::size_t>(i)]].name; },
        [c, picked](int i) { return Obj(MakeOperation(c, picked[static_cast<std::size_t>(i)])); });
}

std::shared_ptr<HysysObject> MakeCase(const CasePtr& c)
{
    auto flowsheet = std::make_shared<HysysObject>("Flowsheet");
    flowsheet->AddProperty(
        "Operations",
        [c](AutoArgs& a) {
            const std::string filter = HysysObject::Given(a, 0) ? a[0].ToString() : std::string();
            return Obj(MakeOperations(c, filter));
        },
        {}, 0, 1);
    auto doc = std::make_shared<HysysObject>("SimulationCase");
    doc->AddProperty("Flowsheet", [flowsheet](AutoArgs&) { return Obj(flowsheet); });
    doc->AddProperty("Title", [c](AutoArgs&) { return AutoVariant(c->title); });
    doc->AddProperty("FullName", [c](AutoArgs&) { return AutoVariant(c->path); });
    return doc;
}

} // namespace

AutoObjectPtr MakeHysysApplication(std::shared_ptr<const HysysCaseData> activeCase)
{
    auto app = std::make_shared<HysysObject>("Application");
    std::shared_ptr<HysysObject> doc = activeCase ? MakeCase(activeCase) : nullptr;
    app->AddProperty("Version", [](AutoArgs&) { return AutoVariant(kHysysStandInVersion); });
    app->AddProperty("Name", [](AutoArgs&) { return AutoVariant("HYSYS"); });
    app->AddProperty("ActiveDocument", [doc](AutoArgs&) { return doc ? Obj(doc) : AutoVariant(); });
    return app;
}
