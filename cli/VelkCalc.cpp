#include "VelkCalc.h"

#include <cmath>
#include <limits>
#include <ostream>
#include <sstream>
#include <sys/stat.h>

#include "CalcPage.h"
#include "EngineText.h"
#include "Messages.h"
#include "NumberText.h"
#include "PackingCatalogue.h"
#include "PerformanceCharts.h"
#include "PerformanceCurves.h"
#include "PressureDropDisplay.h"
#include "UnitSystem.h"
#include "VelkCalcCases.h"
#include "VelkCalcCharts.h"
#include "VelkCalcChecks.h"
#include "VelkCalcColumn.h"
#include "VelkCalcCompare.h"
#include "VelkCalcEfficiency.h"
#include "VelkCalcExtras.h"
#include "VelkCalcJson.h"
#include "VelkCalcPackings.h"
#include "VelkCalcPdf.h"
#include "VelkCalcProfile.h"

namespace
{

class CollectingSink : public MessageSink
{
public:
    explicit CollectingSink(std::ostream& err) : err_(err) {}
    // The JSON keeps the program's own texts, whatever the locale, so that
    // scripts can rely on them; the line on stderr is for the reader.
    void showMessage(MsgKind, const std::string& text, const std::string&) override
    {
        texts.push_back(text);
        err_ << EngineText(text).toStdString() << '\n';
    }
    std::vector<std::string> texts;

private:
    std::ostream& err_;
};

bool ParseIndex(const std::string& s, int& out)
{
    if (s.empty() || s.size() > 6) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    out = std::stoi(s);
    return true;
}

struct Options {
    std::string packing, foaming, flood, project, save, diagram, report, size, rateDiameter, stages;
    std::string charts, liquidLoads;
    std::string pdf;                          // --pdf FILE: the PDF report (VelkCalcPdf.cpp)
    std::string profile, beds;                // --profile: the column rating of a tray-profile CSV file
    std::string cases, designDp, designBasis; // --cases, --design-dp, --design-basis (VelkCalcCases.cpp)
    bool conservative = false;
    int method = -1;
    bool lagrange = false;
    bool chartData = false;
    bool help = false;
    bool compare = false, allMethods = false;
    bool strict = false;              // exit 3 when a completed run carries an error-severity warning
    EfficiencyOption efficiency;      // --efficiency, --efficiency-model (VelkCalcEfficiency.cpp)
    std::optional<UnitSystem> system; // --units, applied before --unit
    std::vector<std::pair<std::string, int>> units;
    std::vector<std::pair<std::string, std::string>> values;
    // Resolved by ValidateOptions.
    int packingIndex = -1, foamingIndex = -1, width = 1001, height = 727;
    std::vector<double> loads = DefaultCurveLiquidLoads();
};

// The options that take one text argument, with the complaint when it is missing.
struct TextOption {
    const char* name;
    std::string Options::*target;
    const char* missing;
};
const TextOption kTextOptions[] = {
    {"--packing", &Options::packing, "--packing needs a name"},
    {"--foaming", &Options::foaming, "--foaming needs a value"},
    {"--flood", &Options::flood, "--flood needs a value"},
    {"--project", &Options::project, "--project needs a file"},
    {"--save", &Options::save, "--save needs a file"},
    {"--diagram", &Options::diagram, "--diagram needs a file"},
    {"--size", &Options::size, "--size needs WxH"},
    {"--report", &Options::report, "--report needs a file"},
    {"--rate-diameter", &Options::rateDiameter, "--rate-diameter needs a diameter"},
    {"--profile", &Options::profile, "--profile needs a CSV file"},
    {"--beds", &Options::beds, "--beds needs FIRST-LAST:PACKING:METHOD,..."},
    {"--stages", &Options::stages, "--stages needs a number of stages"},
    {"--charts", &Options::charts, "--charts needs a folder"},
    {"--liquid-loads", &Options::liquidLoads, "--liquid-loads needs a list"},
    {"--pdf", &Options::pdf, "--pdf needs a file"},
    {"--cases", &Options::cases, "--cases needs a CSV file"},
    {"--design-dp", &Options::designDp, "--design-dp needs a pressure drop in mbar/m"},
    {"--design-basis", &Options::designBasis, "--design-basis needs flood, pressure-drop or both"},
};

// Reads the arguments into opt; returns the usage complaint, or "" when they parse.
std::string ParseArgs(const std::vector<std::string>& args, Options& opt)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto next = [&](std::string& target) {
            if (i + 1 >= args.size()) return false;
            target = args[++i];
            return true;
        };
        const TextOption* text = nullptr;
        for (const TextOption& t : kTextOptions)
            if (a == t.name) text = &t;
        if (a == "--help" || a == "-h") {
            opt.help = true;
            return "";
        } else if (text) {
            if (!next(opt.*(text->target))) return text->missing;
            if ((opt.*(text->target)).empty()) return std::string(text->missing) + ", not an empty text";
        } else if (a == "--method") {
            std::string m;
            if (!next(m) || (m != "0" && m != "1" && m != "2")) return "--method needs 0, 1 or 2";
            opt.method = m[0] - '0';
        } else if (a == "--lagrange") {
            opt.lagrange = true;
        } else if (a == "--compare") {
            opt.compare = true;
        } else if (a == "--all-methods") {
            opt.allMethods = true;
        } else if (a == "--chart-data") {
            opt.chartData = true;
        } else if (a == "--conservative") {
            opt.conservative = true;
        } else if (a == "--strict") {
            opt.strict = true;
        } else if (a == "--units") {
            std::string name;
            UnitSystem system;
            if (!next(name) || !UnitSystemFromName(name, system)) return "--units needs us or si";
            opt.system = system;
        } else if (a == "--unit") {
            std::string unitArg;
            if (!next(unitArg)) return "--unit needs FIELD=INDEX";
            const auto eq = unitArg.find('=');
            int index;
            if (eq == std::string::npos || !ParseIndex(unitArg.substr(eq + 1), index))
                return "--unit needs FIELD=INDEX, not '" + unitArg + "'";
            opt.units.emplace_back(unitArg.substr(0, eq), index);
        } else if (std::string why; ParseEfficiencyOption(args, i, opt.efficiency, why)) {
            if (!why.empty()) return why;
        } else if (a.rfind("--", 0) == 0) {
            return "unknown option '" + a + "'";
        } else {
            const auto eq = a.find('=');
            if (eq == std::string::npos || eq == 0) return "expected FIELD=TEXT, not '" + a + "'";
            opt.values.emplace_back(a.substr(0, eq), a.substr(eq + 1));
        }
    }
    return "";
}

