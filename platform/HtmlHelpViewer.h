#pragma once
// The help viewer window: the contents and the keyword index of a compiled
// help file on the left, the topic on the right. Topics, their pictures and
// style sheets are read from the .chm itself.

#include "ChmBrowser.h"
#include "ChmFile.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTreeWidget;
class QTextBrowser;

class THtmlHelpViewer : public QWidget
{
    Q_OBJECT
public:
    explicit THtmlHelpViewer(QWidget* parent = nullptr);

    // Opens the help file (if it is not the one already open) and fills the
    // contents and the index. On failure the viewer says so in its page.
    bool OpenFile(const QString& fileName);
    bool IsOpen() const { return chm_.IsOpen(); }
    const TChmFile& Chm() const { return chm_; }

    // Shows a topic ("/a.htm", "a.htm#part"); an empty name means the default topic.
    bool ShowTopic(const QString& topic = {});
    // Shows the topic mapped to a context number.
    bool ShowContext(quint32 id);
    // Opens the index at the first keyword starting with the given text and
    // shows its topic when the keyword matches.
    bool ShowIndex(const QString& keyword);
    void ShowContents();

    // The object path of the topic on show ("/index.htm"), empty for none.
    QString CurrentTopic() const;
    QTextBrowser* Browser() const { return browser_; }
    QTreeWidget* ContentsTree() const { return contents_; }
    QListWidget* IndexList() const { return indexList_; }
    QLineEdit* IndexEdit() const { return indexEdit_; }
    QTabWidget* Tabs() const { return tabs_; }

private:
    void ShowError(const QString& text);
    void FillContents();
    void FillIndex();
    void SelectInContents(const QString& objectPath);
    void IndexTextEdited(const QString& text);
    void IndexActivated();

    TChmFile chm_;
    QTabWidget* tabs_ = nullptr;
    QTreeWidget* contents_ = nullptr;
    QLineEdit* indexEdit_ = nullptr;
    QListWidget* indexList_ = nullptr;
    TChmBrowser* browser_ = nullptr;
};
