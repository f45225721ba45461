#include "ProiiServerProfile.h"

#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "CsvText.h"
#include "Messages.h"
#include "NumberText.h"

namespace
{

// The range of the whole numbers of a profile (trays, status): checked
// before the conversion, which beyond it would not be defined.
constexpr int kMaxWhole = 100000;
// A header names each known column at most once; no line has more fields.
constexpr std::size_t kMaxFields = 32;

// A directive is kept as its text until the trays are known.
struct Directive {
    int number;
    std::string text;
};

[[noreturn]] void FailAt(const std::string& source, int line, const std::string& what)
{
    CsvFail(source, line, what);
}

class ProfileParser
{
public:
    ProfileParser(const std::string& text, std::string source) : text_(text), source_(std::move(source)) {}

    SimulationData Run();

private:
    [[noreturn]] void Fail(int line, const std::string& what) const { FailAt(source_, line, what); }
    std::vector<std::string> SplitFields(const std::string& line, int lineNo) const;
    double Number(const std::string& field, int line, const std::string& what) const;
    int WholeNumber(const std::string& field, int line, const std::string& what) const;
    SimColumn& ColumnFor(const std::string& name, int line);
    void ReadHeader(const std::string& line, int lineNo);
    void AddTray(const std::vector<std::string>& fields, int lineNo);
    void CollectTrays();
    void ApplyDirective(const Directive& d);

    std::vector<std::string> header_;
    int headerLine_ = 0;
    std::map<std::string, std::size_t> col_; // lower-case name -> field index
    std::size_t trayCount_ = 0;

