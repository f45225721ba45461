// Tables of the printed pages: portrait while they fit, landscape and
// wrapped texts when wide, column groups (never type under 7 points) when
// even that is too wide, the heading on every page.
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <numeric>
#include <set>

#include "PdfFont.h"
#include "PdfTable.h"

namespace
{

PageTable Numbers(int columns, int rows)
{
    PageTable t;
    for (int c = 0; c < columns; ++c) {
        t.headings << QStringLiteral("Col %1\n(m)").arg(c);
        t.wrap.push_back(false);
    }
    for (int r = 0; r < rows; ++r) {
        PageTableRow row;
        for (int c = 0; c < columns; ++c)
            row.cells << QStringLiteral("%1.2345").arg(r * 100 + c);
        t.rows.push_back(row);
    }
    return t;
}

void SetUp(QPdfWriter& w)
{
    w.setResolution(300);
    w.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                QPageLayout::Millimeter));
}

double Width(const QPdfWriter& w, QPageLayout::Orientation o)
{
    QPageLayout l = w.pageLayout();
    l.setOrientation(o);
    return l.paintRectPixels(300).width();
}

} // namespace

class PdfTableTest : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void layoutFitsThePage_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<bool>("longText");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<int>("groups");
        QTest::newRow("narrow: portrait") << 4 << false << false << 1;
        QTest::newRow("long warning: landscape, wrapped") << 6 << true << true << 1;
        QTest::newRow("40 columns: groups") << 40 << false << true << 0;
    }
    void layoutFitsThePage()
    {
        QFETCH(int, columns);
        QFETCH(bool, longText);
        QFETCH(bool, landscape);
        QFETCH(int, groups);
        QPdfWriter w(dir.filePath("layout.pdf"));
        SetUp(w);
        PageTable t = Numbers(columns, 5);
        if (longText) {
            t.headings << QStringLiteral("Warnings");
            t.wrap.push_back(true);
            for (PageTableRow& r : t.rows)
                r.cells << QString("The liquid load is below the minimum wetting rate of the packing; ")
                               .repeated(6);
        }
        const PageTableLayout l = LayoutPageTable(t, w);
        QCOMPARE(l.orientation == QPageLayout::Landscape, landscape);
        QVERIFY(l.points >= kMinPagePoints);
        const double page = Width(w, l.orientation);
        if (groups)
            QCOMPARE(static_cast<int>(l.groups.size()), groups);
        else
            QVERIFY(l.groups.size() > 1);
        std::multiset<int> seen;
        for (const std::vector<int>& g : l.groups) {
            double sum = 0;
            for (int c : g)
                sum += l.widths[static_cast<std::size_t>(c)];
            QVERIFY2(sum <= page + 0.5, qPrintable(QString("%1 > %2").arg(sum).arg(page)));
            QCOMPARE(g.front(), 0); // the key column leads every group
            seen.insert(g.begin() + 1, g.end());
        }
        QCOMPARE(static_cast<int>(seen.size()) + 1, static_cast<int>(t.headings.size()));
        QCOMPARE(static_cast<int>(std::set<int>(seen.begin(), seen.end()).size()),
                 static_cast<int>(seen.size()));
        if (longText) {
            // The warning column wraps: narrower than its one-line text.
            const QFontMetricsF fm(PageFont(l.points), &w);
            QVERIFY(l.widths.back() < fm.horizontalAdvance(t.rows[0].cells.back()));
        }
    }

    void headingRepeatsOnEveryPage()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("poppler-utils (pdftotext) is not installed");
        const QString pdf = dir.filePath("rows.pdf");
        int pages = 0;
        {
            QPdfWriter w(pdf);
            SetUp(w);
            QPainter p(&w);
            PageTable t = Numbers(3, 200);
            t.headings[0] = QStringLiteral("Stagekey");
            // The first page is the caller's; the table begins a new one.
            pages = PaintPageTable(p, w, t);
        }
        QVERIFY(pages > 1);
        QProcess text;
        text.start("pdftotext", {pdf, "-"});
        QVERIFY(text.waitForFinished(60000));
        const QString out = QString::fromUtf8(text.readAllStandardOutput());
        QCOMPARE(static_cast<int>(out.count("Stagekey")), pages);
        for (int r : {0, 117, 199})
            QVERIFY2(out.contains(QStringLiteral("%1.2345").arg(r * 100 + 2)),
                     qPrintable(QString::number(r)));
    }
};

QTEST_MAIN(PdfTableTest)
#include "pdf_table_qtest.moc"
