#pragma once
// The main window: the calculation page, the packing catalogue and the
// performance diagram, with the menu, the toolbar and the (hidden) status
// bar. The state of every control lives in the CalcPage model; the handlers
// here only call into the models and the command functions.

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <optional>

#include "CalcPage.h"
#include "Language.h"
#include "PressureDropDisplay.h"
#include "ProjectCommands.h"
#include "TrNoop.h"
#include "UiPrompts.h"

class ColumnRatingPage;
class LoadCasesPage;
struct TPerformanceInput;
class QAction;
class QMenu;
class QTabWidget;
class QTableWidget;
class QToolBar;
class TSharedHintWindow;
class TMyStatusBar;
class TMyAppConst;
class TApplicationHelp;
class TRecentFiles;
class TRecentFilesMenu;

class TFormVELK : public QMainWindow
{
    Q_OBJECT
public:
    // startupFile: the first command-line argument (may be empty).
    explicit TFormVELK(const QString& startupFile = QString(), QWidget* parent = nullptr);
    ~TFormVELK() override;

    CalcPage& Page() { return page_; }
    // The current project file; empty for a blank project.
    QString CurrentFileName() const { return QString::fromStdString(project_.CurrentFileName); }

    // Replaces the dialogs (tests); the window keeps ownership.
    void SetPrompts(std::unique_ptr<UiPrompts> prompts);
    UiPrompts& Prompts() { return *prompts_; }

    TSharedHintWindow* HintWindow() const { return hint_; }
    TMyStatusBar* StatusBar() const { return statusBar_; }
    QTabWidget* PageControlMain() const { return pages_; }
    TRecentFiles* RecentFiles() const { return recent_; }
    TApplicationHelp* ApplicationHelp() const { return ApplicationHelp1; }
    QAction* Action(const QString& name) const;

    // Commands.
    void MFile_NewClick();
    void MFile_OpenClick(const QString& recentPath = QString());
    // saveAs: File > Save As and the toolbar's Save As button.
    void MFile_SaveClick(bool saveAs = false);
    void MExitClick();
    void MFileClick();
    void MAboutClick();
    void MReport_PerClick();
    void MReport_SaveClick();
    void MReport_PrintClick();
    void MReport_PdfClick();
    void BHysysClick();
    void BProiiClick();
    void MHelp_TopicClick();
    void MHelp_WhatthisClick();
    void MHelp_URLClick();
    void MHelp_EmailClick();

    // The caption from the project's caption, in the interface language, with
    // the unsaved-changes marker; SyncModified sets only the marker.
    void ShowCaption();
    void SyncModified();
    // The language menu: switches the interface and keeps the choice in the
    // option file.
    void SetLanguage(TLanguage::Lang lang);
    // The pressure-drop unit of the newer pages, kept in the option file
    // like the language.
    void SetDisplayPressureDropUnit(PressureDropUnit unit);
    // The unit system: every selector of the calculation page (a change of
    // the project, like a selector changed by hand) and the units of the
    // newer pages; the choice is kept in the option file.
    void SetUnitSystem(UnitSystem system);
    // Where the Open and Save dialogs start.
    QString DialogFolder() const;
    // A later start of the program: bring the window forward, or open the
    // file it was given (as File > Open would, asking to save first).
    void BringToFront();
    void OpenPassedFile(const QString& path);

    // A red dot on the page's tab while its content carries an error; the
    // tab's text is never changed.
    void SetTabBadge(int index, bool error);
    bool HasTabBadge(int index) const;

    // Asks whether to save a modified project: true means go on.
    bool QuerySave();

    // Key preview: the window sees every key before its controls.
    bool FormKeyPress(QWidget* focused, QKeyEvent* e);
    void FormKeyDown(QWidget* focused, QKeyEvent* e);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void BuildMenu();
    void BuildToolBar();
    void BuildLanguageMenu();
    void ShowLanguageChoice();
    void BuildPressureDropUnitMenu(QMenu* parent);
    void ShowPressureDropUnitChoice();
    void BuildUnitSystemMenu(QMenu* parent);
    QWidget* BuildConstantsPage();
    QWidget* BuildDiagramPage();
    TControl* ModelOf(QWidget* w) const;
    struct ReportContext ReportCtx();
    void OpenFile(const QString& path);
    void ConnectProject();
    // The unsaved-changes marker follows every change of the page, whatever
    // made it (a key, the mouse, the wheel, an import, a loaded stage): a
    // change notice queues one comparison with the state at the last New,
    // Open or Save.
    void WatchChanges();
    void CompareWithClean();
    void TakeCleanState();
    // The page "工况校核" and what the project, the diagram and the report take from it.
    void BuildLoadCasesPage();
    void ConnectExtraRecords();
    std::optional<TPerformanceInput> DiagramWithLoadCases(bool recalculate);
    // The import dialogs' "整塔数据": the column goes to the column rating.
    std::function<void(const struct ColumnProfile&)> TakeColumn();

    CalcPage page_;
    ProjectContext project_{page_};
    std::unique_ptr<UiPrompts> prompts_;
    QTabWidget* pages_ = nullptr;
    class TConstantsPage* constants_ = nullptr;
    QWidget* paintBox_ = nullptr;
    ColumnRatingPage* rating_ = nullptr;
    LoadCasesPage* cases_ = nullptr;
    TMyStatusBar* statusBar_ = nullptr;
    TSharedHintWindow* hint_ = nullptr;
    TMyAppConst* appConst_ = nullptr;
    TRecentFiles* recent_ = nullptr;
    TRecentFilesMenu* recentMenu_ = nullptr;
    TApplicationHelp* ApplicationHelp1 = nullptr;
    QMenu* fileMenu_ = nullptr;
    QHash<QString, QAction*> actions_;
    QMetaObject::Connection focusConnection_;
    bool closing_ = false;
    std::string cleanState_;
    bool comparePending_ = false;
    QString lastFolder_;
};

extern TFormVELK* FormVELK;

inline constexpr const char* kAppTitle = QT_TRANSLATE_NOOP("Velk", "波纹规整填料塔流体力学");
inline constexpr const char* kBlankCaption = QT_TRANSLATE_NOOP("Velk", "波纹规整填料塔流体力学-空白项目");
