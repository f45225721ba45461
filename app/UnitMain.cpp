#include "UnitMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QScrollArea>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "ApplicationHelp.h"
#include "BoundWidgets.h"
#include "CalcPageWidget.h"
#include "ColumnRatingPage.h"
#include "ConstantsPage.h"
#include "HintWindow.h"
#include "Language.h"
#include "ColumnDesignPage.h"
#include "LoadCasesPage.h"
#include "Messages.h"
#include "MyAppConst.h"
#include "MyStatusBar.h"
#include "PackingCatalogue.h"
#include "PackingComparisonPage.h"
#include "PerformanceCommand.h"
#include "PerformanceCurvesPage.h"
#include "PerformanceView.h"
#include "ProfileRecords.h"
#include "ProjectCommands.h"
#include "RecentFiles.h"
#include "RecentFilesMenu.h"
#include "ReportCommands.h"
#include "UnitAbout.h"
#include "UnitHysys.h"
#include "UnitProii.h"
#include "UserCatalogueFile.h"
#include "WarningMarks.h"
#include "WheelGuard.h"

TFormVELK* FormVELK = nullptr;

namespace
{
// A source text marked with QT_TRANSLATE_NOOP, in the interface language.
QString T(const char* s)
{
    return QCoreApplication::translate("Velk", s);
}

} // namespace

