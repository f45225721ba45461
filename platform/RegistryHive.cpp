#include "RegistryHive.h"

#include <QString>
#include <QStringList>

#include <cerrno>
#include <functional>
#include <sys/stat.h>

#include "Messages.h"
#include "RegularFile.h"

namespace
{

// A registry export of a whole machine is a few hundred megabytes; the files
// this program reads hold a handful of keys. Anything far larger is refused
// rather than read into memory.
constexpr std::size_t kMaxFileSize = 64 * 1024 * 1024;

// Windows keeps keys at most 512 levels deep. A deeper path in a file is
// skipped, so that no file can build a tree whose destruction or walk
// recurses without bound.
constexpr std::size_t kMaxKeyDepth = 512;

bool IsHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Decodes the bytes of a registry file: UTF-16LE when it starts with the
// byte-order mark regedit writes, else UTF-8 (with or without a mark).
QString DecodeFile(const std::string& bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.size() >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        QString s;
        s.reserve(static_cast<qsizetype>((bytes.size() - 2) / 2));
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            s.append(QChar(static_cast<char16_t>(data[i] | (data[i + 1] << 8))));
        return s;
    }
    std::size_t start = 0;
    if (bytes.size() >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) start = 3;
    return QString::fromUtf8(bytes.data() + start, static_cast<qsizetype>(bytes.size() - start));
}

// Reads a quoted string starting at pos (which holds the opening quote) with
// the escapes \" and \\; a backslash before any other character stands for
// itself. Advances pos past the closing quote; false if there is none.
bool ReadQuoted(const QString& line, qsizetype& pos, QString& out)
{
    out.clear();
    qsizetype i = pos + 1;
    while (i < line.size()) {
        const QChar c = line[i];
        if (c == u'\\' && i + 1 < line.size() && (line[i + 1] == u'"' || line[i + 1] == u'\\')) {
            out.append(line[i + 1]);
            i += 2;
        } else if (c == u'"') {
            pos = i + 1;
            return true;
        } else {
            out.append(c);
            ++i;
        }
    }
    return false;
}

void SkipBlanks(const QString& line, qsizetype& pos)
{
    while (pos < line.size() && (line[pos] == u' ' || line[pos] == u'\t'))
        ++pos;
}

bool ParseHexBytes(const QString& text, std::vector<std::uint8_t>& out)
{
    out.clear();
    const QString compact = QString(text).remove(u' ').remove(u'\t');
    if (compact.isEmpty()) return true;
    const QStringList parts = compact.split(u',');
    for (const QString& p : parts) {
        if (p.isEmpty() && &p == &parts.back()) break; // a trailing comma
        if (p.size() < 1 || p.size() > 2 || !IsHexDigit(p[0]) || (p.size() == 2 && !IsHexDigit(p[1])))
            return false;
        out.push_back(static_cast<std::uint8_t>(p.toUInt(nullptr, 16)));
    }
    return true;
}

// Text held in hex form (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ): UTF-16LE in a
// version-5 file, 8-bit in a REGEDIT4 file.
QString BytesToText(const std::vector<std::uint8_t>& bytes, bool unicode)
{
    QString s;
    if (unicode) {
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            s.append(QChar(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8))));
    } else {
        s = QString::fromUtf8(reinterpret_cast<const char*>(bytes.data()),
                              static_cast<qsizetype>(bytes.size()));
    }
    return s;
}

std::string WithoutTrailingNuls(QString s)
{
    while (!s.isEmpty() && s.back() == QChar(u'\0'))
        s.chop(1);
    return s.toStdString();
}

// The path below the classes root for a section's key path, or false when
// the key lies under another root.
bool ClassesRootPath(const std::vector<std::string>& parts, std::vector<std::string>& rest)
{
    if (parts.empty()) return false;
    const std::string root = RegistryFoldName(parts[0]);
    std::size_t skip = 0;
    if (root == "HKEY_CLASSES_ROOT" || root == "HKCR") {
        skip = 1;
    } else if ((root == "HKEY_LOCAL_MACHINE" || root == "HKLM" || root == "HKEY_CURRENT_USER" ||
                root == "HKCU") &&
               parts.size() >= 3 && RegistryFoldName(parts[1]) == "SOFTWARE" &&
               RegistryFoldName(parts[2]) == "CLASSES") {
        skip = 3;
    } else {
        return false;
    }
    rest.assign(parts.begin() + static_cast<std::ptrdiff_t>(skip), parts.end());
    return true;
}

} // namespace

