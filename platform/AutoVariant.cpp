#include "AutoVariant.h"

#include <QString>

#include "FloatGuard.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace
{

std::string Utf16ToUtf8(const std::u16string& s)
{
    return QString::fromStdU16String(s).toStdString();
}
std::u16string Utf8ToUtf16(const std::string& s)
{
    return QString::fromStdString(s).toStdU16String();
}

bool IsBlankChar(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Point-decimal number with optional sign and exponent, blanks around it
// allowed; nothing else (no "inf", "nan", hex or thousands separators).
bool ParseNumber(const std::string& text, double& out)
{
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlankChar(text[b]))
        ++b;
    while (e > b && IsBlankChar(text[e - 1]))
        --e;
    if (b < e && text[b] == '+') ++b;
    if (b == e) return false;
    const char first = text[b] == '-' ? (b + 1 < e ? text[b + 1] : '\0') : text[b];
    if (!(first == '.' || (first >= '0' && first <= '9'))) return false;
    const auto res = std::from_chars(text.data() + b, text.data() + e, out, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != text.data() + e) return false;
    return std::isfinite(out);
}

std::int32_t RoundToInt32(double v, const char* typeName)
{
    if (!std::isfinite(v) || v >= 2147483647.5 || v < -2147483648.5)
        throw EAutoError(std::string("Could not convert variant of type (") + typeName +
                         ") into type (Integer): value out of range");
    return static_cast<std::int32_t>(std::nearbyint(v)); // default rounding mode: halves to even
}

} // namespace

const char* AutoTypeName(AutoType type)
{
    switch (type) {
    case AutoType::Empty:
        return "Empty";
    case AutoType::Missing:
        return "Missing";
    case AutoType::Boolean:
        return "Boolean";
    case AutoType::Integer:
        return "Integer";
    case AutoType::Double:
        return "Double";
    case AutoType::String:
        return "String";
    case AutoType::WideString:
        return "WideString";
    case AutoType::Object:
        return "Dispatch";
    }
    return "Unknown";
}

std::string AutoFloatToStr(double value)
{
    if (!std::isfinite(value)) throw EAutoError("Invalid floating point value");
    if (value == 0) return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    // buf is [-]d.dddddddddddddde[+-]xx
    std::string s(buf);
    bool negative = s[0] == '-';
    if (negative) s.erase(0, 1);
    const auto epos = s.find('e');
    int exponent = std::stoi(s.substr(epos + 1));
    std::string digits = s.substr(0, 1) + s.substr(2, epos - 2);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    // Built with append: GCC 12 warns falsely (-Wrestrict) on literal + string.
    std::string out;
    if (negative) out.push_back('-');
    if (exponent < -5 || exponent >= 15) {
        out.push_back(digits[0]);
        if (digits.size() > 1) out.append(".").append(digits, 1, std::string::npos);
        out.append("E").append(std::to_string(exponent));
    } else if (exponent >= 0) {
        const std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            out.append(digits).append(intDigits - digits.size(), '0');
        } else {
            out.append(digits, 0, intDigits).append(".").append(digits, intDigits, std::string::npos);
        }
    } else {
        out.append("0.").append(static_cast<std::size_t>(-exponent - 1), '0').append(digits);
    }
    return out;
}

AutoVariant::AutoVariant(double value) : value_(value)
{
    if (std::isnan(value)) throw EMathError(kInvalidOpText);
    if (std::isinf(value)) throw EMathError(kOverflowText);
}

AutoVariant AutoVariant::Missing()
{
    AutoVariant v;
    v.value_ = MissingTag{};
    return v;
}

AutoVariant AutoVariant::ByRef(AutoVariant& target)
{
    AutoVariant v;
    // A reference to a reference binds to the final variable, so a callee
    // passing its argument on still writes into the original caller's.
    v.ref_ = target.ref_ ? target.ref_ : &target;
    return v;
}

AutoType AutoVariant::Type() const
{
    return static_cast<AutoType>(Target().value_.index());
}

void AutoVariant::CastError(AutoType to) const
{
    throw EAutoError(std::string("Could not convert variant of type (") + AutoTypeName(Type()) +
                     ") into type (" + AutoTypeName(to) + ")");
}

