// Help for the controls of a window: F1 and What's-this on numbered controls,
// the hint window and its Pause, help numbers that open topics or pop-ups of
// the compiled help file, and the maker's addresses.
#include "ApplicationHelp.h"
#include "ApplicationHelpHint.h"
#include "HtmlHelp.h"
#include "HtmlHelpViewer.h"
#include "Language.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>
#include <QWhatsThis>
#include <QtTest>

namespace
{

const QString HelpFile = QStringLiteral(VELK_BINARY_DIR "/bin/VELKHelp.chm");
const QString EnglishHelpFile = QStringLiteral(VELK_BINARY_DIR "/bin/VELKHelp_en.chm");
const QString DlfHint = QStringLiteral("计算传质时需要填写此数据,只计算塔径不必填写.");
const QString PctHint = QStringLiteral("通常在50%到80%之间。激进的设置可达90%");

// The topic the help project maps a context number to.
QString ProjectTopic(int id)
{
    QFile f(QStringLiteral(VELK_SOURCE_DIR "/help/VELKHelp.hhp"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QString hhp = QString::fromUtf8(f.readAll());
    const auto def = QRegularExpression(QStringLiteral("^#define (IDH_\\w+) %1$").arg(id),
                                        QRegularExpression::MultilineOption)
                         .match(hhp);
    const auto alias = QRegularExpression(QStringLiteral("^%1=(\\S+)$").arg(def.captured(1)),
                                          QRegularExpression::MultilineOption)
                           .match(hhp);
    return QLatin1Char('/') + alias.captured(1);
}

// A window standing in for the main window, with numbered and plain controls.
class Window : public QWidget
{
public:
    Window()
    {
        auto* l = new QVBoxLayout(this);
        plain = new QLineEdit;
        plain->setObjectName(QStringLiteral("UfMD"));
        TApplicationHelp::SetControlHelp(plain, 0, QStringLiteral("3 种算法结果存在差异。"));
        dlf = new QLineEdit;
        dlf->setObjectName(QStringLiteral("DlfD"));
        TApplicationHelp::SetControlHelp(dlf, 1, DlfHint);
        pct = new QComboBox;
        pct->setEditable(true);
        pct->addItems({QStringLiteral("80"), QStringLiteral("75")});
        TApplicationHelp::SetControlHelp(pct, 12, PctHint);
        topic = new QLineEdit;
        TApplicationHelp::SetControlHelp(topic, 1007, QStringLiteral("not shown"));
        popup = new QLineEdit;
        TApplicationHelp::SetControlHelp(popup, 2001, QString());
        keyword = new QLineEdit;
        TApplicationHelp::SetControlHelp(keyword, 5, QStringLiteral("hint of a keyword control"));
        TApplicationHelp::SetHelpKeyword(keyword, QStringLiteral("HETP"));
        noHint = new QLineEdit;
        TApplicationHelp::SetControlHelp(noHint, 7, QString());
        for (QWidget* w :
             {static_cast<QWidget*>(plain), static_cast<QWidget*>(dlf), static_cast<QWidget*>(pct),
              static_cast<QWidget*>(topic), static_cast<QWidget*>(popup), static_cast<QWidget*>(keyword),
              static_cast<QWidget*>(noHint)})
            l->addWidget(w);
        move(40, 40);
    }
    int f1Seen = 0;
    QLineEdit *plain, *dlf, *topic, *popup, *keyword, *noHint;
    QComboBox* pct;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->key() == Qt::Key_F1) ++f1Seen;
    }
};

class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

} // namespace

class AppHelpTest : public QObject
{
    Q_OBJECT
    Window* win = nullptr;
    TApplicationHelp* help = nullptr;

private slots:
    void init()
    {
        win = new Window;
        help = new TApplicationHelp(win);
        help->setHelpFileName(HelpFile);
        win->show();
        QVERIFY(QTest::qWaitForWindowExposed(win));
    }
    void cleanup()
    {
        THtmlHelp::CloseAll();
        if (QWhatsThis::inWhatsThisMode()) QWhatsThis::leaveWhatsThisMode();
        delete win;
    }