std::string RegistryFoldName(const std::string& name)
{
    bool ascii = true;
    std::string out = name;
    for (char& c : out) {
        if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    if (ascii) return out;
    return QString::fromStdString(name).toUpper().toStdString();
}

std::vector<std::string> RegistrySplitPath(const std::string& path)
{
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '\\') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

// ---- RegistryKey ----

const RegistryKey* RegistryKey::SubKey(const std::string& name) const
{
    auto it = subkeys_.find(RegistryFoldName(name));
    return it == subkeys_.end() ? nullptr : it->second.get();
}

RegistryKey* RegistryKey::SubKey(const std::string& name)
{
    auto it = subkeys_.find(RegistryFoldName(name));
    return it == subkeys_.end() ? nullptr : it->second.get();
}

RegistryKey& RegistryKey::AddSubKey(const std::string& name)
{
    auto& slot = subkeys_[RegistryFoldName(name)];
    if (!slot) slot = std::make_unique<RegistryKey>(name);
    return *slot;
}

void RegistryKey::RemoveSubKey(const std::string& name)
{
    subkeys_.erase(RegistryFoldName(name));
}

std::vector<std::string> RegistryKey::SubKeyNames() const
{
    std::vector<std::string> names;
    names.reserve(subkeys_.size());
    for (const auto& [folded, key] : subkeys_)
        names.push_back(key->Name());
    return names;
}

const RegistryValue* RegistryKey::Value(const std::string& name) const
{
    auto it = values_.find(RegistryFoldName(name));
    return it == values_.end() ? nullptr : &it->second;
}

void RegistryKey::SetValue(RegistryValue value)
{
    const std::string key = RegistryFoldName(value.name);
    values_[key] = std::move(value);
}

void RegistryKey::RemoveValue(const std::string& name)
{
    values_.erase(RegistryFoldName(name));
}

std::vector<std::string> RegistryKey::ValueNames() const
{
    std::vector<std::string> names;
    for (const auto& [folded, value] : values_)
        names.push_back(value.name);
    return names;
}

// ---- RegistryHive ----

void RegistryHive::Clear()
{
    root_ = RegistryKey();
    warnings_.clear();
}

const RegistryKey* RegistryHive::Find(const std::string& path) const
{
    const RegistryKey* key = &root_;
    for (const std::string& part : RegistrySplitPath(path)) {
        key = key->SubKey(part);
        if (!key) return nullptr;
    }
    return key;
}

bool RegistryHive::LoadFile(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 && errno == ENOENT) return false;
    std::string data;
    try {
        // A pipe or a device would stall the start of the program.
        data = ReadRegularFile(path, kMaxFileSize, "Too large for a registry file");
    } catch (const EInOutError& e) {
        warnings_.push_back(e.what());
        return false;
    }
    return LoadText(data, path);
}

namespace
{

// The data of a value in hex form ("hex:", "hex(n):"), possibly text.
bool ParseHexValue(const QString& data, bool unicode, RegistryValue& value, std::string& why)
{
    int type = 3; // REG_BINARY
    const qsizetype colon = data.indexOf(u':');
    if (colon < 0) {
        why = "bad hex value, skipped";
        return false;
    }
    const QString head = data.left(colon).trimmed();
    if (head.size() > 3) {
        bool ok = head.size() > 5 && head[3] == u'(' && head.endsWith(u')');
        QString code = ok ? head.mid(4, head.size() - 5) : QString();
        ok = ok && !code.isEmpty() && code.size() <= 8;
        for (QChar c : code)
            ok = ok && IsHexDigit(c);
        if (!ok) {
            why = "bad hex type, skipped";
            return false;
        }
        type = static_cast<int>(code.toUInt(nullptr, 16));
    }
    std::vector<std::uint8_t> bytesOut;
    if (!ParseHexBytes(data.mid(colon + 1), bytesOut)) {
        why = "bad hex bytes, skipped";
        return false;
    }
    value.rawType = type;
    value.bytes = bytesOut;
    switch (type) {
    case 1:
    case 2:
        value.type = type == 1 ? RegistryDataType::String : RegistryDataType::ExpandString;
        value.text = WithoutTrailingNuls(BytesToText(bytesOut, unicode));
        break;
    case 7: {
        value.type = RegistryDataType::MultiString;
        const QStringList parts = BytesToText(bytesOut, unicode).split(QChar(u'\0'));
        for (const QString& p : parts)
            if (!p.isEmpty()) value.strings.push_back(p.toStdString());
        break;
    }
    case 4:
    case 11: {
        const std::size_t width = type == 4 ? 4 : 8;
        if (bytesOut.size() != width) {
            why = "bad length of a number in hex form, skipped";
            return false;
        }
        value.type = type == 4 ? RegistryDataType::DWord : RegistryDataType::QWord;
        for (std::size_t b = width; b-- > 0;)
            value.number = (value.number << 8) | bytesOut[b];
        break;
    }
    default:
        value.type = RegistryDataType::Binary;
        break;
    }
    return true;
}

// The data part of a value line (after "="): a string, a dword or hex data.
bool ParseValueData(const QString& data, bool unicode, RegistryValue& value, std::string& why)
{
    if (data.startsWith(u'"')) {
        qsizetype p = 0;
        QString s;
        if (!ReadQuoted(data, p, s)) {
            why = "string without a closing quote, skipped";
            return false;
        }
        SkipBlanks(data, p);
        if (p != data.size()) {
            why = "text after the closing quote, skipped";
            return false;
        }
        value.type = RegistryDataType::String;
        value.rawType = 1;
        value.text = s.toStdString();
        return true;
    }
    if (data.startsWith(u"dword:", Qt::CaseInsensitive)) {
        const QString digits = data.mid(6).trimmed();
        bool ok = digits.size() >= 1 && digits.size() <= 8;
        for (QChar c : digits)
            ok = ok && IsHexDigit(c);
        if (!ok) {
            why = "bad dword value, skipped";
            return false;
        }
        value.type = RegistryDataType::DWord;
        value.rawType = 4;
        value.number = digits.toULongLong(nullptr, 16);
        return true;
    }
    if (data.startsWith(u"hex", Qt::CaseInsensitive)) return ParseHexValue(data, unicode, value, why);
    why = "value of an unknown form, skipped";
    return false;
}

// The header line: true for a registry file, with its character width.
bool ReadHeader(const QStringList& lines, qsizetype& i, bool& unicode, std::string& why)
{
    while (i < lines.size() && lines[i].trimmed().isEmpty())
        ++i;
    if (i == lines.size()) {
        why = "empty, not a registry file";
        return false;
    }
    const QString header = lines[i].trimmed();
    if (header == u"Windows Registry Editor Version 5.00")
        unicode = true;
    else if (header == u"REGEDIT4")
        unicode = false;
    else {
        why = "not a registry file (no REGEDIT4 or version 5.00 header)";
        return false;
    }
    ++i;
    return true;
}

} // namespace

