// The compiled help file built with the program, read back through libchm and
// shown in our viewer. Expected values come from the help sources in help/.
#include "ChmFile.h"
#include "ChmSitemap.h"
#include "HtmlHelp.h"
#include "HtmlHelpViewer.h"

#include <QDesktopServices>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextTable>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest>

namespace
{

const QString HelpFile = QStringLiteral(VELK_BINARY_DIR "/bin/VELKHelp.chm");
const QString EnglishHelpFile = QStringLiteral(VELK_BINARY_DIR "/bin/VELKHelp_en.chm");
const QString HelpSources = QStringLiteral(VELK_SOURCE_DIR "/help");

QString Source(const QString& name)
{
    QFile f(HelpSources + QLatin1Char('/') + name);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

// Context number -> topic file, read from the [MAP] and [ALIAS] sections of the project.
QMap<quint32, QString> ProjectContextMap()
{
    const QString hhp = Source(QStringLiteral("VELKHelp.hhp"));
    QMap<QString, QString> alias;
    QRegularExpression aliasRe(QStringLiteral("^(IDH_\\w+)=(\\S+)$"), QRegularExpression::MultilineOption);
    for (auto it = aliasRe.globalMatch(hhp); it.hasNext();) {
        const auto m = it.next();
        alias.insert(m.captured(1), m.captured(2));
    }
    QMap<quint32, QString> map;
    QRegularExpression defRe(QStringLiteral("^#define (IDH_\\w+) (\\d+)$"),
                             QRegularExpression::MultilineOption);
    for (auto it = defRe.globalMatch(hhp); it.hasNext();) {
        const auto m = it.next();
        map.insert(m.captured(2).toUInt(), alias.value(m.captured(1)));
    }
    return map;
}

QString TitleOf(const QString& page)
{
    const auto m = QRegularExpression(QStringLiteral("<title>(.*)</title>")).match(Source(page));
    return m.captured(1);
}

// Han ideographs, CJK punctuation and kana, full-width forms, and the curly
// quotes the Chinese texts use: none of them belongs in the English edition.
bool HasCjk(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x2E80 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFF00 && u <= 0xFFEF) ||
            u == 0x201C || u == 0x201D)
            return true;
    }
    return false;
}

// The topics the compiled contents file of a help file points to, in order.
QStringList ContentsTopics(const TChmFile& chm)
{
    QStringList topics;
    const auto items = TChmSitemap::Parse(chm.DecodeText(chm.Read(chm.ContentsFile()).value_or(QByteArray())));
    for (const auto& [depth, item] : TChmSitemap::Flatten(items))
        topics << item->Locals;
    return topics;
}

class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

} // namespace

class HtmlHelpTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { THtmlHelp::CloseAll(); }

    void compiledFileCarriesProjectSettings()
    {
        TChmFile chm;
        QVERIFY2(chm.Open(HelpFile), qPrintable(HelpFile));
        const QString hhp = Source(QStringLiteral("VELKHelp.hhp"));
        const QString title =
            QRegularExpression(QStringLiteral("^Title=(.*)$"), QRegularExpression::MultilineOption)
                .match(hhp)
                .captured(1);
        QVERIFY(!title.isEmpty());
        QCOMPARE(chm.Title(), title); // stored in GBK, decoded through the language
        QCOMPARE(chm.Lcid(), 0x804u);
        QCOMPARE(chm.DefaultTopic(), QStringLiteral("index.htm"));
        QCOMPARE(chm.ContentsFile(), QStringLiteral("VELKHelp.hhc"));
        QVERIFY(chm.Exists(QStringLiteral("/diagram.png")));
        QVERIFY(chm.Exists(QStringLiteral("INDEX.HTM"))); // letter case does not matter
        QVERIFY(!chm.Exists(QStringLiteral("/nothing.htm")));

        const auto expected = ProjectContextMap();
        QVERIFY(expected.size() >= 11);
        for (quint32 id : {1u, 2u, 11u, 12u, 21u, 22u, 23u, 31u, 32u, 33u, 34u})
            QVERIFY2(expected.contains(id), qPrintable(QString::number(id)));
        QCOMPARE(chm.ContextMap().size(), expected.size());
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QCOMPARE(chm.TopicForContext(it.key()), QLatin1Char('/') + it.value());
        QVERIFY(chm.TopicForContext(999).isEmpty());

        // Objects come back byte for byte.
        QFile png(HelpSources + QStringLiteral("/diagram.png"));
        QVERIFY(png.open(QIODevice::ReadOnly));
        QCOMPARE(chm.Read(QStringLiteral("diagram.png")).value_or(QByteArray()), png.readAll());
    }

    void englishEditionMirrorsTheChinese()
    {
        TChmFile zh, en;
        QVERIFY2(zh.Open(HelpFile), qPrintable(HelpFile));
        QVERIFY2(en.Open(EnglishHelpFile), qPrintable(EnglishHelpFile));
        QCOMPARE(en.Lcid(), 0x409u);
        QCOMPARE(en.Title(), QStringLiteral("Structured Packing Column Hydraulics Help"));
        QCOMPARE(en.DefaultTopic(), zh.DefaultTopic());
        // The same numbers open the same topics, so the program needs no second table.
        QCOMPARE(en.ContextMap(), zh.ContextMap());
        for (quint32 id : {1015u, 1016u, 1017u, 1018u})
            QVERIFY2(!zh.TopicForContext(id).isEmpty(), qPrintable(QString::number(id)));

        // Both contents list the same topics in the same order, and every one is in both files.
        const QStringList topics = ContentsTopics(zh);
        QCOMPARE(ContentsTopics(en), topics);
        for (const char* page : {"operation.htm", "comparison.htm", "curves.htm", "rating.htm"})
            QVERIFY2(topics.contains(QString::fromLatin1(page)), page);
        for (const QString& t : topics) {
            QVERIFY2(zh.Exists(t), qPrintable(t));
            QVERIFY2(en.Exists(t), qPrintable(t));
        }
        QCOMPARE(en.TextPopup(2001).has_value(), zh.TextPopup(2001).has_value());

        // Every text of the English file, pages, contents, index and pop-ups, is free of Chinese.
        int texts = 0;
        for (const QString& o : en.Objects()) {
            if (!o.contains(QRegularExpression(QStringLiteral("\\.(htm|hhc|hhk|txt|css)$")))) continue;
            const QByteArray bytes = en.Read(o).value_or(QByteArray());
            const QString text = o.endsWith(QLatin1String(".htm")) ? en.DecodeHtml(bytes) : en.DecodeText(bytes);
            QVERIFY2(!text.isEmpty(), qPrintable(o));
            QVERIFY2(!HasCjk(text), qPrintable(o));
            ++texts;
        }
        QVERIFY(texts >= topics.size());
        QVERIFY(HasCjk(zh.DecodeHtml(zh.Read(QStringLiteral("/operation.htm")).value_or(QByteArray()))));
    }

    void newTopicsRenderInBothEditions_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("title");
        QTest::newRow("zh operation") << HelpFile << QStringLiteral("operation.htm") << QStringLiteral("操作核算");
        QTest::newRow("zh rating") << HelpFile << QStringLiteral("rating.htm") << QStringLiteral("塔段校核");
        QTest::newRow("en operation") << EnglishHelpFile << QStringLiteral("operation.htm") << QStringLiteral("Operating check");
        QTest::newRow("en comparison") << EnglishHelpFile << QStringLiteral("comparison.htm") << QStringLiteral("Packing comparison");
        QTest::newRow("en curves") << EnglishHelpFile << QStringLiteral("curves.htm") << QStringLiteral("Packing performance");
        QTest::newRow("en rating") << EnglishHelpFile << QStringLiteral("rating.htm") << QStringLiteral("Column rating");
    }
    void newTopicsRenderInBothEditions()
    {
        QFETCH(QString, file);
        QFETCH(QString, page);
        QFETCH(QString, title);
        THtmlHelpViewer* v = THtmlHelp::DisplayTopic(nullptr, file, page);
        QVERIFY(v && v->IsOpen());
        QCOMPARE(v->Browser()->documentTitle(), title);
        const QTextBlock heading = v->Browser()->document()->begin();
        QCOMPARE(heading.text(), title);
        QCOMPARE(heading.charFormat().foreground().color(), QColor(0x00, 0x33, 0x99)); // the shared help.css
        // Its contents entry is selected, so the page is reachable from the tree.
        QVERIFY(v->ContentsTree()->currentItem());
        QCOMPARE(v->ContentsTree()->currentItem()->text(0), title);
        // Tables of fields and warnings came through as tables.
        QTextFrame* root = v->Browser()->document()->rootFrame();
        bool hasTable = false;
        for (auto it = root->begin(); !it.atEnd(); ++it)
            hasTable = hasTable || qobject_cast<QTextTable*>(it.currentFrame());
        QVERIFY(hasTable);
    }

    void textPopupsComeFromThePopupFile()
    {
        TChmFile chm;
        QVERIFY(chm.Open(HelpFile));
        const QString src = Source(QStringLiteral("cshelp.txt"));
        const auto m = QRegularExpression(QStringLiteral("\\.topic 2002\\n(.*?)\\n\\s*\\n")).match(src);
        QVERIFY(m.hasMatch());
        QCOMPARE(chm.TextPopup(2002).value_or(QString()), m.captured(1).trimmed());
        QVERIFY(!chm.TextPopup(2999));

        THHPopup look;
        look.pt = QPoint(120, 80);
        look.clrForeground = QColor(255, 0, 0);
        look.clrBackground = QColor(255, 255, 0);
        THtmlHelpPopup* popup = THtmlHelp::DisplayTextPopup(nullptr, HelpFile, 2002, look);
        QVERIFY(popup);
        QVERIFY(popup->isVisible());
        QCOMPARE(popup->text(), m.captured(1).trimmed());
        QCOMPARE(popup->pos(), QPoint(120, 80));
        QCOMPARE(popup->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(popup->palette().color(QPalette::Window), QColor(255, 255, 0));
        QVERIFY(popup->width() <= THtmlHelpPopup::MaxWidth);
        QTest::keyClick(popup, Qt::Key_A);
        QVERIFY(!popup->isVisible());
        QVERIFY(!THtmlHelp::DisplayTextPopup(nullptr, HelpFile, 2999, look));
    }

    void viewerOpensContextTopics()
    {
        for (quint32 id : {12u, 34u, 1007u}) {
            THtmlHelpViewer* v = THtmlHelp::HelpContext(nullptr, HelpFile, id);
            QVERIFY(v && v->isVisible());
            const QString file = ProjectContextMap().value(id);
            QCOMPARE(v->CurrentTopic(), QLatin1Char('/') + file);
            QCOMPARE(v->Browser()->documentTitle(), TitleOf(file));
            QVERIFY(v->Browser()->toPlainText().contains(TitleOf(file)));
        }
        // The same window serves every request.
        THtmlHelpViewer* first = THtmlHelp::Viewer();
        QCOMPARE(THtmlHelp::HelpContext(nullptr, HelpFile, 1), first);
        QVERIFY(first->Browser()->toPlainText().contains(QStringLiteral("计算传质时需要填写此数据")));
        // A number the file does not know is reported in the viewer.
        QVERIFY(!first->ShowContext(4321));
        QVERIFY(first->Browser()->toPlainText().contains(QStringLiteral("4321")));
    }

    void topicsTakeStyleAndPicturesFromTheFile()
    {
        THtmlHelpViewer* v = THtmlHelp::DisplayTopic(nullptr, HelpFile, QStringLiteral("diagram.htm"));
        QTextDocument* doc = v->Browser()->document();
        // help.css colours the headings.
        const QTextBlock heading = doc->begin();
        QCOMPARE(heading.text(), TitleOf(QStringLiteral("diagram.htm")));
        QCOMPARE(heading.charFormat().foreground().color(), QColor(0x00, 0x33, 0x99));
        // The picture is decoded from the file's bytes.
        QImage expected(HelpSources + QStringLiteral("/diagram.png"));
        QVERIFY(!expected.isNull());
        const QVariant res = doc->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("diagram.png")));
        QImage shown;
        if (res.canConvert<QImage>()) shown = res.value<QImage>();
        if (shown.isNull()) shown = QImage::fromData(res.toByteArray());
        QCOMPARE(shown.size(), expected.size());

        // Default topic and relative links.
        THtmlHelp::DisplayTopic(nullptr, HelpFile);
        QCOMPARE(v->CurrentTopic(), QStringLiteral("/index.htm"));
        emit v->Browser()->anchorClicked(QUrl(QStringLiteral("flooding.htm")));
        QCOMPARE(v->CurrentTopic(), QStringLiteral("/flooding.htm"));
        QVERIFY(v->Browser()->toPlainText().contains(QStringLiteral("Billet")));
    }

    void webLinksGoToTheDesktop()
    {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        THtmlHelpViewer* v = THtmlHelp::DisplayTopic(nullptr, HelpFile, QStringLiteral("index.htm"));
        emit v->Browser()->anchorClicked(QUrl(QStringLiteral("https://velk.example.org/x")));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(v->CurrentTopic(), QStringLiteral("/index.htm"));
    }

    void contentsAndIndex()
    {
        THtmlHelpViewer* v = THtmlHelp::DisplayTopic(nullptr, HelpFile);
        // Every contents entry of the source appears once in the tree.
        const QString hhc = Source(QStringLiteral("VELKHelp.hhc"));
        const int entries = int(hhc.count(QStringLiteral("type=\"text/sitemap\"")));
        int items = 0;
        QTreeWidgetItem* flooding = nullptr;
        for (QTreeWidgetItemIterator it(v->ContentsTree()); *it; ++it) {
            ++items;
            if ((*it)->text(0) == QStringLiteral("泛点算法")) flooding = *it;
        }
        QCOMPARE(items, entries);
        QVERIFY(flooding);
        v->ContentsTree()->setCurrentItem(flooding);
        QCOMPARE(v->CurrentTopic(), QStringLiteral("/flooding.htm"));
        // Showing a topic selects its entry.
        v->ShowTopic(QStringLiteral("h_hetp.htm"));
        QCOMPARE(v->ContentsTree()->currentItem()->text(0), QStringLiteral("HETP(等板高度)"));

        QVERIFY(THtmlHelp::DisplayIndex(nullptr, HelpFile, QStringLiteral("HETP")));
        QCOMPARE(v->Tabs()->currentIndex(), 1);
        QCOMPARE(v->CurrentTopic(), QStringLiteral("/h_hetp.htm"));
        QVERIFY(v->ShowIndex(QStringLiteral("泛点预设")));
        QCOMPARE(v->CurrentTopic(), QStringLiteral("/h_fpercent.htm"));
        // A keyword prefix only selects; nothing unknown is shown.
        QVERIFY(!v->ShowIndex(QStringLiteral("HTU")));
        QCOMPARE(v->IndexList()->currentItem()->text().trimmed().left(3), QStringLiteral("HTU"));
        QCOMPARE(v->CurrentTopic(), QStringLiteral("/h_fpercent.htm"));
        QVERIFY(!v->ShowIndex(QStringLiteral("没有这个词")));
    }

    void missingAndDamagedFiles()
    {
        QTemporaryDir dir;
        THtmlHelpViewer* v = THtmlHelp::HelpContext(nullptr, dir.filePath(QStringLiteral("none.chm")), 1);
        QVERIFY(!v->IsOpen());
        QVERIFY(v->Browser()->toPlainText().contains(QStringLiteral("无法打开帮助文件")));

        QFile real(HelpFile);
        QVERIFY(real.open(QIODevice::ReadOnly));
        const QByteArray bytes = real.readAll();
        auto write = [&](const QString& name, const QByteArray& data) {
            QFile f(dir.filePath(name));
            f.open(QIODevice::WriteOnly);
            f.write(data);
            return f.fileName();
        };
        TChmFile chm;
        QVERIFY(!chm.Open(write(QStringLiteral("text.chm"), QByteArray(5000, 'x'))));
        QVERIFY(!chm.Open(dir.path())); // a directory
        QVERIFY(!chm.Open(write(QStringLiteral("empty.chm"), QByteArray())));
        // Cut files and files with garbage in the middle open or fail, never crash.
        for (int cut : {0x60, 0x200, int(bytes.size() / 2), int(bytes.size() - 100)}) {
            const QString f = write(QStringLiteral("cut%1.chm").arg(cut), bytes.left(cut));
            if (chm.Open(f)) {
                for (const QString& o : chm.Objects())
                    chm.Read(o);
                chm.TextPopup(2001);
            }
        }
        QByteArray noisy = bytes;
        for (qsizetype i = bytes.size() / 3; i < bytes.size() / 3 + 64; ++i)
            noisy[i] = char(0xA5);
        if (chm.Open(write(QStringLiteral("noisy.chm"), noisy)))
            for (const QString& o : chm.Objects())
                chm.Read(o);
    }

    void charsetsFollowTheLanguage()
    {
        const QByteArray gbk("\xD6\xD0\xCE\xC4", 4); // "中文" in GBK
        QCOMPARE(TChmFile::Decode(gbk, "GBK").value_or(QString()), QStringLiteral("中文"));
        QVERIFY(!TChmFile::Decode(QByteArray("\xFF\xFF", 2), "GBK"));
        QCOMPARE(QString::fromLatin1(TChmFile::CharsetForLcid(0x804)), QStringLiteral("GBK"));
        QCOMPARE(QString::fromLatin1(TChmFile::CharsetForLcid(0x404)), QStringLiteral("BIG5"));
        TChmFile chm;
        QVERIFY(chm.Open(HelpFile));
        // A page that declares its charset is read in it, whatever the language.
        const QByteArray utf8Page = QStringLiteral("<meta charset=\"utf-8\"><p>中文</p>").toUtf8();
        QVERIFY(chm.DecodeHtml(utf8Page).contains(QStringLiteral("中文")));
        const QByteArray gbkPage =
            QByteArray("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">") + gbk;
        QVERIFY(chm.DecodeHtml(gbkPage).contains(QStringLiteral("中文")));
        QVERIFY(chm.DecodeHtml(gbk).contains(QStringLiteral("中文"))); // no declaration: the language's GBK
    }

    void sitemapParsing()
    {
        const QString html = QStringLiteral(
            "<HTML><BODY><OBJECT type=\"text/site properties\"><param name=\"X\" value=\"1\"></OBJECT>"
            "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A &amp; B\">"
            "<param name=\"Local\" value=\"a.htm\"></OBJECT>"
            "<UL><LI><object type='text/sitemap'><param name=Name value=\"A1\"><param name=\"Local\" "
            "value=\"a1.htm\">"
            "<param name=\"Local\" value=\"a2.htm\"></object>"
            "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"&#955;\"></OBJECT></UL></UL>"
            "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"B\"><param name=\"Local\" "
            "value=\"b.htm\"></OBJECT>"
            "</UL></BODY></HTML>");
        const auto items = TChmSitemap::Parse(html);
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0].Name, QStringLiteral("A & B"));
        QCOMPARE(items[0].Locals, QStringList{QStringLiteral("a.htm")});
        QCOMPARE(items[0].Children.size(), 1);
        QCOMPARE(items[0].Children[0].Locals,
                 (QStringList{QStringLiteral("a1.htm"), QStringLiteral("a2.htm")}));
        QCOMPARE(items[0].Children[0].Children.size(), 1);
        QCOMPARE(items[0].Children[0].Children[0].Name, QStringLiteral("λ"));
        QCOMPARE(items[1].Name, QStringLiteral("B"));
        const auto flat = TChmSitemap::Flatten(items);
        QCOMPARE(flat.size(), 4);
        QCOMPARE(flat[2].first, 2);
        QCOMPARE(flat[3].second->Name, QStringLiteral("B"));

        // Not a sitemap, unbalanced or absurdly deep: no items or what can be read, and no crash.
        QVERIFY(TChmSitemap::Parse(QStringLiteral("just text")).isEmpty());
        QVERIFY(TChmSitemap::Parse(QStringLiteral("</UL></UL><UL>")).isEmpty());
        const QString deep =
            QStringLiteral("<UL>").repeated(100000) +
            QStringLiteral("<OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"x\"></OBJECT>");
        TChmSitemap::Parse(deep);
    }
};

QTEST_MAIN(HtmlHelpTest)
#include "htmlhelp_qtest.moc"
