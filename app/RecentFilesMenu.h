#pragma once
// Shows a TRecentFiles list in the File menu and keeps the menu in step with
// it: one action per entry, named like the entry ("I0", "I1", ...) with the
// path as its caption, newest first, followed by a single separator, all
// placed before the given action (the File menu's "&E 结束").
//
// Wiring in the main window:
//   recent = new TRecentFiles(MyAppConstMain->MypathName(), this);
//   recent->LoadRecentFiles();
//   new TRecentFilesMenu(recent, MFile, MExit,
//                        [this](const QString& path) { OpenRecent(path); }, this);

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

class QAction;
class QMenu;
class TRecentFiles;

class TRecentFilesMenu : public QObject
{
    Q_OBJECT
public:
    using OpenFn = std::function<void(const QString& path)>;

    TRecentFilesMenu(TRecentFiles* list, QMenu* fileMenu, QAction* before, OpenFn open,
                     QObject* parent = nullptr);

    // The action showing the entry of that name, or nullptr.
    QAction* EntryAction(const QString& name) const { return actions_.value(name); }
    QAction* Separator() const { return separator_; }

    // Menu text for a path: '&' doubled so that it is not taken for a hot key.
    static QString MenuText(const QString& path);

public slots:
    void Sync();

private:
    QPointer<TRecentFiles> list_;
    QPointer<QMenu> menu_;
    QPointer<QAction> before_;
    OpenFn open_;
    QHash<QString, QAction*> actions_;
    QAction* separator_ = nullptr;
};
