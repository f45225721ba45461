#include "ChmSitemap.h"

#include <QRegularExpression>

#include <functional>

namespace
{

struct Tag {
    QString name; // lower case, "/ul" for a closing tag
    QString attributes;
};

QString DecodeEntities(QString s)
{
    static const QRegularExpression numeric(QStringLiteral("&#(x?)([0-9A-Fa-f]+);"));
    QString out;
    qsizetype last = 0;
    auto it = numeric.globalMatch(s);
    while (it.hasNext()) {
        const auto m = it.next();
        out += s.mid(last, m.capturedStart(0) - last);
        bool ok = false;
        const uint code = m.captured(2).toUInt(&ok, m.captured(1).isEmpty() ? 10 : 16);
        if (ok && code > 0 && code <= 0x10FFFF)
            out += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
        last = m.capturedEnd(0);
    }
    out += s.mid(last);
    out.replace(QLatin1String("&lt;"), QLatin1String("<"));
    out.replace(QLatin1String("&gt;"), QLatin1String(">"));
    out.replace(QLatin1String("&quot;"), QLatin1String("\""));
    out.replace(QLatin1String("&nbsp;"), QLatin1String(" "));
    out.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return out;
}

QString Attribute(const QString& attributes, const QString& name)
{
    static const QRegularExpression attr(
        QStringLiteral("([A-Za-z_:][-A-Za-z0-9_:.]*)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s\"'>]+))"));
    auto it = attr.globalMatch(attributes);
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.captured(1).compare(name, Qt::CaseInsensitive) != 0) continue;
        for (int g = 2; g <= 4; ++g)
            if (m.capturedStart(g) >= 0) return DecodeEntities(m.captured(g));
        return {};
    }
    return {};
}

class Parser
{
public:
    explicit Parser(const QList<Tag>& tags) : tags_(tags) {}

    // Items of one list level, up to its closing </ul> (or the end).
    QList<TChmSitemapItem> ParseLevel(int depth)
    {
        QList<TChmSitemapItem> items;
        while (pos_ < tags_.size()) {
            const Tag& t = tags_[pos_];
            if (t.name == QLatin1String("/ul")) {
                ++pos_;
                if (depth > 0) return items;
                continue; // a stray closing tag at the top
            }
            if (t.name == QLatin1String("ul")) {
                ++pos_;
                // Deeply nested junk must not exhaust the stack.
                QList<TChmSitemapItem> sub = depth < 64 ? ParseLevel(depth + 1) : QList<TChmSitemapItem>{};
                if (depth == 0 || items.isEmpty())
                    items += sub; // the outermost list, or a list without a parent item
                else
                    items.last().Children += sub;
                continue;
            }
            if (t.name == QLatin1String("object") &&
                Attribute(t.attributes, QStringLiteral("type"))
                        .compare(QLatin1String("text/sitemap"), Qt::CaseInsensitive) == 0) {
                ++pos_;
                TChmSitemapItem item;
                while (pos_ < tags_.size() && tags_[pos_].name != QLatin1String("/object") &&
                       tags_[pos_].name != QLatin1String("object") &&
                       tags_[pos_].name != QLatin1String("ul") && tags_[pos_].name != QLatin1String("/ul")) {
                    const Tag& p = tags_[pos_++];
                    if (p.name != QLatin1String("param")) continue;
                    const QString key = Attribute(p.attributes, QStringLiteral("name"));
                    const QString value = Attribute(p.attributes, QStringLiteral("value"));
                    if (key.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0) {
                        if (item.Name.isEmpty()) item.Name = value;
                    } else if (key.compare(QLatin1String("Local"), Qt::CaseInsensitive) == 0) {
                        if (!value.isEmpty()) item.Locals.append(value);
                    }
                }
                if (pos_ < tags_.size() && tags_[pos_].name == QLatin1String("/object")) ++pos_;
                if (!item.Name.isEmpty() || !item.Locals.isEmpty()) items.append(item);
                continue;
            }
            ++pos_;
        }
        return items;
    }

private:
    const QList<Tag>& tags_;
    qsizetype pos_ = 0;
};

} // namespace

QList<TChmSitemapItem> TChmSitemap::Parse(const QString& html)
{
    // A tag's attributes end at the next "<" too: with "[^>]*" every "<" of
    // a file without ">" scanned to its end, quadratic in the file's size.
    static const QRegularExpression tagRe(QStringLiteral("<\\s*(/?)\\s*([A-Za-z]+)([^<>]*)>"));
    QList<Tag> tags;
    auto it = tagRe.globalMatch(html);
    while (it.hasNext()) {
        const auto m = it.next();
        const QString name = m.captured(2).toLower();
        if (name != QLatin1String("ul") && name != QLatin1String("object") && name != QLatin1String("param"))
            continue;
        tags.append(Tag{m.captured(1) + name, m.captured(3)});
    }
    Parser parser(tags);
    return parser.ParseLevel(0);
}

QList<QPair<int, const TChmSitemapItem*>> TChmSitemap::Flatten(const QList<TChmSitemapItem>& items)
{
    QList<QPair<int, const TChmSitemapItem*>> out;
    std::function<void(const QList<TChmSitemapItem>&, int)> walk = [&](const QList<TChmSitemapItem>& level,
                                                                       int depth) {
        for (const auto& item : level) {
            out.append({depth, &item});
            walk(item.Children, depth + 1);
        }
    };
    walk(items, 0);
    return out;
}
