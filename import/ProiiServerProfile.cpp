#include "ProiiServerProfile.h"

#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "Messages.h"
#include "NumberText.h"

namespace
{

// Beyond any real column; keeps a typo such as 1e9 from building a huge file.
constexpr int kMaxTray = 100000;

struct Line {
    int number;
    std::vector<std::string> fields;
};

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

class ProfileParser
{
public:
    ProfileParser(const std::string& text, std::string source) : text_(text), source_(std::move(source)) {}

    SimulationData Run();

private:
    [[noreturn]] void Fail(int line, const std::string& what) const
    {
        throw EConvertError(source_ + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + what);
    }
    std::vector<std::string> SplitFields(const std::string& line, int lineNo) const;
    double Number(const std::string& field, int line, const std::string& what) const;
    int WholeNumber(const std::string& field, int line, const std::string& what) const;
    SimColumn& ColumnFor(const std::string& name, int line);

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
    std::vector<std::string> fields;
    std::string current;
    bool quoted = false, wasQuoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < line.size() && line[i + 1] == '"') {
                    current.push_back('"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                current.push_back(c);
            }
        } else if (c == '"' && Trim(current).empty() && !wasQuoted) {
            current.clear();
            quoted = wasQuoted = true;
        } else if (c == ',') {
            fields.push_back(wasQuoted ? current : Trim(current));
            current.clear();
            wasQuoted = false;
        } else if (wasQuoted && c != ' ' && c != '\t') {
            Fail(lineNo, "text after a closing quote");
        } else if (!wasQuoted) {
            current.push_back(c);
        }
    }
    if (quoted) Fail(lineNo, "a quoted field is not closed");
    fields.push_back(wasQuoted ? current : Trim(current));
    return fields;
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
    if (v != std::floor(v) || v < 0 || v > kMaxTray)
        Fail(line, what + ": \"" + field + "\" is not a whole number");
    return static_cast<int>(v);
}

SimColumn& ProfileParser::ColumnFor(const std::string& name, int line)
{
    const auto it = columnIndex_.find(Lower(name));
    if (it == columnIndex_.end()) Fail(line, "column \"" + name + "\" has no trays in this profile");
    return data_.columns[it->second];
}

