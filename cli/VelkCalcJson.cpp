#include "VelkCalcJson.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "CalcPage.h"
#include "CaseState.h"
#include "NumberText.h"
#include "OperatingCheck.h"
#include "PackingCatalogue.h"
#include "Utf8Text.h"

namespace {

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

std::string FieldJson(const CalcPage& page, const TEditD* f, const CaseFieldState& state)
{
    std::string siText = "null";
    long double v;
    if (ParseNumber(Trim(f->Text()), v))
        siText = JsonNumber(static_cast<double>(v * static_cast<long double>(f->Exchange())));
    TComboBoxU* u = page.UnitOf(f);
    std::ostringstream o;
    o << "{\"text\": " << JsonString(f->Text()) << ", \"display\": " << JsonString(f->FloatStr())
      << ", \"unit\": " << JsonString(u ? u->GetUnit() : "") << ", \"si\": " << siText
      << ", \"color\": " << JsonString(ColourName(f->Color()))
      << ", \"readOnly\": " << (f->ReadOnly() ? "true" : "false")
      << ", \"stale\": " << (state.stale ? "true" : "false")
      << ", \"invalid\": " << (state.invalid ? "true" : "false") << "}";
    return o.str();
}

} // namespace

std::string JsonString(const std::string& text)
{
    // JSON is UTF-8: a byte of another encoding (a case name from a file)
    // becomes U+FFFD rather than make the whole output unreadable.
    const std::string s = ValidUtf8(text);
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

std::string FieldsJson(const CalcPage& page)
{
    // The marks come from the case's one state, as in every other output.
    const CaseState state = CaseStateOf(page);
    std::string o = "{";
    for (std::size_t i = 0; i < page.ValueFields().size(); ++i) {
        if (i)
            o += ", ";
        const TEditD* f = page.ValueFields()[i];
        o += JsonString(f->Name()) + ": " + FieldJson(page, f, state.fields[i]);
    }
    return o + "}";
}

std::string OperationJson(const OperatingCheck& check)
{
    const OperatingFigures& f = check.figures;
    auto num = [](const std::optional<double>& v) { return v ? JsonNumber(*v) : std::string("null"); };
    std::ostringstream o;
    o << "{\"floodPercent\": " << num(f.floodPercent) << ", \"systemFloodPercent\": " << num(f.systemFloodPercent)
      << ", \"designFloodPercent\": " << num(f.designFloodPercent)
      << ", \"FsFactor\": " << num(f.FsFactor) << ", \"capacityFactor\": " << num(f.capacityFactor)
      << ", \"liquidLoad\": " << num(f.liquidLoad) << ", \"wettingRatio\": " << num(f.wettingRatio)
      << ", \"pressureDropMbarPerM\": " << num(f.pressureDropMbarPerM)
      << ", \"stages\": " << (f.stages ? std::to_string(*f.stages) : std::string("null"))
      << ", \"bedHeight\": " << num(f.bedHeight) << ", \"bedPressureDrop\": " << num(f.bedPressureDrop) << "}";
    return o.str();
}

std::string WarningsJson(const OperatingCheck& check)
{
    std::string o = "[";
    for (std::size_t i = 0; i < check.warnings.size(); ++i) {
        const OperatingWarning& w = check.warnings[i];
        o += (i ? ", " : "");
        o += "{\"code\": " + JsonString(w.code) + ", \"field\": " + JsonString(w.field) +
             ", \"text\": " + JsonString(w.text) + ", \"severity\": " + JsonString(SeverityName(w.severity)) + "}";
    }
    return o + "]";
}

bool HasErrorWarning(const OperatingCheck& check)
{
    for (const OperatingWarning& w : check.warnings)
        if (w.severity == WarningSeverity::Error)
            return true;
    return false;
}

std::string PackingJson()
{
    const PackingParams& p = CurrentPacking;
    std::ostringstream o;
    o << "{\"a\": " << JsonNumber(p.a) << ", \"eps\": " << JsonNumber(p.eps) << ", \"h\": " << JsonNumber(p.h)
      << ", \"B2\": " << JsonNumber(p.B2) << ", \"S\": " << JsonNumber(p.S) << ", \"theta\": " << JsonNumber(p.theta)
      << ", \"dh\": " << JsonNumber(p.dh) << ", \"uLmin\": " << JsonNumber(p.uLmin) << "}";
    return o.str();
}
