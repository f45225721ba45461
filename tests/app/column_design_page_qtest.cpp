// The column-design page: the limits typed on it are the calculation page's
// fields, and the section's 22 stages at most 10 a bed show as three beds
// (8, 7, 7) with their internals and the column's total in the table.
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include "CalcPage.h"
#include "CaseRun.h"
#include "ColumnDesignPage.h"
#include "DesignLimits.h"
#include "Messages.h"
#include "TypicalCase.h"

class ColumnDesignPageTest : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void bedsAndInternalsFillTheTable()
    {
        ScopedMessageSink scope(&sink);
        CurrentPacking = PackingParams{};
        CalcPage page;
        TypeTypicalCase(page);
        page.Field("StagesD")->SetText("22");
        ColumnDesignPage view(page);
        auto* table = view.findChild<QTableWidget*>(QStringLiteral("ColumnDesignTable"));
        QVERIFY(table);
        view.refresh();
        QCOMPARE(table->rowCount(), 0); // nothing computed yet
        // Typed on the page: the calculation page's own field.
        auto* stages = view.findChild<QLineEdit*>(QString::fromLatin1(kBedMaxStagesField));
        QVERIFY(stages);
        QTest::keyClicks(stages, QStringLiteral("10"));
        QCOMPARE(QString::fromStdString(page.Field(kBedMaxStagesField)->Text()), QStringLiteral("10"));
        page.NeedsRecalc = true;
        QVERIFY(page.RecalcReported());
        view.refresh();
        QVERIFY(view.Design());
        // Per bed distributor, hold-down, bed, support; two collectors; the total.
        QCOMPARE(table->rowCount(), 3 * 4 + 2 + 1);
        const int bedRows[] = {2, 7, 12};
        const char* counts[] = {"8", "7", "7"};
        for (int i = 0; i < 3; ++i) QCOMPARE(table->item(bedRows[i], 2)->text(), QString::fromLatin1(counts[i]));
        QCOMPARE(table->item(14, 3)->text(), QString::number(view.Design()->height, 'f', 2));
    }
};

QTEST_MAIN(ColumnDesignPageTest)
#include "column_design_page_qtest.moc"