bool AutoVariant::ToBool() const
{
    const Storage& v = Target().value_;
    switch (Type()) {
    case AutoType::Empty:
        return false;
    case AutoType::Boolean:
        return std::get<bool>(v);
    case AutoType::Integer:
        return std::get<std::int32_t>(v) != 0;
    case AutoType::Double: {
        const double d = std::get<double>(v);
        if (std::isnan(d)) CastError(AutoType::Boolean);
        return d != 0;
    }
    case AutoType::String:
    case AutoType::WideString: {
        const std::string s = QString::fromStdString(ToString()).trimmed().toLower().toStdString();
        if (s == "true") return true;
        if (s == "false") return false;
        double d;
        if (ParseNumber(s, d)) return d != 0;
        CastError(AutoType::Boolean);
    }
    default:
        CastError(AutoType::Boolean);
    }
}

std::int32_t AutoVariant::ToInt() const
{
    const Storage& v = Target().value_;
    switch (Type()) {
    case AutoType::Empty:
        return 0;
    case AutoType::Boolean:
        return std::get<bool>(v) ? -1 : 0; // VARIANT_TRUE
    case AutoType::Integer:
        return std::get<std::int32_t>(v);
    case AutoType::Double:
        return RoundToInt32(std::get<double>(v), "Double");
    case AutoType::String:
    case AutoType::WideString: {
        double d;
        if (!ParseNumber(ToString(), d)) CastError(AutoType::Integer);
        return RoundToInt32(d, AutoTypeName(Type()));
    }
    default:
        CastError(AutoType::Integer);
    }
}

double AutoVariant::ToDouble() const
{
    const Storage& v = Target().value_;
    switch (Type()) {
    case AutoType::Empty:
        return 0;
    case AutoType::Boolean:
        return std::get<bool>(v) ? -1 : 0;
    case AutoType::Integer:
        return std::get<std::int32_t>(v);
    case AutoType::Double: {
        const double d = std::get<double>(v);
        if (!std::isfinite(d)) CastError(AutoType::Double);
        return d;
    }
    case AutoType::String:
    case AutoType::WideString: {
        double d;
        if (!ParseNumber(ToString(), d)) CastError(AutoType::Double);
        return d;
    }
    default:
        CastError(AutoType::Double);
    }
}

std::string AutoVariant::ToString() const
{
    const Storage& v = Target().value_;
    switch (Type()) {
    case AutoType::Empty:
        return {};
    case AutoType::Boolean:
        return std::get<bool>(v) ? "True" : "False";
    case AutoType::Integer:
        return std::to_string(std::get<std::int32_t>(v));
    case AutoType::Double: {
        const double d = std::get<double>(v);
        if (!std::isfinite(d)) CastError(AutoType::String);
        return AutoFloatToStr(d);
    }
    case AutoType::String:
        return std::get<std::string>(v);
    case AutoType::WideString:
        return Utf16ToUtf8(std::get<std::u16string>(v));
    default:
        CastError(AutoType::String);
    }
}

std::u16string AutoVariant::ToWString() const
{
    if (Type() == AutoType::WideString) return std::get<std::u16string>(Target().value_);
    try {
        return Utf8ToUtf16(ToString());
    } catch (const EAutoError&) {
        CastError(AutoType::WideString);
    }
}

AutoObjectPtr AutoVariant::ToObject() const
{
    switch (Type()) {
    case AutoType::Empty:
        return nullptr;
    case AutoType::Object:
        return std::get<AutoObjectPtr>(Target().value_);
    default:
        CastError(AutoType::Object);
    }
}

void AutoVariant::Assign(const AutoVariant& value)
{
    AutoVariant resolved = value.Value();
    AutoVariant& target = ref_ ? *ref_ : *this;
    target.value_ = std::move(resolved.value_);
}

AutoVariant AutoVariant::Value() const
{
    AutoVariant v;
    v.value_ = Target().value_;
    return v;
}

bool operator==(const AutoVariant& a, const AutoVariant& b)
{
    return a.Target().value_ == b.Target().value_;
}