RegistryKey* RegistryHive::ApplySection(const QString& line,
                                        const std::function<void(const std::string&)>& warn)
{
    const qsizetype close = line.lastIndexOf(u']');
    if (close < 0) {
        warn("section without a closing bracket, skipped");
        return nullptr;
    }
    QString path = line.mid(1, close - 1);
    const bool remove = path.startsWith(u'-');
    if (remove) path.remove(0, 1);
    std::vector<std::string> rest;
    if (!ClassesRootPath(RegistrySplitPath(path.trimmed().toStdString()), rest)) return nullptr;
    if (rest.size() > kMaxKeyDepth) {
        warn("key path deeper than " + std::to_string(kMaxKeyDepth) + " levels, skipped");
        return nullptr;
    }
    if (remove) {
        if (rest.empty()) {
            warn("the classes root itself cannot be deleted");
            return nullptr;
        }
        RegistryKey* parent = &root_;
        for (std::size_t k = 0; parent && k + 1 < rest.size(); ++k)
            parent = parent->SubKey(rest[k]);
        if (parent) parent->RemoveSubKey(rest.back());
        return nullptr;
    }
    RegistryKey* current = &root_;
    for (const std::string& part : rest)
        current = &current->AddSubKey(part);
    return current;
}

bool RegistryHive::LoadText(const std::string& bytes, const std::string& source)
{
    const QString text = DecodeFile(bytes);
    QStringList lines = text.split(u'\n');
    for (QString& l : lines)
        if (l.endsWith(u'\r')) l.chop(1);

    qsizetype i = 0;
    bool unicode = true;
    std::string why;
    if (!ReadHeader(lines, i, unicode, why)) {
        warnings_.push_back(source + ": " + why);
        return false;
    }

    RegistryKey* current = nullptr; // nullptr: outside the classes root, values skipped
    bool inSection = false;
    for (; i < lines.size(); ++i) {
        const qsizetype lineNo = i;
        auto warn = [&](const std::string& what) {
            warnings_.push_back(source + ":" + std::to_string(lineNo + 1) + ": " + what);
        };
        QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(u';')) continue;

        if (line.startsWith(u'[')) {
            inSection = true;
            current = ApplySection(line, warn);
            continue;
        }
        if (!line.startsWith(u'@') && !line.startsWith(u'"')) {
            warn("not a key or a value, skipped");
            continue;
        }
        if (!inSection) {
            warn("value before any key, skipped");
            continue;
        }

        // Value name.
        qsizetype pos = 0;
        QString name;
        if (line[0] == u'@') {
            pos = 1;
        } else if (!ReadQuoted(line, pos, name)) {
            warn("value name without a closing quote, skipped");
            continue;
        }
        SkipBlanks(line, pos);
        if (pos >= line.size() || line[pos] != u'=') {
            warn("value without \"=\", skipped");
            continue;
        }
        ++pos;
        SkipBlanks(line, pos);
        QString data = line.mid(pos);

        // Hex data may run on over lines that end in a backslash.
        if (data.startsWith(u"hex", Qt::CaseInsensitive)) {
            while (data.endsWith(u'\\') && i + 1 < lines.size()) {
                data.chop(1);
                data.append(lines[++i].trimmed());
            }
            if (data.endsWith(u'\\')) data.chop(1);
        }
        if (!current) continue; // a section outside the classes root

        RegistryValue value;
        value.name = name.toStdString();
        if (data == u"-")
            current->RemoveValue(value.name);
        else if (ParseValueData(data, unicode, value, why))
            current->SetValue(std::move(value));
        else
            warn(why);
    }
    return true;
}