    const std::string& text_;
    std::string source_;
    SimulationData data_;
    std::map<std::string, std::map<int, SimTray>> trays_; // column -> tray -> data
    // Lower-case column name -> index in data_.columns: a look-up per row
    // and per line must not walk all columns (40,000 columns made it
    // quadratic).
    std::unordered_map<std::string, std::size_t> columnIndex_;
};

std::vector<std::string> ProfileParser::SplitFields(const std::string& line, int lineNo) const
{
    return SplitCsvFields(line, source_, lineNo, kMaxFields);
}

double ProfileParser::Number(const std::string& field, int line, const std::string& what) const
{
    double v = 0;
    if (!ParseNumber(Trim(field), v) || !std::isfinite(v))
        Fail(line, what + ": \"" + field + "\" is not a number");
    return v;
}

int ProfileParser::WholeNumber(const std::string& field, int line, const std::string& what) const
{
    const double v = Number(field, line, what);
    if (v != std::floor(v) || v < 0 || v > kMaxWhole)
        Fail(line, what + ": \"" + field + "\" is not a whole number");
    return static_cast<int>(v);
}

SimColumn& ProfileParser::ColumnFor(const std::string& name, int line)
{
    const auto it = columnIndex_.find(AsciiLower(name));
    if (it == columnIndex_.end()) Fail(line, "column \"" + name + "\" has no trays in this profile");
    return data_.columns[it->second];
}

void ProfileParser::ReadHeader(const std::string& line, int lineNo)
{
    header_ = SplitFields(line, lineNo);
    headerLine_ = lineNo;
    static const std::vector<std::string> known = {"column",          "tray",          "pressure",
                                                   "temperature",     "temperature_c", "liq_mw",
                                                   "liq_density",     "liq_viscosity", "liq_surface_tension",
                                                   "liq_molar_rate",  "liq_mass_rate", "liq_thermal_cond",
                                                   "vap_mw",          "vap_density",   "vap_viscosity",
                                                   "vap_molar_rate",  "vap_mass_rate", "vap_surface_tension",
                                                   "vap_thermal_cond", "liq_diffusivity", "vap_diffusivity",
                                                   "equilibrium_slope", "stage_type"};
    for (std::size_t i = 0; i < header_.size(); ++i) {
        const std::string name = AsciiLower(header_[i]);
        bool isKnown = false;
        for (const std::string& k : known)
            isKnown = isKnown || k == name;
        if (!isKnown) Fail(lineNo, "unknown column \"" + header_[i] + "\" in the header");
        if (!col_.emplace(name, i).second) Fail(lineNo, "column \"" + header_[i] + "\" is named twice");
    }
    auto require = [&](const char* name) {
        if (!col_.count(name)) Fail(lineNo, std::string("the header has no column \"") + name + "\"");
    };
    auto oneOf = [&](const char* a, const char* b) {
        const bool hasA = col_.count(a) != 0, hasB = col_.count(b) != 0;
        if (hasA == hasB)
            Fail(lineNo, std::string("the header needs exactly one of \"") + a + "\" and \"" + b + "\"");
    };
    for (const char* name : {"column", "tray", "pressure", "liq_mw", "liq_density", "liq_viscosity",
                             "liq_surface_tension", "vap_mw", "vap_density", "vap_viscosity"})
        require(name);
    oneOf("temperature", "temperature_c");
    oneOf("liq_molar_rate", "liq_mass_rate");
    oneOf("vap_molar_rate", "vap_mass_rate");
}

void ProfileParser::AddTray(const std::vector<std::string>& fields, int lineNo)
{
    if (fields.size() > header_.size())
        Fail(lineNo, "more fields (" + std::to_string(fields.size()) + ") than the header names (" +
                         std::to_string(header_.size()) + ")");
    if (++trayCount_ > kMaxTrayProfileTrays)
        Fail(lineNo, "more than " + std::to_string(kMaxTrayProfileTrays) + " trays in one profile");
    auto cell = [&](const char* name) -> std::string {
        auto it = col_.find(name);
        if (it == col_.end() || it->second >= fields.size()) return {};
        return fields[it->second];
    };
    auto number = [&](const char* name) { return Number(cell(name), lineNo, name); };
    auto optional = [&](const char* name) -> std::optional<double> {
        if (Trim(cell(name)).empty()) return std::nullopt;
        return Number(cell(name), lineNo, name);
    };

    const std::string column = cell("column");
    if (column.empty()) Fail(lineNo, "the column name is empty");
    const int trayNo = WholeNumber(cell("tray"), lineNo, "tray");
    if (trayNo < 1) Fail(lineNo, "tray numbers start at 1");
    // A typo such as 1e9 must not build a huge column.
    if (trayNo > kMaxTrayProfileStages)
        Fail(lineNo, "tray " + std::to_string(trayNo) + " is beyond the " + std::to_string(kMaxTrayProfileStages) +
                         " trays a column may have");

    SimTray t;
    t.number = trayNo;
    t.pressure = number("pressure");
    t.temperature = col_.count("temperature") ? number("temperature") : number("temperature_c") + 273.15;
    t.liquid.molecularWeight = number("liq_mw");
    t.liquid.density = number("liq_density");
    t.liquid.viscosity = number("liq_viscosity");
    t.liquid.surfaceTension = number("liq_surface_tension");
    t.liquid.thermalConductivity = optional("liq_thermal_cond");
    t.vapour.molecularWeight = number("vap_mw");
    t.vapour.density = number("vap_density");
    t.vapour.viscosity = number("vap_viscosity");
    t.vapour.surfaceTension = optional("vap_surface_tension");
    t.vapour.thermalConductivity = optional("vap_thermal_cond");
    t.liquidDiffusivity = optional("liq_diffusivity");
    t.vapourDiffusivity = optional("vap_diffusivity");
    t.equilibriumSlope = optional("equilibrium_slope");
    t.stageType = AsciiLower(Trim(cell("stage_type")));
    if (t.stageType != "" && t.stageType != "condenser" && t.stageType != "reboiler")
        Fail(lineNo, "stage_type must be condenser, reboiler or empty, not \"" + Trim(cell("stage_type")) + "\"");
    for (auto [phase, molar, mass, mw] :
         {std::tuple{&t.liquid, "liq_molar_rate", "liq_mass_rate", "liq_mw"},
          std::tuple{&t.vapour, "vap_molar_rate", "vap_mass_rate", "vap_mw"}}) {
        if (!(phase->molecularWeight > 0)) Fail(lineNo, std::string(mw) + " must be greater than 0");
        phase->molarRate = col_.count(molar) ? number(molar) : number(mass) / phase->molecularWeight;
    }

    if (columnIndex_.emplace(AsciiLower(column), data_.columns.size()).second) {
        SimColumn c;
        c.name = column;
        data_.columns.push_back(c);
    }
    auto& byTray = trays_[AsciiLower(column)];
    if (!byTray.emplace(trayNo, t).second)
        Fail(lineNo, "tray " + std::to_string(trayNo) + " of column \"" + column + "\" is given twice");
}

void ProfileParser::CollectTrays()
{
    if (data_.columns.empty()) Fail(0, "no trays");
    for (SimColumn& c : data_.columns) {
        auto& byTray = trays_[AsciiLower(c.name)];
        c.numberOfTrays = byTray.rbegin()->first;
        int expected = 1;
        for (const auto& [n, t] : byTray) {
            if (n != expected)
                Fail(0, "column \"" + c.name + "\": tray " + std::to_string(expected) + " is missing");
            c.trays.push_back(t);
            ++expected;
        }
        byTray.clear(); // each tray is held once
    }
}

void ProfileParser::ApplyDirective(const Directive& d)
{
    const std::vector<std::string> f = SplitFields(d.text, d.number);
    const std::string kind = AsciiLower(f.empty() ? std::string() : f[0]);
    auto count = [&](std::size_t lo, std::size_t hi) {
        if (f.size() < lo || f.size() > hi) Fail(d.number, "wrong number of fields for \"#@" + kind + "\"");
    };
    if (kind == "title") {
        count(2, 2);
        data_.title = f[1];
    } else if (kind == "status") {
        count(2, 2);
        data_.status = WholeNumber(f[1], d.number, "status");
    } else if (kind == "reflux") {
        count(3, 3);
        ColumnFor(f[1], d.number).refluxRatio = Number(f[2], d.number, "reflux ratio");
    } else if (kind == "heater") {
        count(4, 4);
        if (f[2].empty()) Fail(d.number, "the heater has no name");
        ColumnFor(f[1], d.number).heaters.push_back({f[2], Number(f[3], d.number, "heater duty")});
    } else if (kind == "feed") {
        count(3, 4);
        SimColumn& c = ColumnFor(f[1], d.number);
        const int tray = WholeNumber(f[2], d.number, "feed tray");
        if (tray < 1 || tray > c.numberOfTrays)
            Fail(d.number, "the feed tray " + std::to_string(tray) + " is not a tray of column \"" + c.name + "\"");
        const std::string stream = f.size() > 3 && !f[3].empty() ? f[3] : "FEED" + std::to_string(c.feeds.size() + 1);
        c.feeds.push_back({stream, tray});
    } else {
        Fail(d.number, "unknown line \"#@" + (f.empty() ? std::string() : f[0]) + "\"");
    }
}

// Each tray row is read as it comes, so that memory follows what the file
// holds, not how many fields its lines split into.
SimulationData ProfileParser::Run()
{
    CheckTrayProfileText(text_, source_);
    std::string_view body = text_;
    if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);