TFormVELK::TFormVELK(const QString& startupFile, QWidget* parent)
    : QMainWindow(parent), prompts_(std::make_unique<UiPrompts>())
{
    FormVELK = this;
    setObjectName(QStringLiteral("FormVELK"));
    resize(1001, 727);

    hint_ = new TSharedHintWindow(this);
    statusBar_ = new TMyStatusBar(this);
    setStatusBar(statusBar_);
    statusBar_->hide(); // never made visible
    appConst_ = new TMyAppConst(this);
    appConst_->setObjectName(QStringLiteral("MyAppConstMain"));

    BuildMenu();
    BuildToolBar();
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControlMain"));
    // The calculation page scrolls where the window is smaller than its content.
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("ScrollBoxCalc"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* calc = new TCalcPageWidget(page_);
    scroll->setWidget(calc);
    pages_->addTab(scroll, QCoreApplication::translate("Velk", "计算"));
    // An error in the operating check: a red dot on the tab; its text stays.
    connect(calc, &TCalcPageWidget::WarningsChanged, this, [this](bool error) { SetTabBadge(0, error); });
    SetTabBadge(0, HasErrorWarning(page_.Operation().warnings));
    pages_->addTab(BuildConstantsPage(), QCoreApplication::translate("Velk", "常量"));
    QWidget* diagram = BuildDiagramPage();
    pages_->addTab(diagram, QCoreApplication::translate("Velk", "操作性能图"));
    auto* comparison = new TPackingComparisonPage(page_);
    pages_->addTab(comparison, QCoreApplication::translate("Velk", "填料比较"));
    auto* curves = new TPerformanceCurvesPage(page_);
    pages_->addTab(curves, QCoreApplication::translate("Velk", "填料性能曲线"));
    pages_->addTab(rating_ = new ColumnRatingPage(page_), QCoreApplication::translate("Velk", "塔段校核"));
    rating_->OnModified = [this] {
        page_.Modified = true;
        QMetaObject::invokeMethod(this, &TFormVELK::SyncModified, Qt::QueuedConnection);
    };
    rating_->OnStageLoaded = [this] { pages_->setCurrentIndex(0); };
    BuildLoadCasesPage();
    auto* column = new ColumnDesignPage(page_);
    pages_->addTab(column, QCoreApplication::translate("Velk", "塔设计"));
    connect(rating_, &ColumnRatingPage::ratingFinished, this,
            [this] { SetTabBadge(pages_->indexOf(rating_), RatingHasError(rating_->Rating())); });
    connect(comparison, &TPackingComparisonPage::ErrorsChanged, this,
            [this, comparison](bool error) { SetTabBadge(pages_->indexOf(comparison), error); });
    setCentralWidget(pages_);
    TWheelGuard::KeepOpenedPagesOffValueControls(pages_);
    // F1 on a page without help of its own opens the page's topic.
    const std::pair<QWidget*, int> pageTopics[] = {{diagram, HelpTopic::Diagram},
                                                   {comparison, HelpTopic::Comparison},
                                                   {curves, HelpTopic::Curves},
                                                   {rating_, HelpTopic::Rating},
                                                   {cases_, HelpTopic::LoadCases},
                                                   {column, HelpTopic::ColumnDesign}};
    for (const auto& [page, topic] : pageTopics)
        page->setProperty("helpContext", topic);

    // FormCreate.
    focusConnection_ = connect(qApp, &QApplication::focusChanged, this, [this] { hint_->HideHint(); });
    page_.InstallHooks();
    pages_->setCurrentIndex(0);
    recent_ = new TRecentFiles(appConst_->MypathName(), this);
    recent_->LoadRecentFiles();
    SetPressureDropUnit(PressureDropUnitFromName(recent_->Record(QStringLiteral("PressureDropUnit")),
                                                 PressureDropUnit::Mbar));
    // A new page starts in the chosen system; an opened project keeps its selectors.
    SetDisplaySystem(DisplaySystemFromName(recent_->Record(QStringLiteral("UnitSystem")), UnitSystem::SI));
    ApplyUnitSystem(page_, CurrentDisplaySystem());
    ShowPressureDropUnitChoice();
    recentMenu_ = new TRecentFilesMenu(
        recent_, fileMenu_, Action(QStringLiteral("MExit")),
        [this](const QString& path) { MFile_OpenClick(path); }, this);
    ConnectProject();
    project_.CurrentFileName.clear();
    page_.Modified = false;
    TakeCleanState();
    WatchChanges();
    ShowCaption();
    qApp->installEventFilter(this);

    ApplicationHelp1 = new TApplicationHelp(this);
    ApplicationHelp1->setObjectName(QStringLiteral("ApplicationHelp1"));
    ApplicationHelp1->setHelpFileName(QStringLiteral("VELKHelp.chm"));
    ApplicationHelp1->setShowModal(TApplicationHelp::smHelp);
    ApplicationHelp1->setPause(3000);

    project_.StartupFileName = startupFile.toStdString();
    if (!project_.StartupFileName.empty()) MFile_OpenClick();
}

// The File commands' callbacks: the dialogs, the recent files, the caption,
// the column profile the project holds beside the page, and the marker.
void TFormVELK::ConnectProject()
{
    project_.AskSaveChanges = [this] {
        switch (prompts_->askYesNoCancel(this, T(kSaveChangesTitle), T(kSaveChangesText))) {
        case UiPrompts::Answer::Yes:
            return SaveChangesAnswer::Yes;
        case UiPrompts::Answer::No:
            return SaveChangesAnswer::No;
        default:
            return SaveChangesAnswer::Cancel;
        }
    };
    project_.AskSaveFileName = [this](const std::string& title, const std::string& name) {
        return prompts_
            ->askSaveFileName(this, TLanguage::Tr(title), DialogFolder(), QString::fromStdString(name))
            .toStdString();
    };
    project_.AskOpenFileName = [this] {
        return prompts_->askOpenFileName(this, DialogFolder()).toStdString();
    };
    project_.AddRecentFile = [this](const std::string& path) {
        // Absolute, so that the entry works from any folder the program is started in.
        const QFileInfo file(QString::fromStdString(path));
        recent_->AddRecentFile(file.absoluteFilePath());
        lastFolder_ = file.absolutePath();
    };
    project_.CaptionChanged = [this](const std::string&) { ShowCaption(); };
    ConnectExtraRecords();
    project_.FlagsChanged = [this] {
        TakeCleanState();
        SyncModified();
    };
}

TFormVELK::~TFormVELK()
{
    qApp->removeEventFilter(this);
    disconnect(focusConnection_);
    // The widgets are bound to page_, a member that dies before the QWidget
    // base deletes its children: the pages go first.
    delete takeCentralWidget();
    if (FormVELK == this) FormVELK = nullptr;
}

void TFormVELK::SetPrompts(std::unique_ptr<UiPrompts> prompts)
{
    prompts_ = std::move(prompts);
}

QAction* TFormVELK::Action(const QString& name) const
{
    return actions_.value(name);
}

QWidget* TFormVELK::BuildConstantsPage()
{
    constants_ = new TConstantsPage(page_, [this] { return prompts_.get(); });
    // The user's own rows join the catalogue before any project is opened.
    constants_->OpenCatalogue(DefaultUserCatalogueFile());
    connect(constants_, &TConstantsPage::PackingChanged, this, [this] { page_.AfDChange(); });
    return constants_;
}

QWidget* TFormVELK::BuildDiagramPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheetper"));
    auto* view = new TPerformanceView(page);
    view->setObjectName(QStringLiteral("MyPaintBox"));
    paintBox_ = view;
    view->setInputProvider([this](TPerformanceView::TCause cause) -> std::optional<TPerformanceInput> {
        if (cause == TPerformanceView::TCause::Command) {
            std::optional<TPerformanceInput> in = PerformanceInputFromPage(page_);
            if (!in || !cases_) return in;
            cases_->Refresh(); // the cases follow the page's changes
            return DiagramWithLoadCases(false);
        }
        // A repaint recalculates too, but keeps its messages to itself: the
        // page is repainted often, and a message box on every repaint would
        // never let the user fix the input.
        RecordingSink quiet;
        ScopedMessageSink scope(&quiet);
        try {
            return DiagramWithLoadCases(true);
        } catch (const std::exception&) {
            return std::nullopt;
        }
    });
    view->setStatusCallback([this](const QString& text) { statusBar_->SetPanelText(0, text); });
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(paintBox_);
    return page;
}

