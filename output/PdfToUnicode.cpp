#include "PdfToUnicode.h"

#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QList>
#include <QRawFont>
#include <QRegularExpression>

#include <algorithm>
#include <zlib.h>

#include "PdfFont.h"

namespace
{

constexpr char32_t kRadicalsFirst = 0x2E80, kRadicalsLast = 0x2FDF; // supplement and Kangxi

bool IsRadical(char32_t c)
{
    return c >= kRadicalsFirst && c <= kRadicalsLast;
}

// The ideograph each radical form shares its glyph with in the page's CJK
// faces. In the simplified-Chinese faces ⼾ is drawn as 户, not as the 戶 of
// its decomposition, and most supplement forms (⻚ 页) have none: the font
// says what was drawn.
const QHash<char32_t, char32_t>& FontRadicals()
{
    static const QHash<char32_t, char32_t> table = [] {
        QHash<char32_t, char32_t> t;
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return t;
        QString radicals;
        for (char32_t c = kRadicalsFirst; c <= kRadicalsLast; ++c)
            radicals += QChar(char16_t(c));
        // The unified block first: an extension-A twin of a common glyph is not what was meant.
        QString ideographs;
        for (char32_t c = 0x4E00; c <= 0x9FFF; ++c)
            ideographs += QChar(char16_t(c));
        for (char32_t c = 0x3400; c <= 0x4DBF; ++c)
            ideographs += QChar(char16_t(c));
        for (const QString& family : {PageFontFamilies(QStringLiteral("Noto Sans CJK SC")).last(),
                                      PageFontFamilies(QStringLiteral("Noto Serif CJK SC")).last()})
            for (bool bold : {false, true}) {
                QFont font(family);
                font.setBold(bold);
                font.setPixelSize(20);
                const QRawFont raw = QRawFont::fromFont(font);
                if (!raw.isValid()) continue;
                QHash<quint32, char32_t> first;
                const QList<quint32> glyphs = raw.glyphIndexesForString(ideographs);
                for (qsizetype i = 0; i < glyphs.size() && i < ideographs.size(); ++i)
                    if (glyphs[i] && !first.contains(glyphs[i]))
                        first.insert(glyphs[i], ideographs[i].unicode());
                const QList<quint32> forms = raw.glyphIndexesForString(radicals);
                for (qsizetype i = 0; i < forms.size() && i < radicals.size(); ++i)
                    if (forms[i] && first.contains(forms[i]) && !t.contains(radicals[i].unicode()))
                        t.insert(radicals[i].unicode(), first.value(forms[i]));
            }
        return t;
    }();
    return table;
}

QByteArray Inflate(const QByteArray& in)
{
    constexpr qsizetype kLimit = 16 << 20; // a text map is a few kilobytes
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return {};
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    zs.avail_in = static_cast<uInt>(in.size());
    QByteArray out;
    char buffer[16384];
    int ret = Z_OK;
    while (ret == Z_OK && out.size() < kLimit) {
        zs.next_out = reinterpret_cast<Bytef*>(buffer);
        zs.avail_out = sizeof buffer;
        ret = inflate(&zs, Z_NO_FLUSH);
        out.append(buffer, static_cast<qsizetype>(sizeof buffer - zs.avail_out));
    }
    inflateEnd(&zs);
    return ret == Z_STREAM_END ? out : QByteArray();
}

QString FromHex(const QString& hex)
{
    QString s;
    for (qsizetype i = 0; i + 4 <= hex.size(); i += 4)
        s += QChar(char16_t(hex.mid(i, 4).toUShort(nullptr, 16)));
    return s;
}

QByteArray ToHex(const QString& s)
{
    QByteArray hex;
    for (QChar c : s)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex;
}

// glyph -> text of one CMap's bfchar and bfrange sections.
QMap<uint, QString> ParseCMap(const QString& cmap)
{
    QMap<uint, QString> map;
    static const QRegularExpression chars(QStringLiteral("beginbfchar(.*?)endbfchar"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression pair(QStringLiteral("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>"));
    for (auto it = chars.globalMatch(cmap); it.hasNext();)
        for (auto p = pair.globalMatch(it.next().captured(1)); p.hasNext();) {
            const auto m = p.next();
            map.insert(m.captured(1).toUInt(nullptr, 16), FromHex(m.captured(2)));
        }
    static const QRegularExpression ranges(QStringLiteral("beginbfrange(.*?)endbfrange"),
                                           QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression range(
        QStringLiteral("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>\\s*(?:<([0-9A-Fa-f]+)>|\\[([^\\]]*)\\])"));
    static const QRegularExpression item(QStringLiteral("<([0-9A-Fa-f]+)>"));
    for (auto it = ranges.globalMatch(cmap); it.hasNext();)
        for (auto r = range.globalMatch(it.next().captured(1)); r.hasNext();) {
            const auto m = r.next();
            const uint from = m.captured(1).toUInt(nullptr, 16), to = m.captured(2).toUInt(nullptr, 16);
            if (to < from || to - from > 0xFFFF) continue;
            if (!m.captured(3).isEmpty()) {
                QString text = FromHex(m.captured(3));
                for (uint g = from; g <= to && !text.isEmpty(); ++g) {
                    map.insert(g, text);
                    text.back() = QChar(char16_t(text.back().unicode() + 1));
                }
            } else {
                uint g = from;
                for (auto i = item.globalMatch(m.captured(4)); i.hasNext() && g <= to; ++g)
                    map.insert(g, FromHex(i.next().captured(1)));
            }
        }
    return map;
}

QByteArray WriteCMap(const QMap<uint, QString>& map)
{
    QByteArray out = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                     "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                     "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                     "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    const QList<uint> glyphs = map.keys();
    for (qsizetype i = 0; i < glyphs.size(); i += 100) {
        const qsizetype n = std::min<qsizetype>(100, glyphs.size() - i);
        out += QByteArray::number(n) + " beginbfchar\n";
        for (qsizetype k = i; k < i + n; ++k)
            out += '<' + QByteArray::number(glyphs[k], 16).rightJustified(4, '0').toUpper() + "> <" +
                   ToHex(map.value(glyphs[k])) + ">\n";
        out += "endbfchar\n";
    }
    out += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend";
    return out;
}

// One object of the file: where it starts and ends, and its stream's data.
struct Object {
    qsizetype begin = 0, end = 0;
    int number = 0;
};

struct Layout {
    std::vector<Object> objects; // in file order
    qsizetype xref = 0;
    bool valid = false;
};

// The objects as the cross-reference table places them (one table, as Qt writes it).
Layout ReadLayout(const QByteArray& pdf)
{
    Layout l;
    const qsizetype start = pdf.lastIndexOf("startxref");
    if (start < 0) return l;
    bool ok = false;
    l.xref = pdf.mid(start + 9, 24).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    if (!ok || l.xref <= 0 || l.xref >= start || !pdf.mid(l.xref).startsWith("xref")) return l;
    qsizetype at = pdf.indexOf('\n', l.xref) + 1;
    const QList<QByteArray> head = pdf.mid(at, 32).split('\n').value(0).trimmed().split(' ');
    const int first = head.value(0).toInt(), count = head.value(1).toInt(&ok);
    if (!ok || count <= 0) return l;
    at = pdf.indexOf('\n', at) + 1;
    for (int i = 0; i < count; ++i, at += 20) {
        const QByteArray entry = pdf.mid(at, 20);
        if (entry.size() < 18) return l;
        if (entry.at(17) == 'n') l.objects.push_back({entry.left(10).toLongLong(), 0, first + i});
    }
    std::sort(l.objects.begin(), l.objects.end(),
              [](const Object& a, const Object& b) { return a.begin < b.begin; });
    for (std::size_t i = 0; i < l.objects.size(); ++i) {
        l.objects[i].end = i + 1 < l.objects.size() ? l.objects[i + 1].begin : l.xref;
        if (l.objects[i].begin <= 0 || l.objects[i].end <= l.objects[i].begin) return l;
    }
    l.valid = true;
    return l;
}

// The decoded stream of an object that holds a text map; empty otherwise.
QByteArray TextMapOf(const QByteArray& object)
{
    const qsizetype dictEnd = object.indexOf(">>");
    const qsizetype stream = object.indexOf("stream", dictEnd);
    const qsizetype endStream = object.lastIndexOf("endstream");
    if (dictEnd < 0 || stream < 0 || endStream < stream) return {};
    qsizetype from = stream + 6;
    if (object.at(from) == '\r') ++from;
    if (object.at(from) == '\n') ++from;
    QByteArray data = object.mid(from, endStream - from);
    const QByteArray dict = object.left(dictEnd);
    if (dict.contains("/FlateDecode"))
        data = Inflate(data);
    else if (dict.contains("/Filter"))
        return {};
    return data.contains("begincmap") && data.contains("beginbf") ? data : QByteArray();
}

} // namespace

QString UnifiedIdeographs(const QString& text)
{
    QString out;
    for (QChar c : text) {
        if (!IsRadical(c.unicode())) {
            out += c;
        } else if (const auto it = FontRadicals().constFind(c.unicode()); it != FontRadicals().cend()) {
            out += QChar(char16_t(*it));
        } else {
            const QString folded = QString(c).normalized(QString::NormalizationForm_KC);
            out += folded.size() == 1 ? folded : QString(c);
        }
    }
    return out;
}

std::vector<QMap<uint, QString>> PdfToUnicodeMaps(const QByteArray& pdf)
{
    std::vector<QMap<uint, QString>> maps;
    const Layout l = ReadLayout(pdf);
    for (const Object& o : l.objects)
        if (const QByteArray map = TextMapOf(pdf.mid(o.begin, o.end - o.begin)); !map.isEmpty())
            maps.push_back(ParseCMap(QString::fromLatin1(map)));
    return maps;
}

QByteArray UnifyPdfTextLayer(const QByteArray& pdf)
{
    const Layout l = ReadLayout(pdf);
    if (!l.valid) return pdf;
    QByteArray out = pdf.left(l.objects.empty() ? l.xref : l.objects.front().begin);
    QHash<int, qsizetype> offsets;
    bool changed = false;
    for (const Object& o : l.objects) {
        offsets.insert(o.number, out.size());
        const QByteArray object = pdf.mid(o.begin, o.end - o.begin);
        const QByteArray data = TextMapOf(object);
        QMap<uint, QString> map =
            data.isEmpty() ? QMap<uint, QString>() : ParseCMap(QString::fromLatin1(data));
        bool radical = false;
        for (QString& text : map) {
            const QString unified = UnifiedIdeographs(text);
            radical = radical || unified != text;
            text = unified;
        }
        if (!radical) {
            out += object;
            continue;
        }
        changed = true;
        // Written plain: its length is given here, not in another object.
        const QByteArray cmap = WriteCMap(map);
        out += QByteArray::number(o.number) + " 0 obj\n<<\n/Length " + QByteArray::number(cmap.size()) +
               "\n>>\nstream\n" + cmap + "\nendstream\nendobj\n";
    }
    if (!changed) return pdf;
    // The cross-reference table again, with the objects' new places.
    const qsizetype xref = out.size();
    qsizetype at = pdf.indexOf('\n', l.xref) + 1;
    const QByteArray headLine = pdf.mid(at, pdf.indexOf('\n', at) - at + 1);
    const int first = headLine.trimmed().split(' ').value(0).toInt();
    const int count = headLine.trimmed().split(' ').value(1).toInt();
    at += headLine.size();
    out += "xref\n" + headLine;
    for (int i = 0; i < count; ++i, at += 20) {
        const QByteArray entry = pdf.mid(at, 20);
        if (entry.at(17) == 'n')
            out += QByteArray::number(offsets.value(first + i)).rightJustified(10, '0') + entry.mid(10);
        else
            out += entry;
    }
    const qsizetype trailer = pdf.indexOf("trailer", at);
    const qsizetype start = pdf.lastIndexOf("startxref");
    if (trailer < 0 || trailer > start) return pdf;
    out += pdf.mid(trailer, start - trailer) + "startxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}
