#include "RecentFilesMenu.h"

#include "RecentFiles.h"

#include <QAction>
#include <QMenu>
#include <QSet>

TRecentFilesMenu::TRecentFilesMenu(TRecentFiles* list, QMenu* fileMenu, QAction* before, OpenFn open,
                                   QObject* parent)
    : QObject(parent), list_(list), menu_(fileMenu), before_(before), open_(std::move(open))
{
    if (list_) connect(list_, &TRecentFiles::Changed, this, &TRecentFilesMenu::Sync);
    Sync();
}

QString TRecentFilesMenu::MenuText(const QString& path)
{
    QString t = path;
    t.replace(QLatin1Char('&'), QStringLiteral("&&"));
    t.replace(QLatin1Char('\t'), QLatin1Char(' ')); // a tab would start a shortcut column
    return t;
}

void TRecentFilesMenu::Sync()
{
    if (!list_ || !menu_) return;
    const auto& entries = list_->Entries();

    // A reload may have replaced the list: drop actions whose entry is gone.
    QSet<QString> names;
    for (const auto& e : entries)
        names.insert(e.Name);
    for (auto it = actions_.begin(); it != actions_.end();) {
        if (!names.contains(it.key())) {
            menu_->removeAction(it.value());
            it.value()->deleteLater();
            it = actions_.erase(it);
        } else {
            ++it;
        }
    }

    QAction* anchor = (before_ && menu_->actions().contains(before_)) ? before_.data() : nullptr;
    if (list_->HasSeparator()) {
        if (!separator_) {
            separator_ = new QAction(menu_);
            separator_->setSeparator(true);
        }
        menu_->insertAction(anchor, separator_);
        anchor = separator_;
    } else if (separator_) {
        menu_->removeAction(separator_);
    }

    for (const auto& e : entries) {
        QAction* a = actions_.value(e.Name);
        if (!a) {
            a = new QAction(menu_);
            a->setObjectName(e.Name);
            // The path is looked up when clicked: captions move between entries.
            connect(a, &QAction::triggered, this, [this, a] {
                if (open_) open_(a->data().toString());
            });
            actions_.insert(e.Name, a);
        }
        a->setText(MenuText(e.Caption));
        a->setData(e.Caption);
        menu_->insertAction(anchor, a);
    }
}
