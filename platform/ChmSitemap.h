#pragma once
// The sitemap files of a compiled help file: the table of contents (.hhc)
// and the keyword index (.hhk). Both are HTML lists of
// <OBJECT type="text/sitemap"> items with "Name" and "Local" parameters,
// nested with <UL> for chapters and sub-keywords.

#include <QList>
#include <QString>
#include <QStringList>

struct TChmSitemapItem {
    QString Name;
    QStringList Locals; // topics; an index keyword may point at several
    QList<TChmSitemapItem> Children;
};

class TChmSitemap
{
public:
    // Never fails: text that is not a sitemap gives what it can, at worst nothing.
    static QList<TChmSitemapItem> Parse(const QString& html);
    // Depth-first list of (depth, item) pairs, the order the index shows them.
    static QList<QPair<int, const TChmSitemapItem*>> Flatten(const QList<TChmSitemapItem>& items);
};
