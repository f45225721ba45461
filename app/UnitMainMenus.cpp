#include "UnitMain.h"

#include "ApplicationHelp.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QCoreApplication>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

// The menu bar and the toolbar of the main window.

namespace {
QString Q(const char* s) { return QString::fromUtf8(s); }
// A source text marked with QT_TRANSLATE_NOOP, in the interface language.
QString T(const char* s) { return QCoreApplication::translate("Velk", s); }

// The report dialogs look their filters' descriptions up whole, pattern
// included; the English gives the description alone, as the dialog adds the
// pattern itself.
[[maybe_unused]] const char* const kReportFilterDescriptions[] = {
    QT_TRANSLATE_NOOP("Velk", "Excel 文件(*.xls;xlsx)"), QT_TRANSLATE_NOOP("Velk", "Excel 文件(*.xls)"),
    QT_TRANSLATE_NOOP("Velk", "Excel 文件(*.xlsx)"), QT_TRANSLATE_NOOP("Velk", "PDF 文件(*.pdf)")};
} // namespace

void TFormVELK::BuildMenu()
{
    auto add = [this](QMenu* menu, const char* name, const char* caption, std::function<void()> slot) {
        QAction* a = menu->addAction(T(caption));
        a->setObjectName(Q(name));
        actions_.insert(Q(name), a);
        if (slot)
            connect(a, &QAction::triggered, this, [slot] { slot(); });
        return a;
    };
    auto sep = [this](QMenu* menu, const char* name) {
        QAction* a = menu->addSeparator();
        a->setObjectName(Q(name));
        actions_.insert(Q(name), a);
    };
    QMenuBar* bar = menuBar();
    fileMenu_ = bar->addMenu(QCoreApplication::translate("Velk", "&F 文件"));
    fileMenu_->setObjectName(QStringLiteral("MFile"));
    connect(fileMenu_, &QMenu::aboutToShow, this, [this] { MFileClick(); });
    add(fileMenu_, "MFile_New", QT_TRANSLATE_NOOP("Velk", "&N 新建"), [this] { MFile_NewClick(); });
    add(fileMenu_, "MFile_Open", QT_TRANSLATE_NOOP("Velk", "&O 打开"), [this] { MFile_OpenClick(); });
    sep(fileMenu_, "N1");
    add(fileMenu_, "MFile_Save", QT_TRANSLATE_NOOP("Velk", "&S 保存"), [this] { MFile_SaveClick(false); });
    add(fileMenu_, "MFile_SaveAs", QT_TRANSLATE_NOOP("Velk", "&A 另存为"), [this] { MFile_SaveClick(true); });
    sep(fileMenu_, "N2");
    add(fileMenu_, "MExit", QT_TRANSLATE_NOOP("Velk", "&E 结束"), [this] { MExitClick(); });

    QMenu* report = bar->addMenu(QCoreApplication::translate("Velk", "&R 报表"));
    report->setObjectName(QStringLiteral("MReport"));
    add(report, "MReport_Save", QT_TRANSLATE_NOOP("Velk", "&S 保存报表"), [this] { MReport_SaveClick(); });
    add(report, "MReport_Print", QT_TRANSLATE_NOOP("Velk", "&P 打印报表"), [this] { MReport_PrintClick(); });
    // For engineers without a spreadsheet program: the report and the diagram as PDF.
    add(report, "MReport_Pdf", QT_TRANSLATE_NOOP("Velk", "&F 导出PDF报表"), [this] { MReport_PdfClick(); });
    sep(report, "N3");
    add(report, "MReport_Per", QT_TRANSLATE_NOOP("Velk", "&D 操作性能图"), [this] { MReport_PerClick(); });

    QAction* about = bar->addAction(QCoreApplication::translate("Velk", "&A 关于..."));
    about->setObjectName(QStringLiteral("MAbout"));
    actions_.insert(QStringLiteral("MAbout"), about);
    connect(about, &QAction::triggered, this, [this] { MAboutClick(); });

    QMenu* help = bar->addMenu(QCoreApplication::translate("Velk", "&H 帮助中心"));
    help->setObjectName(QStringLiteral("MHelp"));
    add(help, "MHelp_Topic", QT_TRANSLATE_NOOP("Velk", "&T 帮助主题"), [this] { MHelp_TopicClick(); });
    add(help, "MHelp_Whatthis", QT_TRANSLATE_NOOP("Velk", "&W 这是什么?"), [this] { MHelp_WhatthisClick(); });
    add(help, "MHelp_URL", QT_TRANSLATE_NOOP("Velk", "&H 官方网站"), [this] { MHelp_URLClick(); });
    add(help, "MHelp_Email", QT_TRANSLATE_NOOP("Velk", "&E 联系我们"), [this] { MHelp_EmailClick(); });

    // The usual keys of a desktop program; the toolbar shows no hints, so
    // the menu is where they can be read.
    const std::pair<const char*, const char*> keys[] = {
        {"MFile_New", "Ctrl+N"},   {"MFile_Open", "Ctrl+O"},           {"MFile_Save", "Ctrl+S"},
        {"MFile_SaveAs", "Ctrl+Shift+S"}, {"MReport_Print", "Ctrl+P"}, {"MExit", "Ctrl+Q"}};
    for (const auto& [name, key] : keys)
        Action(Q(name))->setShortcut(QKeySequence(Q(key), QKeySequence::PortableText));
    BuildLanguageMenu();
}

