#include "SaveFormDataProperties.h"

#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>

#include "ComboBoxU.h"
#include "Controls.h"
#include "EditD.h"
#include "Messages.h"
#include "NumberText.h"

namespace
{

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

constexpr long long kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr long long kInt32Max = std::numeric_limits<std::int32_t>::max();

// One published property: its name, kind, the control type it belongs to
// (tested by the setter's cast) and the setter over the converted text.
struct Property {
    std::string_view name;
    PropertyKind kind;
    bool (*owns)(TControl&);
    void (*set)(TControl&, const std::string&);
};

template <class T> bool Is(TControl& c)
{
    return dynamic_cast<T*>(&c) != nullptr;
}
bool IsAny(TControl&)
{
    return true;
}
bool IsSingleLineText(TControl& c)
{
    auto* t = dynamic_cast<TTextModel*>(&c);
    return t && !t->MultiLine();
}
template <class T> T& As(TControl& c)
{
    return dynamic_cast<T&>(c);
}

int Int32(const std::string& text)
{
    return static_cast<int>(OrdFromText(text, kInt32Min, kInt32Max));
}

const std::array<Property, 13> kProperties = {{
    // Every control.
    {"Enabled", PropertyKind::Enum, IsAny,
     [](TControl& c, const std::string& t) { c.SetEnabled(BooleanFromIdentifier(t)); }},
    {"Hint", PropertyKind::String, IsAny, [](TControl& c, const std::string& t) { c.SetHint(t); }},
    {"HelpContext", PropertyKind::Ord, IsAny,
     [](TControl& c, const std::string& t) { c.SetHelpContext(Int32(t)); }},
    // Value fields.
    {"Text", PropertyKind::String, Is<TEditD>,
     [](TControl& c, const std::string& t) { As<TEditD>(c).SetText(t); }},
    {"Exchange", PropertyKind::Float, Is<TEditD>,
     [](TControl& c, const std::string& t) { As<TEditD>(c).SetExchange(FactorFromText(t)); }},
    {"ReadOnly", PropertyKind::Enum, Is<TEditD>,
     [](TControl& c, const std::string& t) { As<TEditD>(c).SetReadOnly(BooleanFromIdentifier(t)); }},
    {"Color", PropertyKind::Ord, Is<TEditD>,
     [](TControl& c, const std::string& t) { As<TEditD>(c).SetColor(static_cast<TColor>(Int32(t))); }},
    {"MyResolved", PropertyKind::Enum, Is<TEditD>,
     [](TControl& c, const std::string& t) { As<TEditD>(c).SetMyResolved(BooleanFromIdentifier(t)); }},
    // Unit selectors.
    {"ItemIndex", PropertyKind::Ord, Is<TComboBoxU>,
     [](TControl& c, const std::string& t) { SelectUnitItem(As<TComboBoxU>(c), Int32(t)); }},
    // Drop-down lists and the editable combo box.
    {"ItemIndex", PropertyKind::Ord, Is<TComboModel>,
     [](TControl& c, const std::string& t) { As<TComboModel>(c).SetItemIndex(Int32(t)); }},
    {"Text", PropertyKind::String, Is<TComboModel>,
     [](TControl& c, const std::string& t) { As<TComboModel>(c).SetText(t); }},
    // Plain text boxes (a multi-line box publishes its lines, not a text).
    {"Text", PropertyKind::String, IsSingleLineText,
     [](TControl& c, const std::string& t) { As<TTextModel>(c).SetText(t); }},
    // The check box: set from code, its click handler does not run.
    {"Checked", PropertyKind::Enum, Is<TCheckModel>,
     [](TControl& c, const std::string& t) { As<TCheckModel>(c).SetChecked(BooleanFromIdentifier(t)); }},
}};

// Blanks and control characters around a value are allowed, as the
// platform's conversions allow them.
std::string Trimmed(const std::string& text)
{
    return Trim(text);
}

} // namespace

std::optional<PropertyKind> PropertyKindOfTag(std::string_view tag)
{
    if (tag == "String") return PropertyKind::String;
    if (tag == "Float") return PropertyKind::Float;
    if (tag == "Ord") return PropertyKind::Ord;
    if (tag == "Enum") return PropertyKind::Enum;
    return std::nullopt;
}

bool SetPublishedProperty(TControl& control, std::string_view name, PropertyKind kind,
                          const std::string& text)
{
    for (const Property& p : kProperties) {
        if (!EqualsNoCase(p.name, name) || !p.owns(control)) continue;
        if (p.kind != kind || !p.set) return false;
        p.set(control, text);
        return true;
    }
    return false;
}

double FloatFromText(const std::string& text)
{
    // The syntax check is the fields' own; the value is read straight into a
    // double so that a stored factor comes back bit for bit.
    const std::string t = Trimmed(text);
    long double check;
    double value = 0;
    if (ParseNumber(t, check)) {
        std::string_view body(t);
        if (!body.empty() && body.front() == '+') body.remove_prefix(1);
        const auto res = std::from_chars(body.data(), body.data() + body.size(), value);
        if (res.ec == std::errc() && res.ptr == body.data() + body.size() && std::isfinite(value))
            return value;
    }
    throw EConvertError("'" + text + "' is not a valid floating point value");
}

long long OrdFromText(const std::string& text, long long min, long long max)
{
    const std::string t = Trimmed(text);
    std::string_view body(t);
    if (body.size() > 1 && body.front() == '+' && body[1] != '-') body.remove_prefix(1);
    long long value = 0;
    const auto res = std::from_chars(body.data(), body.data() + body.size(), value);
    if (body.empty() || res.ec != std::errc() || res.ptr != body.data() + body.size() || value < min ||
        value > max)
        throw EConvertError("'" + text + "' is not a valid integer value");
    return value;
}

double FactorFromText(const std::string& text)
{
    const double f = FloatFromText(text);
    if (!(f >= DBL_MIN)) throw EConvertError("'" + text + "' is not a valid unit factor");
    return f;
}

bool BooleanFromIdentifier(const std::string& text)
{
    if (EqualsNoCase(text, "True")) return true;
    if (EqualsNoCase(text, "False")) return false;
    throw EConvertError("Invalid property element: " + text);
}

std::string FloatToText(double value)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

void SelectUnitItem(TComboBoxU& selector, long long index)
{
    if (index < 0 || index >= static_cast<long long>(selector.Items().size()))
        throw EConvertError("List index out of bounds (" + std::to_string(index) + ")");
    selector.SetItemIndex(static_cast<int>(index));
}
