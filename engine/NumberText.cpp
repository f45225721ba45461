#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <array>

std::string Trim(std::string_view s) { return std::string(TrimView(s)); }

std::string_view TrimView(std::string_view s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32)
        --e;
    return s.substr(b, e - b);
}

namespace {

// A text's value in both precisions: each read straight from the digits, so
// that the double is the one nearest the text (through the long double it
// would now and then be its neighbour).
struct Parsed {
    bool ok = false;
    long double extended = 0;
    bool okDouble = false;
    double value = 0;
};
Parsed ParseNumberUncached(std::string_view text);

// The equations convert the same few texts (catalogue cells, constants,
// field texts) at every evaluation; a small memo keeps that cheap.
Parsed ParseNumberMemo(std::string_view text)
{
    // Direct-mapped by content hash; a hit compares the text, so a stale
    // slot can never answer for another text.
    struct Entry {
        std::string text;
        bool used = false;
        Parsed parsed;
    };
    constexpr std::size_t kSlots = 256;
    thread_local std::array<Entry, kSlots> memo;
    if (text.size() > 48) return ParseNumberUncached(text);
    std::size_t h = 1469598103934665603ull;
    for (unsigned char c : text)
        h = (h ^ c) * 1099511628211ull;
    Entry& e = memo[h % kSlots];
    if (e.used && e.text == text) return e.parsed;
    e.parsed = ParseNumberUncached(text);
    e.text.assign(text);
    e.used = true;
    return e.parsed;
}

Parsed ParseNumberUncached(std::string_view text)
{
    Parsed out;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t mantStart = i;
    std::size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) return out;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0) return out;
    }
    if (i != text.size()) return out;

    // from_chars takes no leading '+'; the sign is applied by hand.
    bool negative = text[start] == '-';
    std::string_view body = text.substr(mantStart, i - mantStart);
    const char* end = body.data() + body.size();
    long double v = 0;
    auto res = std::from_chars(body.data(), end, v, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != end || !std::isfinite(v)) return out;
    out.ok = true;
    out.extended = negative ? -v : v;
    if (std::fabs(v) > static_cast<long double>(1.7976931348623157e308)) return out;
    double d = 0;
    auto resD = std::from_chars(body.data(), end, d, std::chars_format::general);
    if (resD.ec == std::errc() && resD.ptr == end && std::isfinite(d))
        out.value = negative ? -d : d;
    else
        out.value =
            static_cast<double>(out.extended); // below the doubles' range: as before, through the long double
    out.okDouble = true;
    return out;
}

} // namespace

bool ParseNumber(std::string_view text, long double& out)
{
    const Parsed p = ParseNumberMemo(text);
    if (p.ok) out = p.extended;
    return p.ok;
}

bool ParseNumber(std::string_view text, double& out)
{
    const Parsed p = ParseNumberMemo(text);
    if (p.okDouble) out = p.value;
    return p.okDouble;
}

std::string FormatGeneral(long double value, int precision, int expDigits)
{
    if (value == 0 || std::isnan(value))
        return "0";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";

    // Correctly rounded significant digits and the decimal exponent.
    char buf[128];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, precision - 1);
    std::string s(buf, res.ptr);
    bool negative = false;
    if (!s.empty() && s[0] == '-') {
        negative = true;
        s.erase(0, 1);
    }
    const auto ePos = s.find('e');
    const int exponent = std::atoi(s.c_str() + ePos + 1);
    std::string digits;
    for (std::size_t k = 0; k < ePos; ++k)
        if (s[k] != '.')
            digits += s[k];
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    // The rounded magnitude decides the notation (1E-5 <= |v| and at most
    // `precision` integer digits: fixed).
    const bool fixed = exponent < precision && exponent >= -5;
    std::string outText;
    if (fixed) {
        if (exponent >= 0) {
            std::string intPart = digits.substr(0, std::min<std::size_t>(digits.size(), exponent + 1));
            while (static_cast<int>(intPart.size()) < exponent + 1)
                intPart += '0';
            std::string frac = digits.size() > static_cast<std::size_t>(exponent + 1)
                                   ? digits.substr(exponent + 1)
                                   : std::string();
            outText = frac.empty() ? intPart : intPart + "." + frac;
        } else {
            outText = "0." + std::string(-exponent - 1, '0') + digits;
        }
    } else {
        outText = digits.substr(0, 1);
        if (digits.size() > 1)
            outText += "." + digits.substr(1);
        outText += 'E';
        if (exponent < 0)
            outText += '-';
        std::string e = std::to_string(exponent < 0 ? -exponent : exponent);
        while (static_cast<int>(e.size()) < expDigits)
            e.insert(e.begin(), '0');
        outText += e;
    }
    return negative ? "-" + outText : outText;
}