void TFormVELK::BuildLanguageMenu()
{
    // Each language is named in itself, so that either can be found from the other.
    QMenu* menu = menuBar()->addMenu(QCoreApplication::translate("Velk", "&L 语言"));
    menu->setObjectName(QStringLiteral("MLanguage"));
    auto* group = new QActionGroup(menu);
    const std::pair<const char*, TLanguage::Lang> langs[] = {{"MLanguage_Zh", TLanguage::Chinese},
                                                             {"MLanguage_En", TLanguage::English}};
    for (const auto& [name, lang] : langs) {
        QAction* a = menu->addAction(lang == TLanguage::Chinese ? QStringLiteral("中文") : QStringLiteral("English"));
        a->setObjectName(Q(name));
        a->setCheckable(true);
        group->addAction(a);
        actions_.insert(Q(name), a);
        connect(a, &QAction::triggered, this, [this, lang = lang] { SetLanguage(lang); });
    }
    ShowLanguageChoice();
    BuildUnitSystemMenu(menu);
    BuildPressureDropUnitMenu(menu);
}

void TFormVELK::BuildUnitSystemMenu(QMenu* parent)
{
    // Sets every selector of the calculation page and the units of the newer pages at once.
    parent->addSeparator();
    QMenu* menu = parent->addMenu(QCoreApplication::translate("Velk", "单位制"));
    menu->setObjectName(QStringLiteral("MUnitSystem"));
    menu->setProperty("helpContext", HelpTopic::UnitSystem);
    auto* group = new QActionGroup(menu);
    const std::pair<const char*, UnitSystem> systems[] = {{"MUnitSystem_SI", UnitSystem::SI},
                                                          {"MUnitSystem_US", UnitSystem::US}};
    for (const auto& [name, system] : systems) {
        QAction* a = menu->addAction(system == UnitSystem::SI ? QCoreApplication::translate("Velk", "公制 (SI)")
                                                              : QCoreApplication::translate("Velk", "英制 (US)"));
        a->setObjectName(Q(name));
        a->setCheckable(true);
        group->addAction(a);
        actions_.insert(Q(name), a);
        connect(a, &QAction::triggered, this, [this, system = system] { SetUnitSystem(system); });
    }
}

