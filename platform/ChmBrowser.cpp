#include "ChmBrowser.h"

#include "ChmFile.h"

#include <QDesktopServices>
#include <QTextDocument>

TChmBrowser::TChmBrowser(TChmFile* chm, QWidget* parent) : QTextBrowser(parent), chm_(chm)
{
    // Links are followed here: the stock handling would pass every relative
    // link of a non-file page to the desktop.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &TChmBrowser::Follow);
}

QUrl TChmBrowser::TopicUrl(const QString& objectPath)
{
    QString path = objectPath;
    QString fragment;
    const int hash = path.indexOf(QLatin1Char('#'));
    if (hash >= 0) {
        fragment = path.mid(hash + 1);
        path.truncate(hash);
    }
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!path.startsWith(QLatin1Char('/'))) path.prepend(QLatin1Char('/'));
    QUrl url;
    url.setScheme(QStringLiteral("chm"));
    url.setPath(path);
    if (!fragment.isEmpty()) url.setFragment(fragment);
    return url;
}

QString TChmBrowser::ObjectPath(const QUrl& url)
{
    return url.path(QUrl::FullyDecoded);
}

QUrl TChmBrowser::Resolved(const QUrl& link) const
{
    const QString s = link.toString();
    // Links written for the Windows viewer name the file and the object: keep the object.
    const int sep = s.indexOf(QLatin1String("::/"));
    if (sep >= 0 && (s.startsWith(QLatin1String("ms-its:"), Qt::CaseInsensitive) ||
                     s.startsWith(QLatin1String("mk:@MSITStore:"), Qt::CaseInsensitive) ||
                     s.startsWith(QLatin1String("its:"), Qt::CaseInsensitive)))
        return TopicUrl(s.mid(sep + 2));
    if (link.isRelative()) {
        const QUrl base = base_.isValid() ? base_ : TopicUrl(QStringLiteral("/"));
        return base.resolved(link);
    }
    return link;
}

void TChmBrowser::doSetSource(const QUrl& name, QTextDocument::ResourceType type)
{
    const QUrl url = Resolved(name);
    const bool samePage =
        base_.isValid() && url.adjusted(QUrl::RemoveFragment) == base_.adjusted(QUrl::RemoveFragment);
    base_ = url;
    QTextBrowser::doSetSource(url, type);
    if (!samePage) emit TopicChanged(ObjectPath(url));
}

QVariant TChmBrowser::loadResource(int type, const QUrl& name)
{
    const QUrl url = Resolved(name);
    if (url.scheme() != QLatin1String("chm") || !chm_) return QTextBrowser::loadResource(type, name);
    const QString path = ObjectPath(url);
    const auto data = chm_->Read(path);
    switch (type) {
    case QTextDocument::HtmlResource:
        if (!data)
            return tr("<html><body><h3>找不到主题</h3><p>帮助文件中没有“%1”。</p></body></html>")
                .arg(path.toHtmlEscaped());
        return chm_->DecodeHtml(*data);
    case QTextDocument::StyleSheetResource:
        return data ? QVariant(chm_->DecodeHtml(*data)) : QVariant();
    default:
        return data ? QVariant(*data) : QVariant();
    }
}

void TChmBrowser::Follow(const QUrl& link)
{
    const QString scheme = link.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
        scheme == QLatin1String("mailto") || scheme == QLatin1String("ftp")) {
        QDesktopServices::openUrl(link);
        return;
    }
    const QUrl url = Resolved(link);
    if (url.scheme() == QLatin1String("chm")) setSource(url);
}