int IndexOf(const std::vector<std::string>& items, const std::string& item)
{
    int found = -1;
    for (std::size_t k = 0; k < items.size(); ++k)
        if (items[k] == item) found = static_cast<int>(k);
    return found;
}

// Bounds of the option values (see docs/project-files.md, "velk-calc option values").
constexpr int kMinDiagramSide = 50, kMaxDiagramSide = 8000;
constexpr long long kMaxDiagramPixels = 20'000'000;
constexpr double kMaxChartLiquidLoad = 300; // m3/(m2 h)

// An output file must be a file: a folder, a device, a pipe or a socket
// there is named as what it is, before any work.
std::string OutputFileComplaint(const char* option, const std::string& path)
{
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return "";
    return std::string(option) + ": '" + path + "' is " +
           (S_ISDIR(st.st_mode) ? "a folder" : "not a regular file (a device, a pipe or a socket)") +
           "; give the name of a file to write";
}

// The values each option takes, checked before anything is computed or
// written; returns the usage complaint, or "".
std::string CheckOptionValues(Options& opt)
{
    if (!opt.flood.empty()) {
        // Above 100 % is a case the window also takes (after asking): a warning, not a usage error.
        double percent = 0;
        if (!ParseNumber(opt.flood, percent) || !std::isfinite(percent) || percent <= 0)
            return "--flood needs a percentage of flooding above 0, not '" + opt.flood + "'";
    }
    if (!opt.rateDiameter.empty()) {
        double d = 0;
        if (!ParseNumber(opt.rateDiameter, d) || !std::isfinite(d) || d <= 0)
            return "--rate-diameter needs a diameter above 0 (in the current unit of dD), not '" +
                   opt.rateDiameter + "'";
    }
    if (!opt.designDp.empty()) {
        double limit = 0;
        // As the page refuses it: a limit beyond the largest double once in Pa/m is none.
        if (!ParseNumber(opt.designDp, limit) || !(limit > 0) ||
            !(limit <= std::numeric_limits<double>::max() / 100.0))
            return "--design-dp needs a pressure drop above 0 in mbar/m, not '" + opt.designDp + "'";
    }
    if (!opt.designBasis.empty() && opt.designBasis != "flood" && opt.designBasis != "pressure-drop" &&
        opt.designBasis != "both")
        return "--design-basis needs flood, pressure-drop or both, not '" + opt.designBasis + "'";
    if (!opt.designBasis.empty() && opt.designBasis != "flood" && opt.designDp.empty())
        return "--design-basis " + opt.designBasis + " needs --design-dp";
    if (!opt.size.empty()) {
        const auto x = opt.size.find('x');
        if (x == std::string::npos || !ParseIndex(opt.size.substr(0, x), opt.width) ||
            !ParseIndex(opt.size.substr(x + 1), opt.height) || opt.width < kMinDiagramSide ||
            opt.height < kMinDiagramSide || opt.width > kMaxDiagramSide || opt.height > kMaxDiagramSide ||
            static_cast<long long>(opt.width) * opt.height > kMaxDiagramPixels)
            return "--size needs WxH, each side from 50 to 8000 pixels and at most 20000000 pixels in all, "
                   "not '" +
                   opt.size + "'";
    }
    if (!opt.liquidLoads.empty()) {
        if (!ParseLiquidLoads(QString::fromStdString(opt.liquidLoads), opt.loads))
            return "--liquid-loads needs numbers from 0 up separated by commas, not '" + opt.liquidLoads +
                   "'";
        for (double load : opt.loads)
            if (load > kMaxChartLiquidLoad)
                return "--liquid-loads: " + FullPrecisionText(load) +
                       " m3/(m2 h) lies beyond the correlations (0 to 300 m3/(m2 h))";
    }
    if (!opt.beds.empty()) {
        std::vector<ProfileBed> beds;
        if (std::string why = ParseBedsOption(opt.beds, beds); !why.empty()) return why;
        for (const ProfileBed& b : beds) {
            if (b.first < 1 || b.last < 1) return "--beds: stages are counted from 1, not 0";
            if (b.first > b.last)
                return "--beds: the bed " + std::to_string(b.first) + "-" + std::to_string(b.last) +
                       " runs backwards; give its first stage, then its last (" + std::to_string(b.last) +
                       "-" + std::to_string(b.first) + ")";
        }
    }
    for (const auto& [option, path] : {std::pair<const char*, const std::string*>{"--save", &opt.save},
                                       {"--diagram", &opt.diagram},
                                       {"--report", &opt.report}})
        if (std::string why = OutputFileComplaint(option, *path); !why.empty()) return why;
    for (const auto& [option, path] : {std::pair<const char*, const std::string*>{"--diagram", &opt.diagram},
                                       {"--report", &opt.report},
                                       {"--pdf", &opt.pdf}})
        if (std::string why = OutputNameComplaint(option, *path); !why.empty()) return why;
    struct stat st;
    if (!opt.charts.empty() && ::stat(opt.charts.c_str(), &st) == 0 && !S_ISDIR(st.st_mode))
        return "--charts: '" + opt.charts + "' is not a folder";
    return "";
}

