#include "VelkCalcCases.h"

#include <optional>
#include <ostream>
#include <sstream>
#include <vector>

#include "CalcPage.h"
#include "CaseRunText.h"
#include "LoadCaseCsv.h"
#include "LoadCases.h"
#include "Messages.h"
#include "RegularFile.h"
#include "VelkCalcJson.h"

namespace
{

std::string OptionalNumber(const std::optional<double>& v)
{
    return v ? JsonNumber(*v) : "null";
}

std::string CaseJson(const CalcPage& page, const CaseResult& r)
{
    std::ostringstream o;
    o << "{\"name\": " << JsonString(r.name) << ", \"completed\": " << (r.completed ? "true" : "false")
      << ", \"error\": " << (r.error.empty() ? "null" : JsonString(CaseText(r.error).toStdString()))
      << ", \"fields\": " << FieldsJson(page) << ", \"operation\": " << OperationJson(page.Operation())
      << ", \"warnings\": " << WarningsJson(page.Operation()) << "}";
    return o.str();
}

std::string WindowJson(const OperatingWindow& w)
{
    std::ostringstream o;
    auto number = [&](double v) { return w.valid ? JsonNumber(v) : std::string("null"); };
    auto text = [&](const std::string& s) { return w.valid ? JsonString(s) : std::string("null"); };
    o << "{\"minFactor\": " << number(w.minFactor) << ", \"maxFactor\": "
      << number(w.maxFactor)
      // An empty window turns down nothing: a ratio below 1 is no turndown.
      << ", \"turndown\": " << (w.maxFactor > w.minFactor ? number(w.turndown) : std::string("null"))
      << ", \"minLimit\": " << text(w.minLimit) << ", \"maxLimit\": " << text(w.maxLimit)
      << ", \"minFFactor\": " << JsonNumber(w.minFFactor) << "}";
    return o.str();
}

} // namespace

std::string DesignJson(const CalcPage& page, bool design, bool conservative, bool completed)
{
    const DesignOutcome& d = page.Design();
    std::ostringstream o;
    if (!completed) {
        o << (design ? ", \"design\": null" : "") << (conservative ? ", \"conservative\": null" : "");
        return o.str();
    }
    if (design) {
        const bool known = !d.governs.empty();
        o << ", \"design\": {\"basis\": " << JsonString(DesignBasisName(d.basis))
          << ", \"limit\": " << (d.limit ? JsonNumber(*d.limit / 100.0) : "null") // Pa/m to mbar/m
          << ", \"theoreticalDiameter\": " << OptionalNumber(d.theoreticalDiameter)
          << ", \"governs\": " << (known ? JsonString(d.governs) : "null") << "}";
    }
    if (conservative) {
        o << ", \"conservative\": {\"method\": " << (d.floodMethod ? std::to_string(*d.floodMethod) : "null")
          << ", \"skipped\": [";
        for (std::size_t i = 0; i < d.skippedMethods.size(); ++i)
            o << (i ? ", " : "") << d.skippedMethods[i];
        o << "]}";
    }
    return o.str();
}

int RunCasesCommand(const CalcPage& base, const std::string& csvPath, bool design, bool conservative,
                    std::ostream& out, std::ostream& err)
{
    std::vector<LoadCase> cases;
    try {
        cases = ParseLoadCasesCsv(ReadRegularFile(csvPath, kMaxLoadCaseBytes + 1, "larger than 1024 KB"),
                                  csvPath);
    } catch (const std::exception& e) {
        err << "velk-calc: " << e.what() << "\n";
        return 2;
    }
    std::vector<std::string> entries(cases.size()), designs(cases.size());
    std::size_t next = 0;
    const EnvelopeResult env = RateLoadCases(base, cases, [&](const CalcPage& page, const CaseResult& r) {
        entries[next] = CaseJson(page, r);
        designs[next] = DesignJson(page, design, conservative, r.completed);
        ++next;
    });
    bool all = true;
    out << "{\"cases\": [";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        out << (i ? ", " : "") << entries[i];
        all = all && env.cases[i].completed;
    }
    // "sizing" names the case whose theoretical diameter set the section's
    // (sizing mode only): under a pressure-drop limit it need not govern.
    const auto name = [&](const std::optional<int>& i) {
        return i ? JsonString(env.cases[static_cast<std::size_t>(*i)].name) : std::string("null");
    };
    out << "], \"governing\": " << name(env.governing) << ", \"sizing\": " << name(env.sizing)
        << ", \"diameter\": " << OptionalNumber(env.diameter) << ", \"window\": " << WindowJson(env.window);
    // The design the section is sized to: under a pressure-drop limit the case
    // that needs the largest diameter need not be the governing one.
    const std::optional<int> sized =
        env.sizing && env.cases[*env.sizing].completed ? env.sizing : env.governing;
    if (sized)
        out << designs[*sized];
    else
        out << DesignJson(base, design, conservative, false);
    out << "}\n";
    if (!env.window.note.empty()) err << "velk-calc: " << CaseText(env.window.note).toStdString() << "\n";
    return all ? 0 : 1;
}