void TFormVELK::BuildPressureDropUnitMenu(QMenu* parent)
{
    // One pressure-drop unit for the operating check, the comparison, the
    // charts and the column rating; the calculation page's fields keep theirs.
    QMenu* menu = parent->addMenu(QCoreApplication::translate("Velk", "压降单位"));
    menu->setObjectName(QStringLiteral("MPressureDropUnit"));
    auto* group = new QActionGroup(menu);
    const std::pair<const char*, PressureDropUnit> units[] = {{"MPressureDropUnit_Mbar", PressureDropUnit::Mbar},
                                                              {"MPressureDropUnit_Pa", PressureDropUnit::Pa}};
    for (const auto& [name, unit] : units) {
        QAction* a = menu->addAction(unit == PressureDropUnit::Mbar ? QStringLiteral("mbar/m, mbar")
                                                                    : QStringLiteral("Pa/m, Pa"));
        a->setObjectName(Q(name));
        a->setCheckable(true);
        group->addAction(a);
        actions_.insert(Q(name), a);
        connect(a, &QAction::triggered, this, [this, unit = unit] { SetDisplayPressureDropUnit(unit); });
    }
}

void TFormVELK::ShowLanguageChoice()
{
    const bool english = TLanguage::Current() == TLanguage::English;
    Action(QStringLiteral("MLanguage_Zh"))->setChecked(!english);
    Action(QStringLiteral("MLanguage_En"))->setChecked(english);
}

void TFormVELK::BuildToolBar()
{
    QToolBar* tb = addToolBar(QStringLiteral("CoolBar"));
    tb->setObjectName(QStringLiteral("ToolBarMain"));
    tb->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tb->setMovable(false);
    tb->installEventFilter(this); // no hover hints
    struct Button {
        const char* name;
        const char* caption;
        QStyle::StandardPixmap icon;
        std::function<void()> slot;
    };
    const Button buttons[] = {
        {"BNew", QT_TRANSLATE_NOOP("Velk", "新建"), QStyle::SP_FileIcon, [this] { MFile_NewClick(); }},
        {"BOpen", QT_TRANSLATE_NOOP("Velk", "打开"), QStyle::SP_DialogOpenButton, [this] { MFile_OpenClick(); }},
        {"BSave", QT_TRANSLATE_NOOP("Velk", "保存"), QStyle::SP_DialogSaveButton, [this] { MFile_SaveClick(false); }},
        {"BSaveas", QT_TRANSLATE_NOOP("Velk", "另存为"), QStyle::SP_DriveFDIcon, [this] { MFile_SaveClick(true); }},
        {"BitBtn1", QT_TRANSLATE_NOOP("Velk", "保存报表"), QStyle::SP_FileDialogDetailedView, [this] { MReport_SaveClick(); }},
        {"BDrawper", QT_TRANSLATE_NOOP("Velk", "操作性能图"), QStyle::SP_FileDialogContentsView, [this] { MReport_PerClick(); }},
        {"BPrint", QT_TRANSLATE_NOOP("Velk", "打印"), QStyle::SP_ComputerIcon, [this] { MReport_PrintClick(); }},
        {"BHysys", QT_TRANSLATE_NOOP("Velk", "连接Hysys"), QStyle::SP_DriveNetIcon, [this] { BHysysClick(); }},
        {"BProii", QT_TRANSLATE_NOOP("Velk", "连接Proii"), QStyle::SP_DirLinkIcon, [this] { BProiiClick(); }},
    };
    // The pictures are made once per process: a new window reuses them.
    static QHash<int, QIcon> icons;
    for (const Button& b : buttons) {
        if (!icons.contains(b.icon))
            icons.insert(b.icon, style()->standardIcon(b.icon));
        QAction* a = tb->addAction(icons.value(b.icon), T(b.caption));
        a->setObjectName(Q(b.name));
        actions_.insert(Q(b.name), a);
        auto slot = b.slot;
        connect(a, &QAction::triggered, this, [slot] { slot(); });
    }
}