// Checks everything against the page before anything touches it; returns the
// usage complaint, or "".
std::string ValidateOptions(const CalcPage& page, Options& opt)
{
    if (!opt.packing.empty()) {
        const auto& items = page.Combo("PTD")->Items();
        opt.packingIndex = IndexOf(items, opt.packing);
        if (opt.packingIndex < 0) {
            std::string known;
            for (const auto& item : items)
                known += (known.empty() ? "" : ", ") + item;
            return "unknown packing '" + opt.packing + "'; the catalogue has: " + known;
        }
    }
    if (!opt.foaming.empty()) {
        opt.foamingIndex = IndexOf(page.Combo("AfD")->Items(), opt.foaming);
        if (opt.foamingIndex < 0)
            return "foaming factor must be one of 0.2 ... 1.0, not '" + opt.foaming + "'";
    }
    for (const auto& [field, index] : opt.units) {
        TEditD* f = page.Field(field);
        if (!f) return "unknown field '" + field + "'";
        TComboBoxU* u = page.UnitOf(f);
        if (!u || index >= static_cast<int>(u->Items().size()))
            return "field '" + field + "' has no unit " + std::to_string(index);
    }
    for (const auto& [field, text] : opt.values)
        if (!page.Field(field)) return "unknown field '" + field + "'";
    int stages;
    if (!opt.stages.empty() && (!ParseIndex(opt.stages, stages) || stages < 1))
        return "--stages needs a whole number of stages from 1, not '" + opt.stages + "'";
    if (!opt.beds.empty() && opt.profile.empty()) return "--beds needs --profile";
    if (!opt.profile.empty() && (!opt.save.empty() || !opt.diagram.empty() || !opt.report.empty() ||
                                 !opt.stages.empty() || opt.compare || !opt.charts.empty() || opt.chartData))
        return "--profile cannot be combined with --save, --diagram, --report, --stages, --compare or the "
               "charts";
    if (!opt.cases.empty() &&
        (!opt.profile.empty() || !opt.save.empty() || !opt.diagram.empty() || !opt.report.empty() ||
         !opt.pdf.empty() || opt.compare || !opt.charts.empty() || opt.chartData))
        return "--cases cannot be combined with --profile, --save, --diagram, --report, --pdf, --compare or "
               "the "
               "charts";
    return CheckOptionValues(opt);
}

