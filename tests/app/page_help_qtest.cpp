// F1 on a page added to the window, or on an option added to the
// calculation page, opens that page's or option's help topic, in the help
// file of the interface language, whose title names it.
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include "ApplicationHelp.h"
#include "HtmlHelp.h"
#include "HtmlHelpViewer.h"
#include "Language.h"
#include "Messages.h"
#include "UnitMain.h"

Q_DECLARE_METATYPE(TLanguage::Lang)

class PageHelpTest : public QObject
{
    Q_OBJECT
    QTemporaryDir tmp;
    RecordingSink sink;

    // A widget of the page or option `where` names: a tab's text, or an object name.
    static QWidget* Target(TFormVELK& w, const QString& where)
    {
        QTabWidget* tabs = w.PageControlMain();
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->tabText(i) == TLanguage::Tr(where.toUtf8().constData())) {
                tabs->setCurrentIndex(i);
                QWidget* page = tabs->widget(i);
                // Any control of the page, else the page itself.
                for (QWidget* c : page->findChildren<QWidget*>())
                    if (c->focusPolicy() != Qt::NoFocus && c->isVisibleTo(page)) return c;
                return page;
            }
        QWidget* named = w.findChild<QWidget*>(where);
        // A control of another tab: that tab is shown first.
        for (QWidget* p = named; p; p = p->parentWidget())
            if (const int i = tabs->indexOf(p); i >= 0) tabs->setCurrentIndex(i);
        return named;
    }

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", tmp.path().toUtf8());
        SetMessageSink(&sink);
    }
    void cleanupTestCase()
    {
        THtmlHelp::CloseAll();
        SetMessageSink(nullptr);
        TLanguage::Apply(TLanguage::Chinese);
    }

    void f1OpensTheTopicOfItsPage_data()
    {
        QTest::addColumn<TLanguage::Lang>("lang");
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("title");
        const struct {
            const char *where, *topic, *zh, *en;
        } rows[] = {
            {"工况校核", "/cases.htm", "工况校核", "Load cases"},
            {"塔设计", "/column.htm", "塔设计", "Column design"},
            {"塔段校核", "/rating.htm", "塔段校核", "Column rating"},
            {"填料比较", "/comparison.htm", "填料比较", "Packing comparison"},
            {"填料性能曲线", "/curves.htm", "填料性能曲线", "Packing performance"},
            {"CBConservative", "/conservative.htm", "最保守泛点", "Most conservative flood point"},
            {"DesignBasisD", "/basis.htm", "设计基准", "Design basis"},
            {"DpLimitD", "/basis.htm", "设计基准", "Design basis"},
            {"MUnitSystem", "/unitsystem.htm", "单位制", "Unit system"},
            {"DesignHetpD", "/efficiency.htm", "传质模型和设计等板高度",
             "Mass-transfer models and the design HETP"},
            {"BUserPackingsFile", "/userpackings.htm", "用户填料库", "User packings"},
            {"BUserPackingAdd", "/userpackings.htm", "用户填料库", "User packings"},
        };
        for (const auto& r : rows) {
            QTest::addRow("%s, zh", r.where) << TLanguage::Chinese << QString::fromUtf8(r.where)
                                             << QString::fromLatin1(r.topic) << QString::fromUtf8(r.zh);
            QTest::addRow("%s, en", r.where) << TLanguage::English << QString::fromUtf8(r.where)
                                             << QString::fromLatin1(r.topic) << QString::fromUtf8(r.en);
        }
    }
    void f1OpensTheTopicOfItsPage()
    {
        QFETCH(TLanguage::Lang, lang);
        QFETCH(QString, where);
        QFETCH(QString, topic);
        QFETCH(QString, title);
        TLanguage::Apply(lang);
        TFormVELK w;
        w.findChild<TApplicationHelp*>()->setHelpFileName(
            QStringLiteral(VELK_BINARY_DIR "/bin/VELKHelp.chm"));
        w.resize(1366, 768);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QWidget* target = Target(w, where);
        QVERIFY2(target, qPrintable(where));
        QApplication::processEvents();
        QTest::keyClick(target, Qt::Key_F1);
        THtmlHelpViewer* v = THtmlHelp::Viewer();
        QVERIFY(v && v->isVisible());
        QCOMPARE(v->CurrentTopic(), topic);
        QCOMPARE(v->Chm().Lcid(), lang == TLanguage::English ? 0x409u : 0x804u);
        QVERIFY2(v->Browser()->toPlainText().startsWith(title),
                 qPrintable(v->Browser()->toPlainText().left(80)));
        THtmlHelp::CloseAll();
    }
};

QTEST_MAIN(PageHelpTest)
#include "page_help_qtest.moc"
