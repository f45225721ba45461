#include "UnitMain.h"

#include <QAction>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

// The menu bar and the toolbar of the main window.

namespace {
QString Q(const char* s) { return QString::fromUtf8(s); }
} // namespace

void TFormVELK::BuildMenu()
{
    auto add = [this](QMenu* menu, const char* name, const char* caption, std::function<void()> slot) {
        QAction* a = menu->addAction(Q(caption));
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
    fileMenu_ = bar->addMenu(QStringLiteral("&F 文件"));
    fileMenu_->setObjectName(QStringLiteral("MFile"));
    connect(fileMenu_, &QMenu::aboutToShow, this, [this] { MFileClick(); });
    add(fileMenu_, "MFile_New", "&N 新建", [this] { MFile_NewClick(); });
    add(fileMenu_, "MFile_Open", "&O 打开", [this] { MFile_OpenClick(); });
    sep(fileMenu_, "N1");
    add(fileMenu_, "MFile_Save", "&S 保存", [this] { MFile_SaveClick(false); });
    add(fileMenu_, "MFile_SaveAs", "&A 另存为", [this] { MFile_SaveClick(true); });
    sep(fileMenu_, "N2");
    add(fileMenu_, "MExit", "&E 结束", [this] { MExitClick(); });

    QMenu* report = bar->addMenu(QStringLiteral("&R 报表"));
    report->setObjectName(QStringLiteral("MReport"));
    add(report, "MReport_Save", "&S 保存报表", [this] { MReport_SaveClick(); });
    add(report, "MReport_Print", "&P 打印报表", [this] { MReport_PrintClick(); });
    // For engineers without a spreadsheet program: the report and the diagram as PDF.
    add(report, "MReport_Pdf", "&F 导出PDF报表", [this] { MReport_PdfClick(); });
    sep(report, "N3");
    add(report, "MReport_Per", "&D 操作性能图", [this] { MReport_PerClick(); });

    QAction* about = bar->addAction(QStringLiteral("&A 关于..."));
    about->setObjectName(QStringLiteral("MAbout"));
    actions_.insert(QStringLiteral("MAbout"), about);
    connect(about, &QAction::triggered, this, [this] { MAboutClick(); });

    QMenu* help = bar->addMenu(QStringLiteral("&H 帮助中心"));
    help->setObjectName(QStringLiteral("MHelp"));
    add(help, "MHelp_Topic", "&T 帮助主题", [this] { MHelp_TopicClick(); });
    add(help, "MHelp_Whatthis", "&W 这是什么?", [this] { MHelp_WhatthisClick(); });
    add(help, "MHelp_URL", "&H 官方网站", [this] { MHelp_URLClick(); });
    add(help, "MHelp_Email", "&E 联系我们", [this] { MHelp_EmailClick(); });
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
        {"BNew", "新建", QStyle::SP_FileIcon, [this] { MFile_NewClick(); }},
        {"BOpen", "打开", QStyle::SP_DialogOpenButton, [this] { MFile_OpenClick(); }},
        {"BSave", "保存", QStyle::SP_DialogSaveButton, [this] { MFile_SaveClick(false); }},
        {"BSaveas", "另存为", QStyle::SP_DriveFDIcon, [this] { MFile_SaveClick(true); }},
        {"BitBtn1", "保存报表", QStyle::SP_FileDialogDetailedView, [this] { MReport_SaveClick(); }},
        {"BDrawper", "操作性能图", QStyle::SP_FileDialogContentsView, [this] { MReport_PerClick(); }},
        {"BPrint", "打印", QStyle::SP_ComputerIcon, [this] { MReport_PrintClick(); }},
        {"BHysys", "连接Hysys", QStyle::SP_DriveNetIcon, [this] { BHysysClick(); }},
        {"BProii", "连接Proii", QStyle::SP_DirLinkIcon, [this] { BProiiClick(); }},
    };
    // The pictures are made once per process: a new window reuses them.
    static QHash<int, QIcon> icons;
    for (const Button& b : buttons) {
        if (!icons.contains(b.icon))
            icons.insert(b.icon, style()->standardIcon(b.icon));
        QAction* a = tb->addAction(icons.value(b.icon), Q(b.caption));
        a->setObjectName(Q(b.name));
        actions_.insert(Q(b.name), a);
        auto slot = b.slot;
        connect(a, &QAction::triggered, this, [slot] { slot(); });
    }
}