// Sets the page up as the options say (after the project, if any, was loaded).
void ApplyOptions(CalcPage& page, const Options& opt)
{
    if (opt.packingIndex >= 0) page.Combo("PTD")->SetItemIndex(opt.packingIndex);
    if (opt.method >= 0) page.Combo("UfMD")->SetItemIndex(opt.method);
    page.Check("CBLagrange")->SetEnabled(page.Combo("UfMD")->ItemIndex() == 2);
    if (opt.lagrange) page.Check("CBLagrange")->SetChecked(true);
    if (opt.foamingIndex >= 0) page.Combo("AfD")->SetItemIndex(opt.foamingIndex);
    if (!opt.flood.empty()) page.Combo("fpercentD")->SetText(opt.flood);
    if (opt.system) ApplyUnitSystem(page, *opt.system);
    for (const auto& [field, index] : opt.units)
        page.UnitOf(page.Field(field))->SetItemIndex(index);
    for (const auto& [field, text] : opt.values) {
        TEditD* f = page.Field(field);
        if (f->ReadOnly()) {
            f->SetReadOnly(false);
            f->SetColor(clWindow);
        }
        f->SetText(text);
    }
    // In the unit dD has now, --unit included.
    if (!opt.rateDiameter.empty()) {
        page.SetRatingMode(true);
        page.Field("dD")->SetText(opt.rateDiameter);
    }
    if (!opt.stages.empty()) page.Field("StagesD")->SetText(opt.stages);
    // A limit alone is sized to with the flood basis too: the diameter meets both.
    if (!opt.designDp.empty()) {
        const std::string& b = opt.designBasis;
        page.Combo("DesignBasisD")->SetItemIndex(b == "flood" ? 0 : b == "pressure-drop" ? 1 : 2);
        page.Field("DpLimitD")->SetText(opt.designDp);
    } else if (opt.designBasis == "flood") {
        page.Combo("DesignBasisD")->SetItemIndex(0);
    }
    if (opt.conservative) page.Check("CBConservative")->SetChecked(true);
    ApplyEfficiencyOption(page, opt.efficiency);
}

