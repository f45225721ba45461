#include "LoadCaseCsv.h"

#include <charconv>
#include <cmath>
#include <set>

#include "CsvText.h"
#include "Messages.h"
#include "NumberText.h"

namespace
{

// A CSV column and the case value it fills, in the order the writer puts them.
struct Column {
    const char* name;
    std::optional<double> ProfileStage::*member;
};
const Column kColumns[] = {
    {"vapour_mass_flow", &ProfileStage::V},       {"liquid_mass_flow", &ProfileStage::L},
    {"vap_density", &ProfileStage::rhoV},         {"vap_viscosity", &ProfileStage::muV},
    {"liq_density", &ProfileStage::rhoL},         {"liq_viscosity", &ProfileStage::muL},
    {"liq_surface_tension", &ProfileStage::sigma}, {"liq_diffusivity", &ProfileStage::DL},
    {"vap_diffusivity", &ProfileStage::DV},       {"equilibrium_slope", &ProfileStage::slope},
};
constexpr std::size_t kColumnCount = std::size(kColumns);

[[noreturn]] void Fail(const std::string& source, int line, const std::string& what)
{
    CsvFail(source, line, what);
}

class Reader
{
public:
    Reader(const std::string& source) : source_(source) {}
    void Header(const std::vector<std::string>& fields, int lineNo);
    LoadCase Row(const std::vector<std::string>& fields, int lineNo);

private:
    const std::string& source_;
    int name_ = -1;
    std::vector<int> column_; // header position -> index in kColumns (-1: the name)
    std::set<std::string> names_;
};

void Reader::Header(const std::vector<std::string>& fields, int lineNo)
{
    bool seen[kColumnCount] = {};
    for (const std::string& f : fields) {
        const std::string name = AsciiLower(f);
        int index = -2;
        if (name == "name") index = -1;
        for (std::size_t c = 0; c < kColumnCount; ++c)
            if (name == kColumns[c].name) index = static_cast<int>(c);
        if (index == -2) Fail(source_, lineNo, "unknown column \"" + f + "\" in the header");
        if (index == -1 ? name_ >= 0 : seen[index]) Fail(source_, lineNo, "column \"" + f + "\" is named twice");
        if (index == -1)
            name_ = static_cast<int>(column_.size());
        else
            seen[index] = true;
        column_.push_back(index);
    }
    if (name_ < 0) Fail(source_, lineNo, "the header has no column \"name\"");
    for (std::size_t c = 0; c < 2; ++c)
        if (!seen[c]) Fail(source_, lineNo, std::string("the header has no column \"") + kColumns[c].name + "\"");
}

LoadCase Reader::Row(const std::vector<std::string>& fields, int lineNo)
{
    if (fields.size() > column_.size())
        Fail(source_, lineNo, "more fields (" + std::to_string(fields.size()) + ") than the header names (" +
                                  std::to_string(column_.size()) + ")");
    LoadCase c;
    c.name = static_cast<std::size_t>(name_) < fields.size() ? fields[name_] : std::string();
    if (Trim(c.name).empty()) Fail(source_, lineNo, "the case has no name");
    if (c.name.size() > kMaxLoadCaseName)
        Fail(source_, lineNo, "a case name longer than " + std::to_string(kMaxLoadCaseName) + " bytes");
    for (char ch : c.name)
        if (static_cast<unsigned char>(ch) < 32) Fail(source_, lineNo, "a control character in the case name");
    if (!names_.insert(c.name).second) Fail(source_, lineNo, "the case \"" + c.name + "\" is given twice");
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (column_[i] < 0 || fields[i].empty()) continue;
        const Column& col = kColumns[column_[i]];
        double v = 0;
        if (!ParseNumber(fields[i], v) || !std::isfinite(v))
            Fail(source_, lineNo, std::string(col.name) + ": \"" + fields[i] + "\" is not a number");
        // Flows and properties are positive; an equilibrium slope may be any number.
        if (col.member != &ProfileStage::slope && !(v > 0))
            Fail(source_, lineNo, std::string(col.name) + ": \"" + fields[i] + "\" must be greater than 0");
        c.values.*col.member = v;
    }
    for (std::size_t k = 0; k < 2; ++k)
        if (!(c.values.*kColumns[k].member))
            Fail(source_, lineNo, std::string(kColumns[k].name) + " of the case \"" + c.name + "\" is empty");
    return c;
}

} // namespace

std::vector<LoadCase> ParseLoadCasesCsv(const std::string& text, const std::string& source)
{
    CheckCsvText(text, source, kMaxLoadCaseBytes, std::to_string(kMaxLoadCaseBytes / 1024) + " KB", kMaxLoadCaseLine);
    std::string_view body = text;
    if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
    Reader reader(source);
    bool header = false;
    std::vector<LoadCase> cases;
    int lineNo = 0;
    for (std::size_t start = 0; start <= body.size();) {
        std::size_t end = body.find('\n', start);
        if (end == std::string_view::npos) end = body.size();
        std::string line(body.substr(start, end - start));
        start = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#') continue;
        const std::vector<std::string> fields = SplitCsvFields(line, source, lineNo, kMaxLoadCaseFields);
        if (!header) {
            reader.Header(fields, lineNo);
            header = true;
            continue;
        }
        if (cases.size() >= kMaxLoadCases)
            Fail(source, lineNo, "more than " + std::to_string(kMaxLoadCases) + " cases");
        cases.push_back(reader.Row(fields, lineNo));
    }
    if (!header) Fail(source, 0, "no header row (name, vapour_mass_flow, liquid_mass_flow, ...)");
    if (cases.empty()) Fail(source, 0, "no cases");
    return cases;
}

namespace
{

std::string Quoted(const std::string& s)
{
    std::string out = "\"";
    for (char c : s)
        if (c == '"')
            out += "\"\"";
        else
            out += c;
    return out + "\"";
}

} // namespace

std::string WriteLoadCasesCsv(const std::vector<LoadCase>& cases)
{
    std::vector<std::size_t> used;
    for (std::size_t c = 0; c < kColumnCount; ++c)
        for (const LoadCase& lc : cases)
            if (lc.values.*kColumns[c].member) {
                used.push_back(c);
                break;
            }
    std::string out = "name";
    for (std::size_t c : used)
        out += std::string(",") + kColumns[c].name;
    out += "\n";
    for (const LoadCase& lc : cases) {
        // Quoted always: a name may hold commas, quotes, blanks at its ends or a leading "#".
        out += Quoted(lc.name);
        for (std::size_t c : used) {
            const auto& v = lc.values.*kColumns[c].member;
            out += ',';
            if (v) out += ExactNumber(*v);
        }
        out += "\n";
    }
    return out;
}
