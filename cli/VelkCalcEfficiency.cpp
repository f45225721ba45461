#include "VelkCalcEfficiency.h"

#include <ostream>

#include "EngineText.h"
#include "VelkCalcJson.h"

namespace
{

std::string ModelJson(const EfficiencyModelResult& m)
{
    auto num = [&](double v) { return m.completed ? JsonNumber(v) : std::string("null"); };
    const ModelHeights& h = m.heights;
    return std::string("{\"name\": ") + JsonString(EfficiencyModelName(m.model)) +
           ", \"HTUV\": " + num(h.HTUV) + ", \"HTUL\": " + num(h.HTUL) + ", \"HTUOV\": " + num(h.HTUOV) +
           ", \"HETP\": " + num(h.HETP) +
           ", \"effectiveArea\": " + (m.hasArea ? num(h.effectiveArea) : std::string("null")) +
           ", \"error\": " + (m.completed ? std::string("null") : JsonString(m.error)) + "}";
}

} // namespace

bool ParseEfficiencyOption(const std::vector<std::string>& args, std::size_t& i, EfficiencyOption& opt,
                           std::string& why)
{
    why.clear();
    if (args[i] == "--efficiency") {
        opt.requested = true;
        return true;
    }
    if (args[i] != "--efficiency-model") return false;
    const char* const complaint = "--efficiency-model needs specified, rbf or max";
    if (i + 1 >= args.size()) {
        why = complaint;
        return true;
    }
    const std::string& name = args[++i];
    DesignHetpChoice choice;
    if (DesignHetpChoiceFromName(name, choice))
        opt.choice = choice;
    else
        why = std::string(complaint) + ", not '" + name + "'";
    // Choosing the design HETP asks for the figures it is chosen from.
    opt.requested = true;
    return true;
}

std::string EfficiencyCombinationComplaint(const EfficiencyOption& opt, bool otherCommand)
{
    if (opt.requested && otherCommand)
        return "--efficiency and --efficiency-model describe one case; they take no --compare, --cases, "
               "--profile or --chart-data";
    return "";
}

std::string EfficiencyResultJson(const EfficiencyResult& result)
{
    std::string o = "{\"models\": [";
    for (std::size_t i = 0; i < result.models.size(); ++i)
        o += (i ? ", " : "") + ModelJson(result.models[i]);
    const auto design = DesignHetp(result);
    return o + "], \"spread\": " + (result.spread ? JsonNumber(*result.spread) : std::string("null")) +
           ", \"design\": " + JsonString(DesignHetpChoiceName(result.design)) +
           ", \"designHETP\": " + (design ? JsonNumber(*design) : std::string("null")) + "}";
}

void ApplyEfficiencyOption(CalcPage& page, const EfficiencyOption& opt)
{
    if (opt.choice) SetDesignHetpChoice(page, *opt.choice);
}

std::string EfficiencyJson(const CalcPage& page, const EfficiencyOption& opt, std::ostream& err)
{
    if (!opt.requested) return "";
    const EfficiencyResult result = EvaluateEfficiency(page, DesignHetpChoiceOf(page));
    for (const EfficiencyModelResult& m : result.models)
        if (m.completed && m.areaAboveGeometric)
            err << EngineText(std::string(kAreaAboveGeometricText)).toStdString() << '\n';
    return ", \"efficiency\": " + EfficiencyResultJson(result);
}