SimulationData ProfileParser::Run()
{
    std::string body = text_;
    if (body.size() >= 3 && body.compare(0, 3, "\xEF\xBB\xBF") == 0) body.erase(0, 3);

    std::vector<Line> directives;
    std::vector<std::string> header;
    int headerLine = 0;
    std::vector<Line> rows;

    int lineNo = 0;
    std::size_t start = 0;
    while (start <= body.size()) {
        std::size_t end = body.find('\n', start);
        if (end == std::string::npos) end = body.size();
        std::string line = body.substr(start, end - start);
        start = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string trimmed = Trim(line);
        if (trimmed.empty()) continue;
        if (trimmed.compare(0, 2, "#@") == 0) {
            directives.push_back({lineNo, SplitFields(trimmed.substr(2), lineNo)});
            continue;
        }
        if (trimmed[0] == '#') continue;
        if (header.empty()) {
            header = SplitFields(line, lineNo);
            headerLine = lineNo;
            continue;
        }
        rows.push_back({lineNo, SplitFields(line, lineNo)});
    }
    if (header.empty()) Fail(0, "no header row (column, tray, ...) and no trays");

    // Header.
    static const std::vector<std::string> known = {"column",          "tray",          "pressure",
                                                   "temperature",     "temperature_c", "liq_mw",
                                                   "liq_density",     "liq_viscosity", "liq_surface_tension",
                                                   "liq_molar_rate",  "liq_mass_rate", "liq_thermal_cond",
                                                   "vap_mw",          "vap_density",   "vap_viscosity",
                                                   "vap_molar_rate",  "vap_mass_rate", "vap_surface_tension",
                                                   "vap_thermal_cond", "liq_diffusivity", "vap_diffusivity",
                                                   "equilibrium_slope"};
    std::map<std::string, std::size_t> col;
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string name = Lower(header[i]);
        bool isKnown = false;
        for (const std::string& k : known)
            isKnown = isKnown || k == name;
        if (!isKnown) Fail(headerLine, "unknown column \"" + header[i] + "\" in the header");
        if (!col.emplace(name, i).second) Fail(headerLine, "column \"" + header[i] + "\" is named twice");
    }
    auto require = [&](const char* name) {
        if (!col.count(name)) Fail(headerLine, std::string("the header has no column \"") + name + "\"");
    };
    auto oneOf = [&](const char* a, const char* b) {
        const bool hasA = col.count(a) != 0, hasB = col.count(b) != 0;
        if (hasA == hasB)
            Fail(headerLine, std::string("the header needs exactly one of \"") + a + "\" and \"" + b + "\"");
    };
    for (const char* name : {"column", "tray", "pressure", "liq_mw", "liq_density", "liq_viscosity",
                             "liq_surface_tension", "vap_mw", "vap_density", "vap_viscosity"})
        require(name);
    oneOf("temperature", "temperature_c");
    oneOf("liq_molar_rate", "liq_mass_rate");
    oneOf("vap_molar_rate", "vap_mass_rate");

    // Trays.
    for (const Line& row : rows) {
        if (row.fields.size() > header.size())
            Fail(row.number, "more fields (" + std::to_string(row.fields.size()) +
                                 ") than the header names (" + std::to_string(header.size()) + ")");
        auto cell = [&](const char* name) -> std::string {
            auto it = col.find(name);
            if (it == col.end() || it->second >= row.fields.size()) return {};
            return row.fields[it->second];
        };
        auto number = [&](const char* name) { return Number(cell(name), row.number, name); };
        auto optional = [&](const char* name) -> std::optional<double> {
            if (Trim(cell(name)).empty()) return std::nullopt;
            return Number(cell(name), row.number, name);
        };

        const std::string column = cell("column");
        if (column.empty()) Fail(row.number, "the column name is empty");
        const int trayNo = WholeNumber(cell("tray"), row.number, "tray");
        if (trayNo < 1) Fail(row.number, "tray numbers start at 1");

        SimTray t;
        t.number = trayNo;
        t.pressure = number("pressure");
        t.temperature = col.count("temperature") ? number("temperature") : number("temperature_c") + 273.15;
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
        for (auto [phase, molar, mass, mw] :
             {std::tuple{&t.liquid, "liq_molar_rate", "liq_mass_rate", "liq_mw"},
              std::tuple{&t.vapour, "vap_molar_rate", "vap_mass_rate", "vap_mw"}}) {
            if (!(phase->molecularWeight > 0)) Fail(row.number, std::string(mw) + " must be greater than 0");
            phase->molarRate = col.count(molar) ? number(molar) : number(mass) / phase->molecularWeight;
        }

        if (columnIndex_.emplace(Lower(column), data_.columns.size()).second) {
            SimColumn c;
            c.name = column;
            data_.columns.push_back(c);
        }
        auto& byTray = trays_[Lower(column)];
        if (!byTray.emplace(trayNo, t).second)
            Fail(row.number,
                 "tray " + std::to_string(trayNo) + " of column \"" + column + "\" is given twice");
    }
    if (data_.columns.empty()) Fail(0, "no trays");

    for (SimColumn& c : data_.columns) {
        const auto& byTray = trays_[Lower(c.name)];
        c.numberOfTrays = byTray.rbegin()->first;
        int expected = 1;
        for (const auto& [n, t] : byTray) {
            if (n != expected)
                Fail(0, "column \"" + c.name + "\": tray " + std::to_string(expected) + " is missing");
            c.trays.push_back(t);
            ++expected;
        }
    }

    // What is not per tray.
    for (const Line& d : directives) {
        const std::vector<std::string>& f = d.fields;
        const std::string kind = Lower(f.empty() ? std::string() : f[0]);
        auto count = [&](std::size_t lo, std::size_t hi) {
            if (f.size() < lo || f.size() > hi)
                Fail(d.number, "wrong number of fields for \"#@" + kind + "\"");
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
                Fail(d.number,
                     "the feed tray " + std::to_string(tray) + " is not a tray of column \"" + c.name + "\"");
            const std::string stream =
                f.size() > 3 && !f[3].empty() ? f[3] : "FEED" + std::to_string(c.feeds.size() + 1);
            c.feeds.push_back({stream, tray});
        } else {
            Fail(d.number, "unknown line \"#@" + (f.empty() ? std::string() : f[0]) + "\"");
        }
    }

    try {
        ValidateSimulation(data_);
    } catch (const EConvertError& e) {
        Fail(0, e.what());
    }
    return data_;
}

} // namespace

SimulationData ParseTrayProfile(const std::string& text, const std::string& source)
{
    return ProfileParser(text, source).Run();
}

namespace
{

std::string Exact(double v)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

std::string Optional(const std::optional<double>& v)
{
    return v ? Exact(*v) : std::string();
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
        AppendRow(out, {"#@ reflux", Field(c.name), Exact(c.refluxRatio)});
        for (const SimHeater& h : c.heaters)
            AppendRow(out, {"#@ heater", Field(c.name), Field(h.name), Exact(h.duty)});
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
            AppendRow(out, {Field(c.name), std::to_string(t.number), Exact(t.temperature), Exact(t.pressure),
                            Exact(l.molarRate), Exact(l.molecularWeight), Exact(l.density),
                            Exact(l.viscosity), Optional(l.surfaceTension), Optional(l.thermalConductivity),
                            Exact(v.molarRate), Exact(v.molecularWeight), Exact(v.density),
                            Exact(v.viscosity), Optional(v.surfaceTension), Optional(v.thermalConductivity)});
        }
    return out;
}