    void defaults()
    {
        QVERIFY(help->IncludeHint());
        QCOMPARE(help->ShowModal(), TApplicationHelp::smHint);
        QCOMPARE(help->Pause(), 1000);
        QVERIFY(!help->HintTimer()->isActive());
    }

    void f1OnANumberedControlShowsItsHintAsAPopup()
    {
        help->setShowModal(TApplicationHelp::smHelp);
        win->dlf->setFocus();
        QTest::keyClick(win->dlf, Qt::Key_F1);
        THtmlHelpPopup* p = THtmlHelp::Popup();
        QVERIFY(p && p->isVisible());
        QCOMPARE(p->text(), DlfHint);
        QCOMPARE(p->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(p->palette().color(QPalette::Window), QColor(255, 255, 0));
        // Just below the control.
        QCOMPARE(p->pos(), win->dlf->mapToGlobal(QPoint(0, win->dlf->height())));
        QCOMPARE(help->CHint(), DlfHint);
        QCOMPARE(help->HelpContext(), 1);
        QCOMPARE(help->HelpType(), TApplicationHelp::htContext);
        QCOMPARE(help->LastControl(), win->dlf);
        QCOMPARE(win->f1Seen, 0); // answered here, not by the window
        QVERIFY(!help->HintWindow()->isVisible());

        // Inside an editable combo box the key reaches its line edit first.
        p->close();
        win->pct->lineEdit()->setFocus();
        QTest::keyClick(win->pct->lineEdit(), Qt::Key_F1);
        QVERIFY(THtmlHelp::Popup()->isVisible());
        QCOMPARE(THtmlHelp::Popup()->text(), PctHint);
        QCOMPARE(help->HelpContext(), 12);
    }

    void f1OnAControlWithoutNumberIsLeftToTheWindow()
    {
        help->setShowModal(TApplicationHelp::smHelp);
        win->plain->setFocus();
        QTest::keyClick(win->plain, Qt::Key_F1);
        QVERIFY(!THtmlHelp::Popup() || !THtmlHelp::Popup()->isVisible());
        QCOMPARE(win->f1Seen, 1);
        QCOMPARE(help->HelpContext(), 0);
        // Other keys are never touched.
        win->dlf->setFocus();
        QTest::keyClick(win->dlf, Qt::Key_5);
        QCOMPARE(win->dlf->text(), QStringLiteral("5"));
    }

    void hintWindowDisappearsAfterPause()
    {
        help->setShowModal(TApplicationHelp::smHint);
        help->setPause(3000);
        win->dlf->setFocus();
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(win->dlf, Qt::Key_F1);
        THintWindow* hint = help->HintWindow();
        QVERIFY(hint->isVisible());
        QCOMPARE(hint->text(), DlfHint);
        QVERIFY(!THtmlHelp::Popup() || !THtmlHelp::Popup()->isVisible());
        // Raised by the control's height from the pop-up position: over the control.
        QCOMPARE(hint->geometry().topLeft(), win->dlf->mapToGlobal(QPoint(0, 0)));
        QVERIFY(hint->width() <= 300);
        QVERIFY(help->HintTimer()->isActive());
        QTest::qWait(1500);
        QVERIFY(hint->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!hint->isVisible(), 5000);
        QVERIFY(clock.elapsed() >= 2990);
        QVERIFY(!help->HintTimer()->isActive());
    }

    void requestsByCommandAndNumber()
    {
        help->setShowModal(TApplicationHelp::smHelp);
        // The position travels as two signed 16-bit halves.
        QVERIFY(!help->HelpRequest(TApplicationHelp::HELP_SETPOPUP_POS,
                                   TApplicationHelp::PackPopupPos({-5, 300})));
        QCOMPARE(help->PopupPosition(), QPoint(-5, 300));
        QVERIFY(!help->HelpRequest(TApplicationHelp::HELP_SETPOPUP_POS, (qint64(77) << 16) | 12));
        QCOMPARE(help->PopupPosition(), QPoint(12, 77));
        QVERIFY(help->HelpRequest(TApplicationHelp::HELP_CONTEXTPOPUP, 12));
        QCOMPARE(THtmlHelp::Popup()->text(), PctHint);
        QCOMPARE(THtmlHelp::Popup()->pos(), QPoint(12, 77));

        QVERIFY(!help->HelpRequest(TApplicationHelp::HELP_CONTEXTPOPUP, 999)); // nobody has it
        QVERIFY(!help->HelpRequest(TApplicationHelp::HELP_CONTEXTPOPUP, 0));   // "no help" is not a number
        QVERIFY(!help->HelpRequest(TApplicationHelp::HELP_CONTEXTPOPUP, 7));   // numbered, but no hint
        QCOMPARE(help->HelpContext(), 7);
        help->setIncludeHint(false);
        QVERIFY(!help->HelpRequest(TApplicationHelp::HELP_CONTEXTPOPUP, 1));
        QCOMPARE(help->CHint(), DlfHint);
    }

    void numbersThatOpenTheHelpFile()
    {
        // 1000-1999: the topic of that number.
        QVERIFY(help->HelpRequest(TApplicationHelp::HELP_CONTEXT, 1007));
        THtmlHelpViewer* v = THtmlHelp::Viewer();
        QVERIFY(v && v->isVisible());
        QCOMPARE(v->CurrentTopic(), ProjectTopic(1007));
        // 2000 and more: the help file's own pop-up.
        help->HelpRequest(TApplicationHelp::HELP_SETPOPUP_POS, TApplicationHelp::PackPopupPos({30, 40}));
        QVERIFY(help->HelpRequest(TApplicationHelp::HELP_CONTEXTPOPUP, 2001));
        QVERIFY(THtmlHelp::Popup()->isVisible());
        QVERIFY(THtmlHelp::Popup()->text().startsWith(QStringLiteral("流动参数")));
        // Keyword controls open the index.
        QVERIFY(help->HelpRequest(TApplicationHelp::HELP_CONTEXTPOPUP, 5));
        QCOMPARE(help->HelpType(), TApplicationHelp::htKeyword);
        QCOMPARE(v->CurrentTopic(), ProjectTopic(34)); // the HETP topic
        // The contents command opens the default topic.
        help->ShowHelpContents();
        QCOMPARE(v->CurrentTopic(), QStringLiteral("/index.htm"));
    }

    void helpFileNameResolution()
    {
        QTemporaryDir dir;
        const QString old = QDir::currentPath();
        QDir::setCurrent(dir.path());
        help->setHelpFileName(QStringLiteral("VELKHelp.chm"));
        QCOMPARE(help->ResolvedHelpFile(),
                 QCoreApplication::applicationDirPath() + QStringLiteral("/VELKHelp.chm"));
        QFile here(dir.filePath(QStringLiteral("VELKHelp.chm")));
        QVERIFY(here.open(QIODevice::WriteOnly));
        here.close();
        QCOMPARE(help->ResolvedHelpFile(), QFileInfo(here).absoluteFilePath());
        QDir::setCurrent(old);
        help->setHelpFileName(QString());
        QVERIFY(help->ResolvedHelpFile().isEmpty());
        // Without a file the contents command still opens the viewer, which says so.
        help->ShowHelpContents();
        QVERIFY(THtmlHelp::Viewer()->Browser()->toPlainText().contains(QStringLiteral("无法打开帮助文件")));
    }

    void editionFollowsTheInterfaceLanguage()
    {
        QCOMPARE(TApplicationHelp::EnglishEdition(QStringLiteral("VELKHelp.chm")), QStringLiteral("VELKHelp_en.chm"));
        QCOMPARE(TApplicationHelp::EnglishEdition(QStringLiteral("/a.b/help")), QStringLiteral("/a.b/help_en"));
        QCOMPARE(TApplicationHelp::EnglishEdition(QStringLiteral("d/x.y.chm")), QStringLiteral("d/x.y_en.chm"));

        const TLanguage::Lang before = TLanguage::Current();
        const auto restore = qScopeGuard([before] { TLanguage::Apply(before); });
        TLanguage::Apply(TLanguage::English);
        QCOMPARE(help->ResolvedHelpFile(), QFileInfo(EnglishHelpFile).absoluteFilePath());
        // The same context number opens the same topic, in the English file.
        QVERIFY(help->HelpRequest(TApplicationHelp::HELP_CONTEXT, 1007));
        THtmlHelpViewer* v = THtmlHelp::Viewer();
        QCOMPARE(v->Chm().Lcid(), 0x409u);
        QCOMPARE(v->CurrentTopic(), ProjectTopic(1007));
        QVERIFY(v->Browser()->toPlainText().contains(QStringLiteral("Flooding methods")));
        // Named as the main window names it: the English edition where it is
        // found, else the Chinese file.
        QTemporaryDir dir;
        const QString old = QDir::currentPath();
        const auto back = qScopeGuard([old] { QDir::setCurrent(old); });
        QDir::setCurrent(dir.path());
        help->setHelpFileName(QStringLiteral("VELKHelp.chm"));
        QVERIFY(QFile::copy(HelpFile, dir.filePath(QStringLiteral("VELKHelp.chm"))));
        QCOMPARE(help->ResolvedHelpFile(), QFileInfo(dir.filePath(QStringLiteral("VELKHelp.chm"))).absoluteFilePath());
        help->ShowHelpContents();
        QCOMPARE(v->Chm().Lcid(), 0x804u);
        QVERIFY(QFile::copy(EnglishHelpFile, dir.filePath(QStringLiteral("VELKHelp_en.chm"))));
        QCOMPARE(help->ResolvedHelpFile(), QFileInfo(dir.filePath(QStringLiteral("VELKHelp_en.chm"))).absoluteFilePath());
        help->ShowHelpContents();
        QCOMPARE(v->Chm().Lcid(), 0x409u);
        QCOMPARE(v->CurrentTopic(), QStringLiteral("/index.htm"));

        // The Chinese interface keeps the Chinese file with the English one beside it.
        TLanguage::Apply(TLanguage::Chinese);
        QCOMPARE(help->ResolvedHelpFile(), QFileInfo(dir.filePath(QStringLiteral("VELKHelp.chm"))).absoluteFilePath());
        help->ShowHelpContents();
        QCOMPARE(v->Chm().Lcid(), 0x804u);
    }

    void whatsThisClickExplainsTheControl()
    {
        help->setShowModal(TApplicationHelp::smHelp);
        help->WhatsThis();
        QVERIFY(QWhatsThis::inWhatsThisMode());
        const QPoint at(5, 4);
        QTest::mouseClick(win->dlf, Qt::LeftButton, {}, at);
        QVERIFY(THtmlHelp::Popup() && THtmlHelp::Popup()->isVisible());
        QCOMPARE(THtmlHelp::Popup()->text(), DlfHint);
        QCOMPARE(help->PopupPosition(), win->dlf->mapToGlobal(at));
        QTRY_VERIFY(!QWhatsThis::inWhatsThisMode());
        QVERIFY(win->dlf->text().isEmpty());
    }

    void makerAddresses()
    {
        UrlCatcher web, mail;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &web, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &mail, "open");
        QVERIFY(MHelp_URLClick());
        QVERIFY(MHelp_EmailClick());
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        QCOMPARE(web.urls.size(), 1);
        QCOMPARE(mail.urls.size(), 1);
        QVERIFY(web.urls[0].isValid() && !web.urls[0].host().isEmpty());
        QVERIFY(mail.urls[0].path().contains(QLatin1Char('@')));
    }
};

QTEST_MAIN(AppHelpTest)
#include "apphelp_qtest.moc"
