// velk-screenshots: the real main window, set up as the program sets itself
// up, on an example project with a column profile rated, and one picture of
// each page of the window. A helper of scripts/screenshots.sh and of its
// test, not part of the program: the program itself has no such option.
//
//   velk-screenshots --lang zh|en --out DIR [--page NAME]... [--size WxH]
//                    --project FILE.vel --profile FILE.csv
//
// Writes DIR/NAME-LANG.png for every page (or only the pages named). Names:
// calc, calc-end (the calculation page scrolled to its end), constants,
// constants-end (only when named: the catalogue scrolled to the user's rows),
// diagram, comparison, curves, rating, cases; a page added later without a name
// here is written as its object name; the import dialogs as import-proii and
// import-hysys. Messages of the program go to stderr.
#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFont>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

#include <cstdio>
#include <functional>
#include <memory>

#include "ColumnRatingPage.h"
#include "LoadCasesPage.h"
#include "FontSetup.h"
#include "Language.h"
#include "MessageBoxFit.h"
#include "Messages.h"
#include "MyXls.h"
#include "PackingComparisonPage.h"
#include "PerformanceCurvesPage.h"
#include "Retranslator.h"
#include "SimulatorImport.h"
#include "UnitHysys.h"
#include "UnitMain.h"
#include "UnitProii.h"
#include "WheelGuard.h"

namespace {

// No dialog may wait for an answer nobody gives: questions are declined,
// file dialogs cancelled, and what they said goes to stderr.
class SilentPrompts : public UiPrompts {
public:
    Answer askYesNoCancel(QWidget*, const QString& title, const QString& text) override
    {
        std::fprintf(stderr, "question declined: %s: %s\n", qPrintable(title), qPrintable(text));
        return Answer::No;
    }
    QString askSaveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString askOpenFileName(QWidget*, const QString&) override { return {}; }
    void information(QWidget*, const QString& title, const QString& text) override
    {
        std::fprintf(stderr, "information: %s: %s\n", qPrintable(title), qPrintable(text));
    }
    int execDialog(QDialog*) override { return 0; }
};

class StderrSink : public MessageSink {
public:
    void showMessage(MsgKind, const std::string& text, const std::string& title) override
    {
        std::fprintf(stderr, "message: %s: %s\n", title.c_str(), text.c_str());
        ++count;
    }
    int count = 0;
};

struct Options {
    TLanguage::Lang lang = TLanguage::Chinese;
    QString langName, out, project, profile;
    bool us = false; // --units us: the US unit system chosen after loading; pictures NAME-LANG-us.png
    QStringList pages;
    QSize size{1366, 768};
};

bool ParseOptions(const QStringList& args, Options* o)
{
    QCommandLineParser p;
    p.addOptions({{QStringLiteral("lang"), QStringLiteral("zh or en"), QStringLiteral("lang")},
                  {QStringLiteral("out"), QStringLiteral("output folder"), QStringLiteral("dir")},
                  {QStringLiteral("page"), QStringLiteral("only this page (repeatable)"), QStringLiteral("name")},
                  {QStringLiteral("size"), QStringLiteral("window size WxH"), QStringLiteral("size")},
                  {QStringLiteral("project"), QStringLiteral("project file"), QStringLiteral("file")},
                  {QStringLiteral("profile"), QStringLiteral("column profile CSV"), QStringLiteral("file")},
                  {QStringLiteral("units"), QStringLiteral("si or us"), QStringLiteral("system")}});
    if (!p.parse(args)) {
        std::fprintf(stderr, "%s\n", qPrintable(p.errorText()));
        return false;
    }
    o->langName = p.value(QStringLiteral("lang"));
    if (o->langName != QLatin1String("zh") && o->langName != QLatin1String("en")) {
        std::fprintf(stderr, "--lang must be zh or en\n");
        return false;
    }
    o->lang = TLanguage::FromName(o->langName, TLanguage::Chinese);
    o->out = p.value(QStringLiteral("out"));
    o->project = p.value(QStringLiteral("project"));
    o->profile = p.value(QStringLiteral("profile"));
    o->pages = p.values(QStringLiteral("page"));
    o->us = p.value(QStringLiteral("units")) == QLatin1String("us");
    if (p.isSet(QStringLiteral("size"))) {
        const QStringList wh = p.value(QStringLiteral("size")).split(QLatin1Char('x'));
        o->size = wh.size() == 2 ? QSize(wh[0].toInt(), wh[1].toInt()) : QSize();
    }
    if (o->out.isEmpty() || o->project.isEmpty() || o->profile.isEmpty() || o->size.isEmpty()) {
        std::fprintf(stderr, "usage: velk-screenshots --lang zh|en --out DIR [--page NAME]... "
                             "[--size WxH] --project FILE.vel --profile FILE.csv\n");
        return false;
    }
    return true;
}

// Lets timers (the pages recompute shortly after a change) and painting run
// until ready() holds, for at most timeoutMs; then a last short settle.
bool Settle(const std::function<bool()>& ready, int timeoutMs = 10000)
{
    QElapsedTimer t;
    t.start();
    while (!ready() && t.elapsed() < timeoutMs)
        QTest::qWait(20);
    QTest::qWait(300);
    return ready();
}

// The stable file name of a page of the main window.
QString PageName(QWidget* page, int index)
{
    const QString id = page->objectName();
    if (id == QLatin1String("ScrollBoxCalc")) return QStringLiteral("calc");
    if (id == QLatin1String("TabSheetConst")) return QStringLiteral("constants");
    if (id == QLatin1String("TabSheetper")) return QStringLiteral("diagram");
    if (id == QLatin1String("TabSheetCompare")) return QStringLiteral("comparison");
    if (id == QLatin1String("TabSheetCurves")) return QStringLiteral("curves");
    if (id == QLatin1String("TabSheetRating")) return QStringLiteral("rating");
    if (id == QLatin1String("TabSheetLoadCases")) return QStringLiteral("cases");
    return id.isEmpty() ? QStringLiteral("page%1").arg(index) : id.toLower();
}

// What is on the screen where the window is: under X11 the screen itself
// (with anything that covers the window), elsewhere the window's rendering.
QPixmap Picture(QWidget* window)
{
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        const QRect r = window->frameGeometry();
        return window->screen()->grabWindow(0, r.x(), r.y(), r.width(), r.height());
    }
    return window->grab();
}

