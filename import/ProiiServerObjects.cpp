#include "ProiiServerObjects.h"

namespace
{
const char* PhaseName(int phase)
{
    return phase == 1 ? "vapour" : "liquid";
}
} // namespace

ProiiAttributeObject::ProiiAttributeObject(std::string className,
                                           std::shared_ptr<const ProiiServerOptions> options)
    : className_(std::move(className)), options_(std::move(options))
{
    AddMethod(
        "GetAttribute",
        [this](AutoArgs& args) {
            const std::string name = Required(args, 0, "GetAttribute").ToString();
            AutoVariant v = Attribute(AutoFoldCase(name), args);
            if (v.IsEmpty()) throw EAutoError(className_, className_ + " has no attribute \"" + name + "\"");
            return v;
        },
        1, 2);
}

AutoVariant ProiiAttributeObject::Real(double v) const
{
    return AutoVariant(options_->doublePrecision ? v : static_cast<double>(static_cast<float>(v)));
}

int ProiiAttributeObject::Index(const AutoArgs& args, int count, const std::string& attribute) const
{
    if (!Given(args, 1))
        throw EAutoError(className_,
                         "The attribute \"" + attribute + "\" of " + className_ + " needs an index");
    const int i = args[1].ToInt();
    if (i < 0 || i >= count)
        throw EAutoError(className_, "Index " + std::to_string(i) + " of \"" + attribute +
                                         "\" is outside 0 to " + std::to_string(count - 1));
    return i;
}

// ---- Column ----

ProiiColumnObject::ProiiColumnObject(SimColumn column, std::shared_ptr<const ProiiServerOptions> options)
    : ProiiAttributeObject("Column", std::move(options)), column_(std::move(column))
{
}

AutoVariant ProiiColumnObject::Attribute(const std::string& name, const AutoArgs& args)
{
    const int heaters = static_cast<int>(column_.heaters.size());
    if (name == "numberoftrays") return AutoVariant(column_.numberOfTrays);
    if (name == "refluxratio") return Real(column_.refluxRatio);
    if (name == "numberofheaters") return AutoVariant(heaters);
    if (name == "heaternames") return AutoVariant(column_.heaters[Index(args, heaters, "HeaterNames")].name);
    if (name == "heaterduties") return Real(column_.heaters[Index(args, heaters, "HeaterDuties")].duty);
    if (name == "name") return AutoVariant(column_.name);
    return {};
}

// ---- ColumnIn ----

ProiiColumnInObject::ProiiColumnInObject(SimColumn column, std::shared_ptr<const ProiiServerOptions> options)
    : ProiiAttributeObject("ColumnIn", std::move(options)), column_(std::move(column))
{
}

AutoVariant ProiiColumnInObject::Attribute(const std::string& name, const AutoArgs& args)
{
    const int feeds = static_cast<int>(column_.feeds.size());
    if (name == "currentfeeds") return AutoVariant(feeds);
    if (name == "feedtrays") return AutoVariant(column_.feeds[Index(args, feeds, "FeedTrays")].tray);
    if (name == "feednames") return AutoVariant(column_.feeds[Index(args, feeds, "FeedNames")].stream);
    return {};
}

// ---- Stream ----

ProiiStreamObject::ProiiStreamObject(std::shared_ptr<const ProiiStreamData> stream,
                                     std::shared_ptr<const ProiiServerOptions> options)
    : ProiiAttributeObject("Stream", std::move(options)), stream_(std::move(stream))
{
}

AutoVariant ProiiStreamObject::Attribute(const std::string& name, const AutoArgs&)
{
    const bool known = name == "temperature" || name == "pressure" || name == "totalmolarrate" ||
                       name == "totalmassrate" || name == "name";
    if (!known) return {};
    if (name == "name") return AutoVariant(stream_->name);
    if (!stream_->filled)
        throw EAutoError("Stream",
                         "Stream \"" + stream_->name + "\" holds no material; copy a tray into it first");
    const SimPhase& p = stream_->phase == 1 ? stream_->tray.vapour : stream_->tray.liquid;
    if (name == "temperature") return Real(stream_->tray.temperature);
    if (name == "pressure") return Real(stream_->tray.pressure);
    if (name == "totalmolarrate") return Real(p.molarRate);
    return Real(p.molarRate * p.molecularWeight);
}

// ---- SrBulkProp ----

ProiiBulkPropObject::ProiiBulkPropObject(std::shared_ptr<const ProiiStreamData> stream,
                                         std::shared_ptr<const ProiiServerOptions> options)
    : ProiiAttributeObject("SrBulkProp", std::move(options)), stream_(std::move(stream))
{
}

AutoVariant ProiiBulkPropObject::Attribute(const std::string& name, const AutoArgs&)
{
    if (name.size() < 4) return {};
    const std::string prefix = name.substr(0, 3);
    const std::string prop = name.substr(3);
    int phase = 0;
    if (prefix == "liq") phase = 2;
    if (prefix == "vap") phase = 1;
    const bool known = phase != 0 && (prop == "densityact" || prop == "viscosity" || prop == "surftension" ||
                                      prop == "thermalcond" || prop == "mwofphase");
    if (!known) return {};
    if (!stream_->calculated)
        throw EAutoError("SrBulkProp", "The properties of stream \"" + stream_->name +
                                           "\" are not calculated; call CalculateStreamProps first");
    if (stream_->phase != phase)
        throw EAutoError("SrBulkProp", "Stream \"" + stream_->name + "\" holds the " +
                                           PhaseName(stream_->phase) + " of a tray and has no " +
                                           PhaseName(phase) + " phase");
    const SimPhase& p = phase == 1 ? stream_->tray.vapour : stream_->tray.liquid;
    if (prop == "densityact") return Real(p.density);
    if (prop == "viscosity") return Real(p.viscosity);
    if (prop == "surftension") return Real(p.surfaceTension.value_or(0.0));
    if (prop == "thermalcond") return Real(p.thermalConductivity.value_or(0.0));
    return Real(p.molecularWeight);
}
