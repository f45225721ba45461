#include "HtmlHelpViewer.h"

#include "ChmSitemap.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <functional>

namespace
{
constexpr int TopicRole = Qt::UserRole;
}

THtmlHelpViewer::THtmlHelpViewer(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HtmlHelpViewer"));
    setWindowTitle(tr("帮助"));
    resize(900, 620);

    tabs_ = new QTabWidget;
    contents_ = new QTreeWidget;
    contents_->setHeaderHidden(true);
    contents_->setObjectName(QStringLiteral("HelpContents"));
    tabs_->addTab(contents_, tr("目录"));

    auto* indexPage = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(4, 4, 4, 4);
    indexEdit_ = new QLineEdit;
    indexEdit_->setPlaceholderText(tr("键入要查找的关键字"));
    indexList_ = new QListWidget;
    indexList_->setObjectName(QStringLiteral("HelpIndex"));
    indexLayout->addWidget(indexEdit_);
    indexLayout->addWidget(indexList_);
    tabs_->addTab(indexPage, tr("索引"));

    browser_ = new TChmBrowser(&chm_);
    browser_->setObjectName(QStringLiteral("HelpTopic"));

    auto* split = new QSplitter;
    split->addWidget(tabs_);
    split->addWidget(browser_);
    split->setStretchFactor(1, 3);
    split->setSizes({240, 660});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);

    connect(contents_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item && !item->data(0, TopicRole).toString().isEmpty())
            ShowTopic(item->data(0, TopicRole).toString());
    });
    connect(indexEdit_, &QLineEdit::textEdited, this, &THtmlHelpViewer::IndexTextEdited);
    connect(indexEdit_, &QLineEdit::returnPressed, this, &THtmlHelpViewer::IndexActivated);
    connect(indexList_, &QListWidget::itemActivated, this, &THtmlHelpViewer::IndexActivated);
    connect(indexList_, &QListWidget::itemClicked, this, &THtmlHelpViewer::IndexActivated);
    connect(browser_, &TChmBrowser::TopicChanged, this, &THtmlHelpViewer::SelectInContents);
}

bool THtmlHelpViewer::OpenFile(const QString& fileName)
{
    const QString absolute = QFileInfo(fileName).absoluteFilePath();
    if (chm_.IsOpen() && chm_.FileName() == absolute) return true;
    contents_->clear();
    indexList_->clear();
    browser_->clear();
    if (!chm_.Open(absolute)) {
        setWindowTitle(tr("帮助"));
        ShowError(tr("无法打开帮助文件“%1”。").arg(fileName));
        return false;
    }
    setWindowTitle(chm_.Title().isEmpty() ? QFileInfo(fileName).completeBaseName() : chm_.Title());
    FillContents();
    FillIndex();
    return true;
}

void THtmlHelpViewer::ShowError(const QString& text)
{
    browser_->setHtml(QStringLiteral("<html><body><h3>%1</h3></body></html>").arg(text.toHtmlEscaped()));
}

bool THtmlHelpViewer::ShowTopic(const QString& topic)
{
    if (!chm_.IsOpen()) return false;
    QString target = topic.isEmpty() ? chm_.DefaultTopic() : topic;
    if (target.isEmpty()) {
        ShowError(tr("帮助文件没有默认主题。"));
        return false;
    }
    const QUrl url = TChmBrowser::TopicUrl(target);
    if (!chm_.Exists(TChmBrowser::ObjectPath(url))) {
        ShowError(tr("帮助文件中没有主题“%1”。").arg(target));
        return false;
    }
    if (browser_->source() == url)
        browser_->reload();
    else
        browser_->setSource(url);
    return true;
}

bool THtmlHelpViewer::ShowContext(quint32 id)
{
    if (!chm_.IsOpen()) return false;
    const QString topic = chm_.TopicForContext(id);
    if (topic.isEmpty()) {
        ShowError(tr("帮助文件中没有上下文编号为 %1 的主题。").arg(id));
        return false;
    }
    return ShowTopic(topic);
}

void THtmlHelpViewer::ShowContents()
{
    tabs_->setCurrentIndex(0);
}

QString THtmlHelpViewer::CurrentTopic() const
{
    const QUrl source = browser_->source();
    return source.isEmpty() ? QString() : TChmBrowser::ObjectPath(source);
}

void THtmlHelpViewer::FillContents()
{
    if (chm_.ContentsFile().isEmpty()) return;
    const auto raw = chm_.Read(chm_.ContentsFile());
    if (!raw) return;
    std::function<void(QTreeWidgetItem*, const QList<TChmSitemapItem>&)> add =
        [&](QTreeWidgetItem* parent, const QList<TChmSitemapItem>& items) {
            for (const auto& it : items) {
                auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(contents_);
                node->setText(0, it.Name);
                if (!it.Locals.isEmpty()) node->setData(0, TopicRole, it.Locals.first());
                add(node, it.Children);
            }
        };
    // Signals off: filling must not open the first topic by itself.
    const QSignalBlocker block(contents_);
    add(nullptr, TChmSitemap::Parse(chm_.DecodeText(*raw)));
    contents_->expandAll();
}

void THtmlHelpViewer::FillIndex()
{
    if (chm_.IndexFile().isEmpty()) return;
    const auto raw = chm_.Read(chm_.IndexFile());
    if (!raw) return;
    const auto items = TChmSitemap::Parse(chm_.DecodeText(*raw));
    for (const auto& [depth, item] : TChmSitemap::Flatten(items)) {
        auto* row = new QListWidgetItem(QString(depth * 4, QLatin1Char(' ')) + item->Name, indexList_);
        row->setData(TopicRole, item->Locals.isEmpty() ? QString() : item->Locals.first());
        row->setData(TopicRole + 1, item->Name);
    }
}

void THtmlHelpViewer::SelectInContents(const QString& objectPath)
{
    const QString wanted = objectPath.toLower();
    for (QTreeWidgetItemIterator it(contents_); *it; ++it) {
        QString local = (*it)->data(0, TopicRole).toString();
        local = TChmBrowser::ObjectPath(TChmBrowser::TopicUrl(local)).toLower();
        if (local == wanted) {
            const QSignalBlocker block(contents_);
            contents_->setCurrentItem(*it);
            return;
        }
    }
}

void THtmlHelpViewer::IndexTextEdited(const QString& text)
{
    const QString key = text.trimmed();
    if (key.isEmpty()) return;
    for (int i = 0; i < indexList_->count(); ++i) {
        if (indexList_->item(i)->data(TopicRole + 1).toString().startsWith(key, Qt::CaseInsensitive)) {
            indexList_->setCurrentRow(i);
            indexList_->scrollToItem(indexList_->item(i), QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

void THtmlHelpViewer::IndexActivated()
{
    const QListWidgetItem* row = indexList_->currentItem();
    if (!row) return;
    const QString topic = row->data(TopicRole).toString();
    if (!topic.isEmpty()) ShowTopic(topic);
}

bool THtmlHelpViewer::ShowIndex(const QString& keyword)
{
    tabs_->setCurrentIndex(1);
    indexEdit_->setText(keyword);
    indexList_->setCurrentRow(-1);
    IndexTextEdited(keyword);
    const QListWidgetItem* row = indexList_->currentItem();
    if (!row) return false;
    if (row->data(TopicRole + 1).toString().compare(keyword.trimmed(), Qt::CaseInsensitive) != 0)
        return false;
    IndexActivated();
    return true;
}
