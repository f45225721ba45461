#include "VelkCalc.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <ostream>
#include <sstream>

#include "CalcPage.h"
#include "Messages.h"
#include "NumberText.h"
#include "PackingCatalogue.h"
#include "VelkCalcExtras.h"

namespace {

std::string JsonString(const std::string& s)
{
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::string JsonNumber(double v)
{
    if (!std::isfinite(v))
        return "null";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

std::string ColourName(TColor c)
{
    if (c == clWindow)
        return "window";
    if (c == clBtnFace)
        return "btnface";
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    return buf;
}

class CollectingSink : public MessageSink {
public:
    explicit CollectingSink(std::ostream& err) : err_(err) {}
    void showMessage(MsgKind, const std::string& text, const std::string&) override
    {
        texts.push_back(text);
        err_ << text << '\n';
    }
    std::vector<std::string> texts;

private:
    std::ostream& err_;
};

bool ParseIndex(const std::string& s, int& out)
{
    if (s.empty() || s.size() > 6)
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    out = std::stoi(s);
    return true;
}

} // namespace

std::string VelkCalcUsage()
{
    return "Usage: velk-calc [options] [FIELD=TEXT]...\n"
           "Computes one column section and prints the whole calculation page as JSON.\n"
           "\n"
           "Options:\n"
           "  --packing NAME      packing type, exactly as in the catalogue (default: the first)\n"
           "  --method 0|1|2      flooding correlation: 0 Rusk-Tovan, 1 Billet, 2 Kister-Gill-Tovan\n"
           "  --lagrange          local interpolation in the Kister-Gill chart (method 2)\n"
           "  --foaming TEXT      foaming factor, one of 0.2 ... 1.0 (default 0.8)\n"
           "  --flood TEXT        design percentage of flooding (default 80)\n"
           "  --unit FIELD=INDEX  select unit INDEX (0 = first) of FIELD's unit list\n"
           "  --project FILE      load a project file first (either project format)\n"
           "  --save FILE         write the resulting state as a project file\n"
           "  --diagram FILE      draw the operating performance diagram (.png or .svg)\n"
           "  --size WxH          diagram size in pixels (default 1001x727)\n"
           "  --report FILE.xlsx  write the report workbook of the computed case\n"
           "  --help              show this text\n"
           "\n"
           "FIELD=TEXT types TEXT into the value field FIELD (LD, VD, DlD, DvD, MlD, MvD, SLD,\n"
           "DlfD, DvfD, meD, alfD, LmdD, or a result field such as dpD), in the field's current\n"
           "unit. A result field given this way is treated as cleared by the user first.\n"
           "Exit status: 0 completed, 1 the calculation ended with an error, 2 usage error.\n";
}

std::string PageToJson(const CalcPage& page, const std::vector<std::string>& messages, bool completed)
{
    std::ostringstream o;
    o << "{\"fields\": {";
    bool first = true;
    for (TEditD* f : page.ValueFields()) {
        if (!first)
            o << ", ";
        first = false;
        double si;
        std::string siText = "null";
        long double v;
        if (ParseNumber(Trim(f->Text()), v)) {
            si = static_cast<double>(v * static_cast<long double>(f->Exchange()));
            siText = JsonNumber(si);
        }
        TComboBoxU* u = page.UnitOf(f);
        o << JsonString(f->Name()) << ": {\"text\": " << JsonString(f->Text())
          << ", \"display\": " << JsonString(f->FloatStr()) << ", \"unit\": " << JsonString(u ? u->GetUnit() : "")
          << ", \"si\": " << siText << ", \"color\": " << JsonString(ColourName(f->Color()))
          << ", \"readOnly\": " << (f->ReadOnly() ? "true" : "false") << "}";
    }
    const PackingParams& p = CurrentPacking;
    o << "}, \"packing\": {\"a\": " << JsonNumber(p.a) << ", \"eps\": " << JsonNumber(p.eps)
      << ", \"h\": " << JsonNumber(p.h) << ", \"B2\": " << JsonNumber(p.B2) << ", \"S\": " << JsonNumber(p.S)
      << ", \"theta\": " << JsonNumber(p.theta) << ", \"dh\": " << JsonNumber(p.dh)
      << ", \"uLmin\": " << JsonNumber(p.uLmin) << "}, \"messages\": [";
    for (std::size_t i = 0; i < messages.size(); ++i)
        o << (i ? ", " : "") << JsonString(messages[i]);
    o << "], \"completed\": " << (completed ? "true" : "false") << "}\n";
    return o.str();
}

int RunVelkCalc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CurrentPacking = PackingParams{};
    CalcPage page;
    CollectingSink sink(err);
    ScopedMessageSink scope(&sink);

    struct Options {
        std::string packing, foaming, flood, project, save, diagram, report, size;
        int method = -1;
        bool lagrange = false;
        std::vector<std::pair<std::string, int>> units;
        std::vector<std::pair<std::string, std::string>> values;
    } opt;

    auto usage = [&](const std::string& why) {
        err << "velk-calc: " << why << "\n" << "Try 'velk-calc --help'.\n";
        return 2;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto next = [&](std::string& target) {
            if (i + 1 >= args.size())
                return false;
            target = args[++i];
            return true;
        };
        if (a == "--help" || a == "-h") {
            out << VelkCalcUsage();
            return 0;
        } else if (a == "--packing") {
            if (!next(opt.packing))
                return usage("--packing needs a name");
        } else if (a == "--method") {
            std::string m;
            if (!next(m) || (m != "0" && m != "1" && m != "2"))
                return usage("--method needs 0, 1 or 2");
            opt.method = m[0] - '0';
        } else if (a == "--lagrange") {
            opt.lagrange = true;
        } else if (a == "--foaming") {
            if (!next(opt.foaming))
                return usage("--foaming needs a value");
        } else if (a == "--flood") {
            if (!next(opt.flood))
                return usage("--flood needs a value");
        } else if (a == "--unit") {
            std::string unitArg;
            if (!next(unitArg))
                return usage("--unit needs FIELD=INDEX");
            const auto eq = unitArg.find('=');
            int index;
            if (eq == std::string::npos || !ParseIndex(unitArg.substr(eq + 1), index))
                return usage("--unit needs FIELD=INDEX, not '" + unitArg + "'");
            opt.units.emplace_back(unitArg.substr(0, eq), index);
        } else if (a == "--project") {
            if (!next(opt.project))
                return usage("--project needs a file");
        } else if (a == "--save") {
            if (!next(opt.save))
                return usage("--save needs a file");
        } else if (a == "--diagram") {
            if (!next(opt.diagram))
                return usage("--diagram needs a file");
        } else if (a == "--size") {
            if (!next(opt.size))
                return usage("--size needs WxH");
        } else if (a == "--report") {
            if (!next(opt.report))
                return usage("--report needs a file");
        } else if (a.rfind("--", 0) == 0) {
            return usage("unknown option '" + a + "'");
        } else {
            const auto eq = a.find('=');
            if (eq == std::string::npos || eq == 0)
                return usage("expected FIELD=TEXT, not '" + a + "'");
            opt.values.emplace_back(a.substr(0, eq), a.substr(eq + 1));
        }
    }

    // Validate everything before touching the page.
    int packingIndex = -1, foamingIndex = -1;
    if (!opt.packing.empty()) {
        const auto& items = page.Combo("PTD")->Items();
        for (std::size_t k = 0; k < items.size(); ++k)
            if (items[k] == opt.packing)
                packingIndex = static_cast<int>(k);
        if (packingIndex < 0) {
            std::string known;
            for (const auto& item : items)
                known += (known.empty() ? "" : ", ") + item;
            return usage("unknown packing '" + opt.packing + "'; the catalogue has: " + known);
        }
    }
    if (!opt.foaming.empty()) {
        const auto& items = page.Combo("AfD")->Items();
        for (std::size_t k = 0; k < items.size(); ++k)
            if (items[k] == opt.foaming)
                foamingIndex = static_cast<int>(k);
        if (foamingIndex < 0)
            return usage("foaming factor must be one of 0.2 ... 1.0, not '" + opt.foaming + "'");
    }
    for (const auto& [field, index] : opt.units) {
        TEditD* f = page.Field(field);
        if (!f)
            return usage("unknown field '" + field + "'");
        TComboBoxU* u = page.UnitOf(f);
        if (!u || index >= static_cast<int>(u->Items().size()))
            return usage("field '" + field + "' has no unit " + std::to_string(index));
    }
    for (const auto& [field, text] : opt.values)
        if (!page.Field(field))
            return usage("unknown field '" + field + "'");
    int width = 1001, height = 727;
    if (!opt.size.empty()) {
        const auto x = opt.size.find('x');
        if (x == std::string::npos || !ParseIndex(opt.size.substr(0, x), width) ||
            !ParseIndex(opt.size.substr(x + 1), height) || width < 50 || height < 50 || width > 20000 ||
            height > 20000)
            return usage("--size needs WxH between 50 and 20000, not '" + opt.size + "'");
    }

    bool completed = true;
    try {
        if (!opt.project.empty()) {
            std::string why;
            if (!VelkCalcLoadProject(page, opt.project, why))
                return usage(why);
        }
        if (packingIndex >= 0)
            page.Combo("PTD")->SetItemIndex(packingIndex);
        if (opt.method >= 0)
            page.Combo("UfMD")->SetItemIndex(opt.method);
        page.Check("CBLagrange")->SetEnabled(page.Combo("UfMD")->ItemIndex() == 2);
        if (opt.lagrange)
            page.Check("CBLagrange")->SetChecked(true);
        if (foamingIndex >= 0)
            page.Combo("AfD")->SetItemIndex(foamingIndex);
        if (!opt.flood.empty())
            page.Combo("fpercentD")->SetText(opt.flood);
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
        page.NeedsRecalc = true;
        completed = page.RecalcReported();

        if (!opt.save.empty()) {
            std::string why;
            if (!VelkCalcSaveProject(page, opt.save, why)) {
                err << "velk-calc: " << why << '\n';
                completed = false;
            }
        }
        if (!opt.diagram.empty()) {
            std::string why;
            if (!VelkCalcDiagram(page, opt.diagram, width, height, why)) {
                sink.texts.push_back(why);
                err << "velk-calc: " << why << '\n';
                completed = false;
            }
        }
        if (!opt.report.empty()) {
            std::string why;
            if (!VelkCalcReport(page, opt.report, opt.project, why)) {
                err << "velk-calc: " << why << '\n';
                completed = false;
            }
        }
    } catch (const std::exception& e) {
        ReportError(e);
        completed = false;
    }
    out << PageToJson(page, sink.texts, completed);
    return completed ? 0 : 1;
}