TControl* TFormVELK::ModelOf(QWidget* w) const
{
    if (TControl* m = BoundModel(w)) return m;
    if (auto* u = qobject_cast<TComboBoxUWidget*>(w)) return u->model();
    if (w && (w->objectName() == QLatin1String("CBLagrange") || w->objectName() == QLatin1String("CBRating")))
        return page_.Check(w->objectName().toStdString());
    // An editable combo box gives the focus to its line edit.
    if (w && w->parentWidget())
        if (auto* c = qobject_cast<TComboWidget*>(w->parentWidget())) return c->model();
    return nullptr;
}

bool TFormVELK::QuerySave()
{
    return QuerySaveProject(project_);
}

void TFormVELK::MFile_NewClick()
{
    NewProjectCommand(project_);
}

void TFormVELK::MFile_OpenClick(const QString& recentPath)
{
    OpenProjectCommand(project_, recentPath.toStdString());
}

void TFormVELK::MFile_SaveClick(bool saveAs)
{
    SaveProjectCommand(project_, saveAs);
}

void TFormVELK::MExitClick()
{
    close();
}

void TFormVELK::ShowCaption()
{
    // "<program>-<file>", or "<program>-空白项目" for a blank project: the
    // program's name and the blank marker are texts, the file is not.
    const QString caption = QString::fromStdString(project_.Caption);
    const qsizetype dash = caption.indexOf(QLatin1Char('-'));
    QString shown = T(caption.toUtf8().constData());
    if (dash >= 0) {
        const QString rest = caption.mid(dash + 1);
        shown =
            T(caption.left(dash).toUtf8().constData()) + QLatin1Char('-') +
            (rest == QString::fromUtf8(QT_TRANSLATE_NOOP("Velk", "空白项目")) ? T(rest.toUtf8().constData())
                                                                              : rest);
    }
    // Qt shows "[*]" as its unsaved-changes marker while the window is
    // modified; a literal "[*]" in a file name is written doubled.
    shown.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(shown + QStringLiteral("[*]"));
    SyncModified();
}

QString TFormVELK::DialogFolder() const
{
    return recent_->DialogFolder(appConst_->Mypath(), QFileInfo(appConst_->Mypath()).isWritable(),
                                 lastFolder_);
}

void TFormVELK::BringToFront()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void TFormVELK::OpenPassedFile(const QString& path)
{
    BringToFront();
    // As File > Open with the file chosen: a modified project is offered
    // for saving first.
    MFile_OpenClick(path);
}

void TFormVELK::SyncModified()
{
    setWindowModified(page_.Modified);
    // Ctrl+S reaches Save without the menu being opened, so the menu's rule
    // (Save only for a modified project) is kept up to date here as well.
    if (QAction* save = Action(QStringLiteral("MFile_Save"))) save->setEnabled(page_.Modified);
}