// Writes the project, the diagram and the report the options ask for;
// returns false when one of them failed.
bool WriteOutputs(CalcPage& page, const Options& opt, const std::string& kept, CollectingSink& sink,
                  std::ostream& err)
{
    bool ok = true;
    std::string why, diagramWhy, reportWhy;
    if (!opt.save.empty() && !VelkCalcSaveProject(page, opt.save, kept, why)) {
        err << "velk-calc: " << why << '\n';
        ok = false;
    }
    if (!opt.diagram.empty() && !VelkCalcDiagram(page, opt.diagram, opt.width, opt.height, diagramWhy)) {
        sink.texts.push_back(diagramWhy);
        err << "velk-calc: " << diagramWhy << '\n';
        ok = false;
    }
    if (!opt.report.empty() && !VelkCalcReport(page, opt.report, opt.project, reportWhy)) {
        err << "velk-calc: " << reportWhy << '\n';
        ok = false;
    }
    if (!opt.pdf.empty() && !VelkCalcPdf(page, opt.pdf, opt.project, err)) ok = false;
    std::string chartsWhy;
    if (!opt.charts.empty() && !VelkCalcCharts(page, opt.charts, opt.loads, chartsWhy)) {
        err << "velk-calc: " << chartsWhy << '\n';
        ok = false;
    }
    return ok;
}

// The chart points of a completed page; empty curves otherwise.
std::string ChartDataJson(const CalcPage& page, const Options& opt, bool& completed, std::ostream& err)
{
    PerformanceCurves curves;
    std::string why;
    if (completed && !ComputePageCurves(page, opt.loads, curves, why)) {
        err << "velk-calc: " << why << '\n';
        completed = false;
    }
    if (!completed) curves = PerformanceCurves();
    return PerformanceCurvesJson(curves);
}

// The status of a completed multi-entry run: 3 under --strict when an
// entry's warnings hold one of error severity. A quote inside a JSON text
// is escaped, so the key and value below occur only as a warning's own.
int StrictStatus(const Options& opt, const std::string& json)
{
    return opt.strict && json.find("\"severity\": \"error\"") != std::string::npos ? 3 : 0;
}

// --units also sets the units of the charts and the PDF report for the run.
class DisplaySystemScope
{
public:
    // Without --units the program-wide setting is neither read nor written,
    // so that runs in several threads of one process (the Python module) do
    // not race on it.
    explicit DisplaySystemScope(std::optional<UnitSystem> system) : set_(system.has_value())
    {
        if (set_) {
            kept_ = CurrentDisplaySystem();
            SetDisplaySystem(*system);
        }
    }
    ~DisplaySystemScope()
    {
        if (set_) SetDisplaySystem(kept_);
    }
    DisplaySystemScope(const DisplaySystemScope&) = delete;
    DisplaySystemScope& operator=(const DisplaySystemScope&) = delete;

private:
    bool set_;
    UnitSystem kept_ = UnitSystem::SI;
};

} // namespace

std::string PageToJson(const CalcPage& page, const std::vector<std::string>& messages, bool completed,
                       const std::string& extra)
{
    std::ostringstream o;
    o << "{\"fields\": " << FieldsJson(page) << ", \"packing\": " << PackingJson()
      << ", \"operation\": " << OperationJson(page.Operation())
      << ", \"warnings\": " << WarningsJson(page.Operation()) << ", \"messages\": [";
    for (std::size_t i = 0; i < messages.size(); ++i)
        o << (i ? ", " : "") << JsonString(messages[i]);
    o << "], \"completed\": " << (completed ? "true" : "false") << extra << "}\n";
    return o.str();
}

