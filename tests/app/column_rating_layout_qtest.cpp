// The column rating page at 1366 x 768 in both languages: the key results
// (diameter, % flood, pressure drop, HETP, notes) in sight without scrolling
// sideways, every heading and drop-down whole, no chart before there is a
// rating, and the gauze packings read back by their catalogue names whatever
// the interface language shows.
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "ColumnRatingPage.h"
#include "Language.h"
#include "Messages.h"
#include "ProfileChartView.h"
#include "UnitMain.h"

namespace {
// Every line of every heading fits its column.
QString CutHeading(QTableWidget* t)
{
    const QFontMetrics fm(t->horizontalHeader()->font());
    for (int c = 0; c < t->columnCount(); ++c)
        for (const QString& line : t->horizontalHeaderItem(c)->text().split(QLatin1Char('\n')))
            if (fm.horizontalAdvance(line) > t->columnWidth(c))
                return line;
    return {};
}
} // namespace

class ColumnRatingLayoutTest : public QObject {
    Q_OBJECT
    RecordingSink sink;
    QTemporaryDir dir;

private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config"))); }

    void keyResultsInSight_data()
    {
        QTest::addColumn<int>("lang");
        QTest::newRow("Chinese") << int(TLanguage::Chinese);
        QTest::newRow("English") << int(TLanguage::English);
    }
    void keyResultsInSight()
    {
        QFETCH(int, lang);
        TLanguage::Apply(TLanguage::Lang(lang));
        SetMessageSink(&sink);
        TFormVELK w;
        w.resize(1366, 768);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* page = w.findChild<ColumnRatingPage*>();
        w.PageControlMain()->setCurrentWidget(page);
        QApplication::processEvents();
        auto* charts = page->findChild<ProfileChartView*>();
        QVERIFY(!charts->isVisible());
        auto* beds = page->findChild<QTableWidget*>(QStringLiteral("ProfileBeds"));
        auto* totals = page->findChild<QTableWidget*>(QStringLiteral("ProfileBedTotals"));
        for (QTableWidget* t : {page->StageTable(), beds, totals})
            QVERIFY2(CutHeading(t).isEmpty(), qPrintable(CutHeading(t)));

        page->ChooseColumn = [](const QStringList&) { return 0; };
        QVERIFY(page->ImportCsv(QStringLiteral(VELK_SOURCE_DIR "/examples/debutanizer.csv")));
        QApplication::processEvents();
        QVERIFY(charts->isVisible());
        QTableWidget* stages = page->StageTable();
        stages->horizontalScrollBar()->setValue(0);
        // Columns by their number: 12 diameter, 13 % flood, 15 pressure
        // drop, 17 HETP whole; 18 the notes, starting in sight.
        const int viewport = stages->viewport()->width();
        for (int c : {0, 12, 13, 15, 17})
            QVERIFY2(stages->columnViewportPosition(c) + stages->columnWidth(c) <= viewport,
                     qPrintable(stages->horizontalHeaderItem(c)->text()));
        QVERIFY(stages->columnViewportPosition(18) + 80 <= viewport);
        for (QTableWidget* t : {stages, beds, totals})
            QVERIFY2(CutHeading(t).isEmpty(), qPrintable(CutHeading(t)));
        // The drop-down lists of a bed are as wide as their longest item.
        for (int c : {2, 3}) {
            auto* box = qobject_cast<QComboBox*>(beds->cellWidget(0, c));
            QVERIFY(box);
            int longest = 0;
            for (int i = 0; i < box->count(); ++i)
                longest = std::max(longest, box->fontMetrics().horizontalAdvance(box->itemText(i)));
            QVERIFY2(beds->columnWidth(c) >= longest, qPrintable(box->currentText()));
        }
        // A gauze packing chosen by its shown name is read by its catalogue name.
        auto* packing = qobject_cast<QComboBox*>(beds->cellWidget(0, 2));
        const int gauze = packing->findData(QString::fromUtf8("BX(丝网)"));
        QVERIFY(gauze >= 0);
        QCOMPARE(packing->itemText(gauze), lang == TLanguage::English ? QStringLiteral("BX (gauze)")
                                                                       : QString::fromUtf8("BX(丝网)"));
        packing->setCurrentIndex(gauze);
        QCOMPARE(page->ReadBedEditor().at(0).packing, std::string("BX(丝网)"));
        w.Page().Modified = false;
        SetMessageSink(nullptr);
        TLanguage::Apply(TLanguage::Chinese);
    }
};

QTEST_MAIN(ColumnRatingLayoutTest)
#include "column_rating_layout_qtest.moc"