void TFormVELK::WatchChanges()
{
    for (TControl* c : page_.Controls())
        c->Subscribe([this] {
            if (comparePending_) return;
            comparePending_ = true;
            QMetaObject::invokeMethod(this, &TFormVELK::CompareWithClean, Qt::QueuedConnection);
        });
}

void TFormVELK::CompareWithClean()
{
    comparePending_ = false;
    if (!page_.Modified && ProjectStateText(page_) != cleanState_) page_.Modified = true;
    SyncModified();
}

void TFormVELK::TakeCleanState()
{
    // A project left modified (its recalculation failed on Open) stays so.
    if (!page_.Modified) cleanState_ = ProjectStateText(page_);
}

void TFormVELK::SetLanguage(TLanguage::Lang lang)
{
    TLanguage::Apply(lang);
    recent_->SetRecord(QStringLiteral("Language"), TLanguage::Name(lang));
    recent_->SaveRecentFiles();
    ShowLanguageChoice();
}

void TFormVELK::SetDisplayPressureDropUnit(PressureDropUnit unit)
{
    SetPressureDropUnit(unit);
    recent_->SetRecord(QStringLiteral("PressureDropUnit"), PressureDropUnitName(unit));
    recent_->SaveRecentFiles();
    ShowPressureDropUnitChoice();
}

void TFormVELK::SetUnitSystem(UnitSystem system)
{
    ApplyUnitSystem(page_, system);
    SetDisplaySystem(system);
    recent_->SetRecord(QStringLiteral("UnitSystem"), DisplaySystemName(system));
    recent_->SaveRecentFiles();
    ShowPressureDropUnitChoice();
}

void TFormVELK::ShowPressureDropUnitChoice()
{
    const bool pa = CurrentPressureDropUnit() == PressureDropUnit::Pa;
    Action(QStringLiteral("MPressureDropUnit_Pa"))->setChecked(pa);
    Action(QStringLiteral("MPressureDropUnit_Mbar"))->setChecked(!pa);
    // US pressure drops are in inH2O: the mbar/Pa choice waits for SI.
    const bool us = CurrentDisplaySystem() == UnitSystem::US;
    Action(QStringLiteral("MUnitSystem_US"))->setChecked(us);
    Action(QStringLiteral("MUnitSystem_SI"))->setChecked(!us);
    if (auto* menu = findChild<QMenu*>(QStringLiteral("MPressureDropUnit"))) menu->setEnabled(!us);
}

void TFormVELK::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::LanguageChange) {
        ShowCaption();
        ShowLanguageChoice();
        // Texts of another length: the layouts measure them again (the
        // calculation page's minimum width among them, so that it fits or scrolls).
        for (QLayout* l : findChildren<QLayout*>())
            l->invalidate();
    }
    QMainWindow::changeEvent(e);
}

void TFormVELK::MFileClick()
{
    Action(QStringLiteral("MFile_Save"))->setEnabled(page_.Modified);
}

void TFormVELK::MAboutClick()
{
    prompts_->information(
        this, QCoreApplication::translate("Velk", "欢迎使用"),
        QCoreApplication::translate("Velk", "波纹规整填料塔流体力学(VLKE) V2017.05.01.41") +
            QStringLiteral("\n\n") +
            QCoreApplication::translate("Velk", "规整填料塔的泛点、塔径、压降、持液量与传质效率计算。"));
    if (!FormAbout) FormAbout = new TFormAbout(this);
    prompts_->execDialog(FormAbout);
}

void TFormVELK::MReport_PerClick()
{
    auto* view = static_cast<TPerformanceView*>(paintBox_);
    try {
        // Recalculate first; with an empty diameter or flow nothing is drawn.
        if (!PerformanceInputFromPage(page_)) return;
    } catch (const std::exception& e) {
        ReportError(e);
        return;
    }
    pages_->setCurrentIndex(2);
    view->redraw();
}
ReportContext TFormVELK::ReportCtx()
{
    ReportContext ctx;
    ctx.parent = this;
    ctx.page = &page_;
    ctx.currentFileName = project_.CurrentFileName;
    ctx.profile = {&rating_->Profile(), &rating_->Rating(), page_.Combo("UfMD")->Items()};
    ctx.cases = cases_->Report();
    return ctx;
}