    std::vector<Directive> directives;
    int lineNo = 0;
    std::size_t start = 0;
    while (start <= body.size()) {
        std::size_t end = body.find('\n', start);
        if (end == std::string_view::npos) end = body.size();
        std::string line(body.substr(start, end - start));
        start = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string trimmed = Trim(line);
        if (trimmed.empty()) continue;
        if (trimmed.compare(0, 2, "#@") == 0) {
            SplitFields(trimmed.substr(2), lineNo); // a damaged line is refused where it stands
            directives.push_back({lineNo, trimmed.substr(2)});
        } else if (trimmed[0] == '#') {
            continue;
        } else if (header_.empty()) {
            ReadHeader(line, lineNo);
        } else {
            AddTray(SplitFields(line, lineNo), lineNo);
        }
    }
    if (header_.empty()) Fail(0, "no header row (column, tray, ...) and no trays");
    CollectTrays();
    for (const Directive& d : directives)
        ApplyDirective(d);

    try {
        ValidateSimulation(data_);
    } catch (const EConvertError& e) {
        Fail(0, e.what());
    }
    return std::move(data_);
}

} // namespace

void CheckTrayProfileText(std::string_view text, const std::string& source)
{
    CheckCsvText(text, source, kMaxTrayProfileBytes, std::to_string(kMaxTrayProfileBytes / (1024 * 1024)) + " MB",
                 kMaxTrayProfileLine);
}

SimulationData ParseTrayProfile(const std::string& text, const std::string& source)
{
    return ProfileParser(text, source).Run();
}

namespace
{

std::string Optional(const std::optional<double>& v)
{
    return v ? ExactNumber(*v) : std::string();
}

// Quotes a field when it holds a comma, a quote or surrounding blanks.
std::string Field(const std::string& s)
{
    const bool plain = s.find_first_of(",\"\r\n") == std::string::npos && Trim(s) == s;
    if (plain) return s;
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

// Fields joined with commas, ended by a newline (appended piecewise: GCC 12
// warns falsely about literal + string chains here).
void AppendRow(std::string& out, std::initializer_list<std::string> fields)
{
    bool first = true;
    for (const std::string& f : fields) {
        if (!first) out.push_back(',');
        out.append(f);
        first = false;
    }
    out.push_back('\n');
}

} // namespace

std::string WriteTrayProfile(const SimulationData& data)
{
    std::string out;
    if (!data.title.empty()) AppendRow(out, {"#@ title", Field(data.title)});
    AppendRow(out, {"#@ status", std::to_string(data.status)});
    for (const SimColumn& c : data.columns) {
        AppendRow(out, {"#@ reflux", Field(c.name), ExactNumber(c.refluxRatio)});
        for (const SimHeater& h : c.heaters)
            AppendRow(out, {"#@ heater", Field(c.name), Field(h.name), ExactNumber(h.duty)});
        for (const SimFeed& f : c.feeds)
            AppendRow(out, {"#@ feed", Field(c.name), std::to_string(f.tray), Field(f.stream)});
    }
    AppendRow(out, {"column", "tray", "temperature", "pressure", "liq_molar_rate", "liq_mw", "liq_density",
                    "liq_viscosity", "liq_surface_tension", "liq_thermal_cond", "vap_molar_rate", "vap_mw",
                    "vap_density", "vap_viscosity", "vap_surface_tension", "vap_thermal_cond"});
    for (const SimColumn& c : data.columns)
        for (const SimTray& t : c.trays) {
            const SimPhase& l = t.liquid;
            const SimPhase& v = t.vapour;
            AppendRow(out, {Field(c.name), std::to_string(t.number), ExactNumber(t.temperature),
                            ExactNumber(t.pressure), ExactNumber(l.molarRate), ExactNumber(l.molecularWeight), ExactNumber(l.density),
                            ExactNumber(l.viscosity), Optional(l.surfaceTension), Optional(l.thermalConductivity),
                            ExactNumber(v.molarRate), ExactNumber(v.molecularWeight), ExactNumber(v.density),
                            ExactNumber(v.viscosity), Optional(v.surfaceTension), Optional(v.thermalConductivity)});
        }
    return out;
}