int RunVelkCalc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CurrentPacking = PackingParams{};
    std::vector<std::string> rest = args;
    if (!TakePackingsOption(rest, err)) return 2; // before the page, whose selector lists the packings
    CalcPage page;
    CollectingSink sink(err);
    ScopedMessageSink scope(&sink);

    auto usage = [&](const std::string& why) {
        err << "velk-calc: " << why << "\n"
            << "Try 'velk-calc --help'.\n";
        return 2;
    };
    Options opt;
    ColumnOptions column;
    if (std::string why = TakeColumnOptions(rest, column); !why.empty()) return usage(why);
    if (std::string why = ParseArgs(rest, opt); !why.empty()) return usage(why);
    if (opt.help) {
        out << VelkCalcUsage();
        return 0;
    }
    if (std::string why = ValidateOptions(page, opt); !why.empty()) return usage(why);
    if (column.Any() && (opt.compare || !opt.profile.empty() || !opt.cases.empty() || opt.chartData))
        return usage("--column, --column-svg and the bed options design one section; they take no --compare, "
                     "--profile, --cases or --chart-data");
    if (opt.allMethods && !opt.compare) return usage("--all-methods needs --compare");
    if (!opt.pdf.empty() && (opt.compare || !opt.profile.empty()))
        return usage("--pdf writes the report of one case; it takes no --compare or --profile");
    if (std::string why = EfficiencyCombinationComplaint(
            opt.efficiency, opt.compare || !opt.cases.empty() || !opt.profile.empty() || opt.chartData);
        !why.empty())
        return usage(why);
    if (opt.compare &&
        (!opt.packing.empty() || !opt.save.empty() || !opt.diagram.empty() || !opt.report.empty()))
        return usage(
            "--compare computes every packing; it takes no --packing, --save, --diagram or --report");

    const DisplaySystemScope displaySystem(opt.system);
    bool completed = true;
    std::string kept; // the project's records the page does not read
    try {
        if (!opt.project.empty()) {
            std::string why;
            if (!VelkCalcLoadProject(page, opt.project, kept, why)) return usage(why);
        }
        ApplyOptions(page, opt);
        ApplyColumnOptions(page, column);
        if (std::string why = TypedDiameterComplaint(page, opt.rateDiameter, opt.values); !why.empty())
            return usage(why);
        if (opt.compare) {
            // Every entry is computed from the inputs as typed; a failed
            // entry makes the exit status 1 as a failed single run does.
            bool all = true;
            const std::string json = CompareJson(page, opt.allMethods, all);
            out << json;
            return all ? StrictStatus(opt, json) : 1;
        }
        if (!opt.cases.empty()) {
            std::ostringstream json;
            const int status =
                RunCasesCommand(page, opt.cases, !opt.designDp.empty(), opt.conservative, json, err);
            out << json.str();
            return status == 0 ? StrictStatus(opt, json.str()) : status;
        }
        if (!opt.profile.empty()) {
            std::ostringstream json;
            const int status = RunProfileCommand(
                page, opt.profile, opt.beds,
                opt.rateDiameter.empty() ? std::nullopt : std::optional(opt.rateDiameter), json, err);
            out << json.str();
            return status == 0 ? StrictStatus(opt, json.str()) : status;
        }
        page.NeedsRecalc = true;
        completed = page.RecalcReported();
        if (!WriteOutputs(page, opt, kept, sink, err)) completed = false;
    } catch (const std::exception& e) {
        ReportError(e);
        completed = false;
    }
    if (opt.chartData)
        out << ChartDataJson(page, opt, completed, err);
    else {
        bool columnOk = true;
        const std::string columnJson = ColumnJsonExtra(page, column, completed, columnOk, err);
        if (!columnOk) completed = false;
        out << PageToJson(page, sink.texts, completed,
                          DesignJson(page, !opt.designDp.empty(), opt.conservative, completed) +
                              EfficiencyJson(page, opt.efficiency, err) + columnJson);
    }
    if (!completed) return 1;
    return opt.strict && HasErrorWarning(page.Operation()) ? 3 : 0;
}

std::string SetUpVelkCalcPage(const std::vector<std::string>& args, CalcPage& page)
{
    Options opt;
    if (std::string why = ParseArgs(args, opt); !why.empty()) return why;
    if (std::string why = ValidateOptions(page, opt); !why.empty()) return why;
    if (opt.help || opt.compare || !opt.cases.empty() || !opt.profile.empty() || opt.chartData ||
        !opt.save.empty() || !opt.diagram.empty() || !opt.report.empty() || !opt.pdf.empty() ||
        !opt.charts.empty())
        return "a sweep takes the options of one case only";
    std::string kept;
    if (!opt.project.empty())
        if (std::string why; !VelkCalcLoadProject(page, opt.project, kept, why)) return why;
    ApplyOptions(page, opt);
    return TypedDiameterComplaint(page, opt.rateDiameter, opt.values);
}