void TFormVELK::MReport_SaveClick()
{
    ::MReport_SaveClick(ReportCtx());
}
void TFormVELK::MReport_PrintClick()
{
    ::MReport_PrintClick(ReportCtx());
}
void TFormVELK::MReport_PdfClick()
{
    ::MReport_PdfClick(ReportCtx());
}
void TFormVELK::BHysysClick()
{
    RunReported([this] { ShowHysysDialog(this, page_, TakeColumn()); });
}
void TFormVELK::BProiiClick()
{
    RunReported([this] { ShowProiiDialog(this, page_, TakeColumn()); });
}
std::function<void(const ColumnProfile&)> TFormVELK::TakeColumn()
{
    return [this](const ColumnProfile& profile) {
        rating_->SetProfile(profile);
        pages_->setCurrentWidget(rating_);
    };
}
void TFormVELK::MHelp_TopicClick()
{
    ApplicationHelp1->ShowHelpContents();
}
void TFormVELK::MHelp_WhatthisClick()
{
    ApplicationHelp1->WhatsThis();
}
void TFormVELK::MHelp_URLClick()
{
    ::MHelp_URLClick();
}
void TFormVELK::MHelp_EmailClick()
{
    ::MHelp_EmailClick();
}

void TFormVELK::closeEvent(QCloseEvent* e)
{
    if (!QuerySave()) {
        e->ignore();
        return;
    }
    recent_->SaveRecentFiles();
    e->accept();
}

bool TFormVELK::FormKeyPress(QWidget* focused, QKeyEvent* e)
{
    // Character keys only; Tab moves the focus before the window sees it.
    if (e->text().isEmpty() || e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) return false;
    if (qobject_cast<TCommentWidget*>(focused)) return false;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        focusNextChild();
        return true;
    }
    page_.NeedsRecalc = true;
    page_.Modified = true;
    return false;
}

void TFormVELK::FormKeyDown(QWidget* focused, QKeyEvent* e)
{
    if (e->key() != Qt::Key_F1 && hint_->Showing()) {
        hint_->HideHint();
        return;
    }
    TControl* m = ModelOf(focused);
    if (!m || m->HelpContext() >= 1 || m->Hint().empty()) return;
    QWidget* anchor = focused;
    if (auto* c = qobject_cast<TComboWidget*>(focused->parentWidget())) anchor = c;
    const QPoint topLeft = anchor->mapToGlobal(QPoint(0, 0)) + QPoint(25, -25);
    hint_->ShowHint(TLanguage::Tr(m->Hint()), topLeft, 400);
}

bool TFormVELK::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        // The toolbar and its buttons show no hover hints.
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && (qobject_cast<QToolBar*>(w) || qobject_cast<QToolBar*>(w->parentWidget()))) return true;
    }
    if (event->type() == QEvent::MouseButtonRelease)
        QMetaObject::invokeMethod(this, &TFormVELK::SyncModified, Qt::QueuedConnection);
    if (event->type() != QEvent::KeyPress) return QMainWindow::eventFilter(watched, event);
    auto* w = qobject_cast<QWidget*>(watched);
    // Only the first delivery, to the focused control of this window.
    if (!w || w != QApplication::focusWidget() || w->window() != this)
        return QMainWindow::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    FormKeyDown(w, key);
    // The key reaches the flags only after this returns.
    QMetaObject::invokeMethod(this, &TFormVELK::SyncModified, Qt::QueuedConnection);
    return FormKeyPress(w, key);
}

namespace
{
QIcon ErrorDot()
{
    QPixmap pm(12, 12);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(SeverityColour(WarningSeverity::Error));
    p.drawEllipse(QRectF(1, 1, 10, 10));
    return QIcon(pm);
}
} // namespace

void TFormVELK::SetTabBadge(int index, bool error)
{
    if (index < 0 || index >= pages_->count()) return;
    pages_->setTabIcon(index, error ? ErrorDot() : QIcon());
    pages_->tabBar()->setTabData(index, error);
}

bool TFormVELK::HasTabBadge(int index) const
{
    return pages_->tabBar()->tabData(index).toBool();
}