bool Save(QWidget* window, const Options& o, const QString& name)
{
    const QString path = QDir(o.out).filePath(name + QLatin1Char('-') + o.langName +
                                              (o.us ? QStringLiteral("-us") : QString()) + QStringLiteral(".png"));
    if (!Picture(window).save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// Waits until the page shown has done what it does after it appears.
void WaitForPage(TFormVELK& w, QWidget* page)
{
    if (auto* compare = qobject_cast<TPackingComparisonPage*>(page)) {
        if (!Settle([compare] { return compare->RecomputeCount() > 0; }))
            std::fprintf(stderr, "the comparison did not run\n");
    } else if (auto* curves = qobject_cast<TPerformanceCurvesPage*>(page)) {
        if (!Settle([curves] { return curves->Curves() != nullptr; }))
            std::fprintf(stderr, "no performance curves: %s\n", qPrintable(curves->Status()));
    } else if (page->objectName() == QLatin1String("TabSheetper")) {
        w.MReport_PerClick(); // the toolbar's 操作性能图: computes and draws the diagram
        Settle([] { return true; });
    } else {
        Settle([] { return true; });
    }
}

// Visits every page (or the ones asked for) and writes its picture; false
// when a picture could not be written or a page asked for does not exist.
bool VisitPages(TFormVELK& w, const Options& o)
{
    QTabWidget* tabs = w.PageControlMain();
    QStringList missing = o.pages;
    bool ok = true;
    for (int i = 0; i < tabs->count(); ++i) {
        QWidget* page = tabs->widget(i);
        const QString name = PageName(page, i);
        QAbstractScrollArea* scroll = qobject_cast<QScrollArea*>(page);
        // The catalogue's end, where the user's packings are, only when asked for.
        const bool catalogueEnd = name == QLatin1String("constants") && o.pages.contains(name + QStringLiteral("-end"));
        if (catalogueEnd) scroll = page->findChild<QAbstractScrollArea*>(QStringLiteral("ListViewPTs"));
        const bool wantEnd = scroll && o.pages.contains(name + QStringLiteral("-end"));
        if (!o.pages.isEmpty() && !o.pages.contains(name) && !wantEnd) continue;
        missing.removeAll(name);
        tabs->setCurrentIndex(i);
        WaitForPage(w, page);
        if (o.pages.isEmpty() || o.pages.contains(name)) ok = Save(&w, o, name) && ok;
        // A page taller than the window: its end as well, scrolled there.
        if (scroll && scroll->verticalScrollBar()->maximum() > 0 && (o.pages.isEmpty() || wantEnd)) {
            missing.removeAll(name + QStringLiteral("-end"));
            scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
            Settle([] { return true; });
            ok = Save(&w, o, name + QStringLiteral("-end")) && ok;
            scroll->verticalScrollBar()->setValue(0);
        }
    }
    // The import dialogs over the window, as they open (not run: no simulator answers).
    const std::pair<QString, std::function<QDialog*()>> dialogs[] = {
        {QStringLiteral("import-proii"), [&w] { return new TFormProii(&w, w.Page()); }},
        {QStringLiteral("import-hysys"), [&w] { return new TFormHysys(&w, w.Page()); }}};
    for (const auto& [name, make] : dialogs) {
        if (!o.pages.isEmpty() && !o.pages.contains(name)) continue;
        missing.removeAll(name);
        std::unique_ptr<QDialog> dialog(make());
        dialog->show();
        Settle([&dialog] { return dialog->isVisible(); });
        ok = Save(dialog.get(), o, name) && ok;
    }
    for (const QString& m : missing)
        std::fprintf(stderr, "no page named %s\n", qPrintable(m));
    return ok && missing.isEmpty();
}

// Three load cases of the example's section: its own flows at 60 %, 100 %
// and 115 %, the minimum one with a liquid density of its own.
bool LoadExampleCases(TFormVELK& w, const Options& o)
{
    auto* cases = w.findChild<LoadCasesPage*>();
    if (!cases) {
        std::fprintf(stderr, "the window has no load cases page\n");
        return false;
    }
    const bool en = o.langName == QLatin1String("en");
    std::vector<LoadCase> list;
    for (auto [zh, english, k] : {std::tuple{"最小", "minimum", 0.6}, {"正常", "normal", 1.0}, {"最大", "maximum", 1.15}}) {
        LoadCase c;
        c.name = en ? english : zh;
        c.values.V = w.Page().Field("VD")->GetValue() * k;
        c.values.L = w.Page().Field("LD")->GetValue() * k;
        list.push_back(c);
    }
    list[0].values.rhoL = w.Page().Field("DlD")->GetValue() * 1.02;
    cases->SetCases(std::move(list));
    if (cases->Rating().cases.size() != 3) {
        std::fprintf(stderr, "the load cases were not rated\n");
        return false;
    }
    return true;
}

// The example as a user would set it up: the project opened, the column
// profile imported on the rating page and rated.
bool LoadExample(TFormVELK& w, const Options& o)
{
    w.MFile_OpenClick(o.project);
    if (w.CurrentFileName().isEmpty()) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(o.project));
        return false;
    }
    auto* rating = w.findChild<ColumnRatingPage*>();
    if (!rating) {
        std::fprintf(stderr, "the window has no column rating page\n");
        return false;
    }
    rating->ChooseColumn = [](const QStringList&) { return 0; }; // the first column of the file
    if (!rating->ImportCsv(o.profile)) {
        std::fprintf(stderr, "cannot import %s\n", qPrintable(o.profile));
        return false;
    }
    if (!Settle([rating] { return !rating->RatingInProgress(); }, 60000)) {
        std::fprintf(stderr, "the column rating did not finish\n");
        return false;
    }
    // As a user chooses it (the choice goes to the option file: run with a
    // scratch XDG_CONFIG_HOME).
    if (o.us) w.findChild<QAction*>(QStringLiteral("MUnitSystem_US"))->trigger();
    return LoadExampleCases(w, o);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Options o;
    if (!ParseOptions(QApplication::arguments(), &o)) return 2;
    if (!QDir().mkpath(o.out)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(o.out));
        return 1;
    }
    // As the program sets itself up before its first window.
    InstallFontSubstitutes();
    QFont font(DefaultUiFamily());
    font.setPixelSize(12);
    QApplication::setFont(font);
    QApplication::setApplicationName(QStringLiteral("velk"));
    if (!TLanguage::Apply(o.lang)) std::fprintf(stderr, "a translation file of %s is missing\n", qPrintable(o.langName));
    TRetranslator retranslator;
    TWheelGuard::InstallOnApplication();
    TMessageBoxFit::InstallOnApplication();

    StderrSink sink;
    ScopedMessageSink scope(&sink);
    MyXlsInitialization();
    InitSimulatorImport();
    int rc = 1;
    {
        TFormVELK window;
        window.SetPrompts(std::make_unique<SilentPrompts>());
        // The whole screen, as a maximised window on a desktop without panels.
        window.setGeometry(QRect(QPoint(0, 0), o.size));
        window.show();
        if (QTest::qWaitForWindowExposed(&window) && LoadExample(window, o) && VisitPages(window, o))
            rc = 0;
    }
    MyXlsFinalization();
    if (sink.count > 0) std::fprintf(stderr, "%d message(s) shown while taking the pictures\n", sink.count);
    return rc;
}
