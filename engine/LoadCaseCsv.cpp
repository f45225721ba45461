#include "LoadCaseCsv.h"

#include <charconv>
#include <cmath>

#include "CsvText.h"
#include "LoadCaseRules.h"
#include "Messages.h"
#include "NumberText.h"
#include "Utf8Text.h"

namespace
{

// A CSV column and the case value it fills, in the order the writer puts them.
struct Column {
    const char* name;
    std::optional<double> ProfileStage::*member;
    const char* unit;
};
const Column kColumns[] = {
    {"vapour_mass_flow", &ProfileStage::V, "kg/s"},       {"liquid_mass_flow", &ProfileStage::L, "kg/s"},
    {"vap_density", &ProfileStage::rhoV, "kg/m3"},        {"vap_viscosity", &ProfileStage::muV, "Pa.s"},
    {"liq_density", &ProfileStage::rhoL, "kg/m3"},        {"liq_viscosity", &ProfileStage::muL, "Pa.s"},
    {"liq_surface_tension", &ProfileStage::sigma, "N/m"}, {"liq_diffusivity", &ProfileStage::DL, "m2/s"},
    {"vap_diffusivity", &ProfileStage::DV, "m2/s"},       {"equilibrium_slope", &ProfileStage::slope, "1"},
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
    // Header position -> index in kColumns (-1: the name; from kColumnCount on: a result, which is left).
    std::vector<int> column_;
    CaseNames names_;
};

void Reader::Header(const std::vector<std::string>& fields, int lineNo)
{
    bool seen[kColumnCount + std::size(kLoadCaseResultColumns)] = {};
    for (const std::string& f : fields) {
        const std::string name = AsciiLower(f);
        int index = -2;
        if (name == "name") index = -1;
        for (std::size_t c = 0; c < kColumnCount; ++c)
            if (name == kColumns[c].name) index = static_cast<int>(c);
        for (std::size_t c = 0; c < std::size(kLoadCaseResultColumns); ++c)
            if (name == kLoadCaseResultColumns[c].key) index = static_cast<int>(kColumnCount + c);
        if (index == -2) Fail(source_, lineNo, "unknown column \"" + f + "\" in the header");
        if (index == -1 ? name_ >= 0 : seen[index])
            Fail(source_, lineNo, "column \"" + f + "\" is named twice");
        if (index == -1)
            name_ = static_cast<int>(column_.size());
        else
            seen[index] = true;
        column_.push_back(index);
    }
    if (name_ < 0) Fail(source_, lineNo, "the header has no column \"name\"");
    for (std::size_t c = 0; c < 2; ++c)
        if (!seen[c])
            Fail(source_, lineNo, std::string("the header has no column \"") + kColumns[c].name + "\"");
}

LoadCase Reader::Row(const std::vector<std::string>& fields, int lineNo)
{
    if (fields.size() > column_.size())
        Fail(source_, lineNo,
             "more fields (" + std::to_string(fields.size()) + ") than the header names (" +
                 std::to_string(column_.size()) + ")");
    LoadCase c;
    c.name = CaseName(static_cast<std::size_t>(name_) < fields.size() ? fields[name_] : std::string());
    switch (CheckCaseName(c.name)) {
    case CaseFault::None:
        break;
    case CaseFault::NoName:
        Fail(source_, lineNo, "the case has no name");
    case CaseFault::NameTooLong:
        Fail(source_, lineNo, "a case name longer than " + std::to_string(kMaxLoadCaseName) + " bytes");
    case CaseFault::NameNotUtf8:
        Fail(source_, lineNo, "a case name that is not UTF-8");
    default:
        Fail(source_, lineNo, "a control character in the case name");
    }
    if (!names_.Add(c.name)) Fail(source_, lineNo, "the case \"" + c.name + "\" is given twice");
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (column_[i] < 0 || column_[i] >= static_cast<int>(kColumnCount) || fields[i].empty()) continue;
        const Column& col = kColumns[column_[i]];
        double v = 0;
        if (!ParseNumber(fields[i], v) || CheckCaseValue(v) == CaseFault::NotFinite)
            Fail(source_, lineNo, std::string(col.name) + ": \"" + fields[i] + "\" is not a number");
        if (CheckCaseValue(v) != CaseFault::None)
            Fail(source_, lineNo, std::string(col.name) + ": \"" + fields[i] + "\" must be greater than 0");
        c.values.*col.member = v;
    }
    if (const CaseFaultAt f = CheckLoadCase(c); f.fault == CaseFault::NoFlow)
        Fail(source_, lineNo,
             std::string(f.value == 0 ? kColumns[0].name : kColumns[1].name) + " of the case \"" + c.name +
                 "\" is empty");
    return c;
}

} // namespace

std::vector<LoadCase> ParseLoadCasesCsv(const std::string& text, const std::string& source)
{
    CheckCsvText(text, source, kMaxLoadCaseBytes, std::to_string(kMaxLoadCaseBytes / 1024) + " KB",
                 kMaxLoadCaseLine);
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
        // Names are kept as UTF-8; another encoding would be saved as something else.
        if (const auto bad = FirstInvalidUtf8(line))
            throw EConvertError(source + ":" + std::to_string(lineNo) + ":" + std::to_string(*bad + 1) +
                                ": a byte that is not UTF-8 text");
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

// A number as it is; a text with a comma, a quote or blanks at its ends quoted.
std::string QuotedIfNeeded(const std::string& s)
{
    const bool plain =
        s.find_first_of(",\"") == std::string::npos &&
        (s.empty() || (s.front() != ' ' && s.back() != ' ' && s.front() != '\t' && s.back() != '\t'));
    return plain ? s : Quoted(s);
}

// A line break would end the record in the middle.
std::string OneLine(std::string s)
{
    for (char& c : s)
        if (c == '\n' || c == '\r') c = ' ';
    return s;
}

} // namespace

std::string WriteLoadCasesCsv(const std::vector<LoadCase>& cases,
                              const std::vector<std::vector<std::string>>& results,
                              const std::vector<std::string>& trailer)
{
    std::string out = "name", units = "# units: name=text";
    for (const Column& c : kColumns) {
        out += std::string(",") + c.name;
        units += std::string(", ") + c.name + "=" + c.unit;
    }
    if (!results.empty())
        for (const LoadCaseResultColumn& c : kLoadCaseResultColumns) {
            out += std::string(",") + c.key;
            units += std::string(", ") + c.key + "=" + c.unit;
        }
    out += "\n" + units + "\n";
    for (std::size_t i = 0; i < cases.size(); ++i) {
        // Quoted always: a name may hold commas, quotes or a leading "#".
        out += Quoted(cases[i].name);
        for (const Column& c : kColumns) {
            const auto& v = cases[i].values.*c.member;
            out += ',';
            if (v) out += ExactNumber(*v);
        }
        if (i < results.size())
            for (const std::string& cell : results[i])
                out += "," + QuotedIfNeeded(OneLine(cell));
        out += "\n";
    }
    for (const std::string& line : trailer)
        out += "# " + OneLine(line) + "\n";
    return out;
}
