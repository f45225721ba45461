#include "VelkCalcColumn.h"

#include <cmath>

#include <QString>
#include <ostream>
#include <sstream>

#include "CalcPage.h"
#include "ColumnDesign.h"
#include "ColumnElevation.h"
#include "DesignLimits.h"
#include "EngineText.h"
#include "Messages.h"
#include "NumberText.h"
#include "VelkCalcJson.h"

namespace
{
struct ColumnTextOption {
    const char* name;
    std::string ColumnOptions::*target;
    const char* field; // the page's control, or nullptr
    const char* needs;
};
const ColumnTextOption kColumnOptions[] = {
    {"--limit-flood", &ColumnOptions::limitFlood, kLimitFloodField,
     "a maximum percentage of the foaming-limited capacity above 0"},
    {"--limit-fmin", &ColumnOptions::limitFs, kLimitFsField, "a minimum F-factor above 0 in Pa^0.5"},
    {"--limit-bed-dp", &ColumnOptions::limitBedDp, kLimitBedDpField,
     "a maximum bed pressure drop above 0 in mbar"},
    {"--limit-wetting", &ColumnOptions::limitWetting, kLimitWettingField, "a minimum wetting ratio above 0"},
    {"--diameter-step", &ColumnOptions::diameterStep, kDiameterStepField,
     "a step with its unit from 1 mm to 100 m, such as 0.05m, 0.1m, 50mm, 6in or 0.5ft"},
    {"--hetp-margin", &ColumnOptions::hetpMargin, kHetpMarginField,
     "a design margin on HETP from 0 to 100 percent"},
    {"--bed-max-height", &ColumnOptions::bedMaxHeight, kBedMaxHeightField,
     "a maximum bed height above 0 in m"},
    {"--bed-max-stages", &ColumnOptions::bedMaxStages, kBedMaxStagesField,
     "a whole number of stages from 1 to 10000"},
    {"--column-svg", &ColumnOptions::columnSvg, nullptr, "a file"},
};

// The value's complaint, or "".
std::string CheckValue(const ColumnTextOption& o, const std::string& v)
{
    const std::string bad = std::string(o.name) + " needs " + o.needs + ", not '" + v + "'";
    if (o.target == &ColumnOptions::diameterStep) return ParseDiameterStep(v) ? "" : bad;
    if (o.target == &ColumnOptions::columnSvg) return v.empty() ? bad : "";
    double x;
    if (!ParseNumber(TrimView(v), x) || !std::isfinite(x)) return bad;
    if (o.target == &ColumnOptions::hetpMargin) return x >= 0 && x <= 100 ? "" : bad;
    if (o.target == &ColumnOptions::bedMaxStages)
        return x >= 1 && x <= 10000 && std::nearbyint(x) == x ? "" : bad;
    return x > 0 ? "" : bad;
}
std::string DesignJson(const ColumnDesign& d)
{
    std::ostringstream o;
    o << "{\"designHETP\": " << JsonNumber(d.designHETP) << ", \"beds\": [";
    for (std::size_t i = 0; i < d.beds.size(); ++i) {
        const DesignedBed& b = d.beds[i];
        o << (i ? ", " : "") << "{\"stages\": " << b.stages
          << ", \"packedHeight\": " << JsonNumber(b.packedHeight)
          << ", \"pressureDrop\": " << JsonNumber(b.pressureDrop)
          << ", \"limitingStage\": " << b.limitingStage << "}";
    }
    o << "], \"internals\": [";
    for (std::size_t i = 0; i < d.internals.size(); ++i) {
        const DesignedInternal& n = d.internals[i];
        o << (i ? ", " : "") << "{\"type\": " << JsonString(n.type) << ", \"bed\": " << n.bed
          << ", \"pressureDrop\": " << JsonNumber(n.pressureDrop) << ", \"height\": " << JsonNumber(n.height)
          << "}";
    }
    o << "], \"totalPressureDrop\": " << JsonNumber(d.totalPressureDrop)
      << ", \"height\": " << JsonNumber(d.height) << ", \"diameter\": " << JsonNumber(d.diameter) << "}";
    return o.str();
}

} // namespace

std::string ColumnJsonExtra(const CalcPage& page, const ColumnOptions& opt, bool completed, bool& ok,
                            std::ostream& err)
{
    if (!opt.column && opt.columnSvg.empty()) return "";
    std::optional<ColumnDesign> design;
    std::string why;
    if (completed) design = PageColumnDesign(page, why);
    if (!design) {
        if (!why.empty()) err << "velk-calc: " << EngineText(why).toStdString() << '\n';
        if (!opt.columnSvg.empty()) ok = false;
        return opt.column ? ", \"column\": null" : "";
    }
    for (const std::string& note : design->notes)
        err << "velk-calc: " << EngineText(note).toStdString() << '\n';
    QString svgWhy;
    if (!opt.columnSvg.empty() &&
        !SaveColumnElevation(QString::fromStdString(opt.columnSvg), *design, &svgWhy)) {
        err << "velk-calc: " << svgWhy.toStdString() << '\n';
        ok = false;
    }
    return opt.column ? ", \"column\": " + DesignJson(*design) : "";
}

bool ColumnOptions::Any() const
{
    return column || !columnSvg.empty() || !hetpMargin.empty() || !bedMaxHeight.empty() ||
           !bedMaxStages.empty();
}

std::string TakeColumnOptions(std::vector<std::string>& args, ColumnOptions& opt)
{
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--column") {
            opt.column = true;
            continue;
        }
        const ColumnTextOption* found = nullptr;
        for (const ColumnTextOption& o : kColumnOptions)
            if (args[i] == o.name) found = &o;
        if (!found) {
            rest.push_back(args[i]);
            continue;
        }
        if (i + 1 >= args.size()) return std::string(found->name) + " needs " + found->needs;
        const std::string& v = args[++i];
        if (std::string why = CheckValue(*found, v); !why.empty()) return why;
        opt.*(found->target) = v;
    }
    args = std::move(rest);
    return "";
}

void ApplyColumnOptions(CalcPage& page, const ColumnOptions& opt)
{
    for (const ColumnTextOption& o : kColumnOptions)
        if (o.field && !(opt.*(o.target)).empty()) page.Field(o.field)->SetText(Trim(opt.*(o.target)));
}

std::string ColumnOptionsUsage()
{
    return "  --limit-flood PCT   warn (limit-flood) above this percentage of the foaming-limited\n"
           "                      capacity A * uF; a maximum also rounds the diameter up\n"
           "  --limit-fmin F      warn (limit-f-factor) below this F-factor in Pa^0.5\n"
           "  --limit-bed-dp MBAR warn (limit-bed-pressure-drop) above this bed pressure drop in mbar;\n"
           "                      a maximum also rounds the diameter up\n"
           "  --limit-wetting R   warn (limit-wetting) below this multiple of the minimum liquid load\n"
           "                      (each limit: severity error when more than 10 % beyond it)\n"
           "  --diameter-step S   round the diameter up to steps of S: 0.05m, 0.1m, 50mm, 6in, 0.5ft\n"
           "                      (without it, up on the default grid under a pressure-drop basis\n"
           "                      or with a maximum limit)\n"
           "  --column            print \"column\": the beds (split by --bed-max-height M and\n"
           "                      --bed-max-stages N, defaults by packing family), their internals,\n"
           "                      the total pressure drop and the height, from --stages N\n"
           "  --hetp-margin PCT   design margin on HETP for the packed height (default 0)\n"
           "  --column-svg FILE   draw the column's elevation (.svg or .png)\n";
}
