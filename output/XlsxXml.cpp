#include "XlsxXml.h"

#include <QString>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <vector>

#include "AutoError.h"
#include "SheetMessage.h"

namespace xlsx_xml
{

namespace
{
constexpr unsigned kParseFlags = pugi::parse_default | pugi::parse_ws_pcdata_single;
} // namespace

const char* LocalName(const char* name)
{
    const char* colon = std::strchr(name, ':');
    return colon ? colon + 1 : name;
}

bool Is(const pugi::xml_node& n, const char* local)
{
    return std::strcmp(LocalName(n.name()), local) == 0;
}

pugi::xml_node Child(const pugi::xml_node& parent, const char* local)
{
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && Is(c, local)) return c;
    return {};
}

// The element name for a new child, with the prefix its parent uses.
std::string Qualified(const pugi::xml_node& parent, const char* local)
{
    const char* name = parent.name();
    const char* colon = std::strchr(name, ':');
    return colon ? std::string(name, static_cast<std::size_t>(colon - name + 1)) + local : std::string(local);
}

pugi::xml_attribute RelIdAttr(const pugi::xml_node& n)
{
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
        if (std::strchr(a.name(), ':') && std::strcmp(LocalName(a.name()), "id") == 0) return a;
    return {};
}

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string DirOf(const std::string& part)
{
    const auto slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

// Target of a relationship, as a part name without the leading slash.
std::string ResolveTarget(const std::string& baseDir, const std::string& target)
{
    std::string path = !target.empty() && target[0] == '/' ? target.substr(1) : baseDir + target;
    std::vector<std::string> out;
    std::stringstream ss(path);
    std::string seg;
    while (std::getline(ss, seg, '/')) {
        if (seg.empty() || seg == ".") continue;
        if (seg == "..") {
            if (!out.empty()) out.pop_back();
        } else {
            out.push_back(seg);
        }
    }
    std::string joined;
    for (const auto& s : out)
        joined += (joined.empty() ? "" : "/") + s;
    return joined;
}

std::string RelsPartOf(const std::string& part)
{
    return DirOf(part) + "_rels/" + part.substr(DirOf(part).size()) + ".rels";
}

namespace
{

bool IsHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool IsEscapeAt(const std::string& s, std::size_t i)
{
    return i + 7 <= s.size() && s[i] == '_' && s[i + 1] == 'x' && IsHex(s[i + 2]) && IsHex(s[i + 3]) &&
           IsHex(s[i + 4]) && IsHex(s[i + 5]) && s[i + 6] == '_';
}

} // namespace

// Control characters cannot stand in XML 1.0; Office writes them as _xHHHH_
// and, so that the escape is unambiguous, an underscore that starts such a
// sequence as _x005F_.
std::string OfficeEscape(const std::string& s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if ((c < 0x20 && c != '\t' && c != '\n') || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "_x%04X_", c);
            out += buf;
        } else if (IsEscapeAt(s, i)) {
            out += "_x005F_";
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string OfficeUnescape(const std::string& s)
{
    if (s.find("_x") == std::string::npos) return s;
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (IsEscapeAt(s, i)) {
            const char32_t cp = static_cast<char32_t>(std::stoul(s.substr(i + 2, 4), nullptr, 16));
            out += QString::fromUcs4(&cp, 1).toStdString();
            i += 6;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Plain decimal number as a spreadsheet takes it from typed text. Leading
// zeros ("007") keep the text a text, so that a device number stays as typed.
bool NumberFromText(const std::string& s, double& value)
{
    std::size_t i = 0;
    const std::size_t n = s.size();
    if (i < n && s[i] == '-') ++i;
    const std::size_t intStart = i;
    while (i < n && std::isdigit(static_cast<unsigned char>(s[i])))
        ++i;
    const std::size_t intLen = i - intStart;
    if (intLen > 1 && s[intStart] == '0') return false;
    std::size_t fracLen = 0;
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) {
            ++i;
            ++fracLen;
        }
    }
    if (intLen == 0 && fracLen == 0) return false;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
        const std::size_t expStart = i;
        while (i < n && std::isdigit(static_cast<unsigned char>(s[i])))
            ++i;
        if (i == expStart) return false;
    }
    if (i != n) return false;
    const auto res = std::from_chars(s.data(), s.data() + n, value);
    return res.ec == std::errc() && std::isfinite(value);
}

std::string NumberToXml(double v)
{
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

int Utf16Length(const std::string& s)
{
    return static_cast<int>(QString::fromStdString(s).size());
}

void SetAttr(pugi::xml_node n, const char* name, const std::string& value)
{
    pugi::xml_attribute a = n.attribute(name);
    if (!a) a = n.append_attribute(name);
    a.set_value(value.c_str());
}

pugi::xml_document& LoadXml(pugi::xml_document& doc, const XlsxPackage& pkg, const std::string& part)
{
    const std::string& data = pkg.Get(part);
    const pugi::xml_parse_result r =
        doc.load_buffer(data.data(), data.size(), kParseFlags, pugi::encoding_utf8);
    if (!r || !doc.document_element())
        throw EAutoError(SheetMessage(QT_TRANSLATE_NOOP("Velk", "工作簿的部件“%1”已损坏（XML 错误：%2）。"),
                                      {part, r.description()}));
    return doc;
}

std::string TextOf(const pugi::xml_node& n)
{
    // Text of <t> children, directly or inside rich-text runs <r>.
    std::string out;
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
        if (Is(c, "t"))
            out += c.text().get();
        else if (Is(c, "r"))
            if (pugi::xml_node t = Child(c, "t")) out += t.text().get();
    }
    return OfficeUnescape(out);
}

} // namespace xlsx_xml
