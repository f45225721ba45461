#pragma once
// A text browser that reads every page, picture and style sheet from an open
// compiled help file. Addresses of the form chm:/topic.htm#anchor name
// objects of the file; relative links resolve against the page on show.
// Web and mail links go to the desktop's handler.

#include <QTextBrowser>
#include <QUrl>

class TChmFile;

class TChmBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    explicit TChmBrowser(TChmFile* chm, QWidget* parent = nullptr);
    QVariant loadResource(int type, const QUrl& name) override;

    static QUrl TopicUrl(const QString& objectPath);
    static QString ObjectPath(const QUrl& url);

signals:
    void TopicChanged(const QString& objectPath);

protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;

private:
    void Follow(const QUrl& link);
    QUrl Resolved(const QUrl& link) const;

    TChmFile* chm_;
    QUrl base_;
};
