// The packing comparison page: it follows the calculation page, sorts by
// number, filters by family, and a double click chooses the row's packing
// on the calculation page.
#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <QLabel>
#include <QTest>

#include <algorithm>
#include <cmath>

#include "TypicalCase.h"
#include "CalcPage.h"
#include "ComparisonProxyModel.h"
#include "ComparisonTableModel.h"
#include "Messages.h"
#include "PackingComparisonPage.h"
#include "XlsxDocument.h"

namespace
{
void TypeCase(CalcPage& page)
{
    TypeTypicalCase(page);
    page.LDExit();
}

double SI(CalcPage& page, const char* field) { return page.Field(field)->GetValue(); }

const ComparisonRow* RowOf(const TComparisonTableModel& m, const std::string& packing, int method)
{
    for (const ComparisonRow& r : m.Rows())
        if (r.packing == packing && r.method == method) return &r;
    return nullptr;
}
} // namespace

class PackingComparisonPageTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        page_ = std::make_unique<CalcPage>();
        TypeCase(*page_);
        view_ = std::make_unique<TPackingComparisonPage>(*page_);
        view_->resize(1400, 700);
        view_->show();
        QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    }
    void cleanup()
    {
        view_.reset();
        page_.reset();
    }

    void anEmptiedInputGivesErrorRowsCountedInTheStatus()
    {
        page_->Field("DlD")->SetText("");
        page_->NeedsRecalc = true;
        page_->LDExit();
        view_->Recompute();
        const auto& rows = view_->Model()->Rows();
        QCOMPARE(rows.size(), size_t(27));
        for (const ComparisonRow& r : rows) {
            QVERIFY(!r.completed);
            QVERIFY(!r.Value(ComparisonValue::FloodVelocity));
        }
        QCOMPARE(view_->findChild<QLabel*>(QStringLiteral("CompareStatus"))->text(),
                 QString::fromUtf8("27 行，27 行出错"));
    }

    void followsInputsUnitsAndMethod()
    {
        const TComparisonTableModel& m = *view_->Model();
        QCOMPARE(m.rowCount(), 27);
        const std::string current = page_->Combo("PTD")->Text();
        // A changed input: the table follows once the page is recalculated,
        // and the current packing's row shows what the page shows.
        page_->Field("LD")->SetText("4.0");
        page_->LDExit();
        int count = view_->RecomputeCount();
        QTRY_VERIFY(view_->RecomputeCount() > count);
        QCOMPARE(*RowOf(m, current, 0)->Value(ComparisonValue::TheoreticalDiameter), SI(*page_, "dpD"));
        QCOMPARE(*RowOf(m, current, 0)->Value(ComparisonValue::HETP), SI(*page_, "HETPD"));
        // A unit change and a method change each recompute too.
        count = view_->RecomputeCount();
        page_->Unit("dU")->SetItemIndex(1);
        QTRY_VERIFY(view_->RecomputeCount() > count);
        count = view_->RecomputeCount();
        page_->Combo("UfMD")->UserSelect(1);
        page_->LDExit(); // the unit change left an exit pending
        QTRY_VERIFY(view_->RecomputeCount() > count);
        QCOMPARE(m.Rows().front().method, 1);
        QCOMPARE(*RowOf(m, current, 1)->Value(ComparisonValue::FloodVelocity), SI(*page_, "UfD"));
    }

    void ratingModeRatesEveryPackingAtTheTypedDiameter()
    {
        const int count = view_->RecomputeCount();
        page_->Check("CBRating")->UserClick();
        page_->Field("dD")->SetText("1.2");
        page_->LDExit();
        QTRY_VERIFY(view_->RecomputeCount() > count);
        QTRY_COMPARE(*view_->Model()->Rows().front().Value(ComparisonValue::ActualDiameter), 1.2);
        for (const ComparisonRow& r : view_->Model()->Rows()) {
            QVERIFY2(r.completed, r.error.c_str());
            QCOMPARE(*r.Value(ComparisonValue::ActualDiameter), 1.2);
            // The actual approach to flood is that of a 1.2 m column:
            // 100 uVs / uF with uVs = V / (rhoV pi d^2 / 4) = 3.0 / (2.5 * 1.130973) = 1.061033 m/s.
            QVERIFY(std::fabs(*r.operation.figures.floodPercent - 100 * 1.061033 / *r.Value(ComparisonValue::FloodVelocity)) <
                    1e-3);
        }
    }

    void sortsNumericallyWithEmptyCellsLast()
    {
        view_->SetAllMethods(true); // CY-800 fails with the third method
        TComparisonTableModel& m = *view_->Model();
        QCOMPARE(m.rowCount(), 81);
        const int col = m.ColumnOf(ComparisonColumn::HETP);
        for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            view_->Table()->sortByColumn(col, order);
            std::vector<double> expected;
            for (const ComparisonRow& r : m.Rows())
                if (r.completed) expected.push_back(*r.Value(ComparisonValue::HETP));
            std::sort(expected.begin(), expected.end());
            if (order == Qt::DescendingOrder) std::reverse(expected.begin(), expected.end());
            const TComparisonProxyModel& p = *view_->Proxy();
            for (int r = 0; r < p.rowCount(); ++r) {
                const QVariant v = p.index(r, col).data(TComparisonTableModel::SortRole);
                if (r < static_cast<int>(expected.size()))
                    QCOMPARE(v.toDouble(), expected[static_cast<size_t>(r)]);
                else
                    QVERIFY(!v.isValid()); // the error row
            }
        }
        view_->SetFamilyFilter(QStringLiteral("GemPack"));
        QCOMPARE(view_->Proxy()->rowCount(), 12);
    }

    void doubleClickChoosesThePackingAndMethod()
    {
        view_->SetAllMethods(true);
        QTableView* t = view_->Table();
        const TComparisonProxyModel& p = *view_->Proxy();
        int target = -1;
        const int packing = view_->Model()->ColumnOf(ComparisonColumn::Packing);
        const int method = view_->Model()->ColumnOf(ComparisonColumn::Method);
        for (int r = 0; r < p.rowCount(); ++r)
            if (p.index(r, packing).data().toString() == QStringLiteral("Mellapak-350Y") &&
                p.index(r, method).data().toString() == QStringLiteral("Billet"))
                target = r;
        QVERIFY(target >= 0);
        const ComparisonRow row = *RowOf(*view_->Model(), "Mellapak-350Y", 1);
        t->scrollTo(p.index(target, packing));
        const QPoint at = t->visualRect(p.index(target, packing)).center();
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(sink_.messages.empty());
        QCOMPARE(page_->Combo("PTD")->Text(), std::string("Mellapak-350Y"));
        QCOMPARE(page_->Combo("UfMD")->ItemIndex(), 1);
        QVERIFY(!page_->NeedsRecalc);
        QVERIFY(page_->Modified);
        for (int v = 0; v < kComparisonValues; ++v)
            QCOMPARE(*row.values[v], SI(*page_, ComparisonFieldName(ComparisonValue(v))));
        // The table then marks the new current row.
        QTRY_VERIFY(view_->Model()->IsCurrent(*RowOf(*view_->Model(), "Mellapak-350Y", 1)));
    }

    void exportsCsvAndWorkbook()
    {
        QTemporaryDir dir;
        QString error;
        const QString csv = dir.filePath(QStringLiteral("t.csv"));
        QVERIFY2(view_->ExportTable(csv, &error), qPrintable(error));
        QFile f(csv);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QCOMPARE(lines.size(), 29); // heading, 27 rows, the empty rest after the last CR LF
        QVERIFY(lines[1].startsWith("Flexipac-1,560,"));
        const QString xlsx = dir.filePath(QStringLiteral("t.xlsx"));
        QVERIFY2(view_->ExportTable(xlsx, &error), qPrintable(error));
        XlsxDocument doc;
        doc.Load(xlsx.toStdString());
        QCOMPARE(doc.CellText(0, 28, 1), std::string("SW-2"));
        QVERIFY(doc.CellIsNumber(0, 2, 2));
    }

private:
    RecordingSink sink_;
    ScopedMessageSink scope_{&sink_};
    std::unique_ptr<CalcPage> page_;
    std::unique_ptr<TPackingComparisonPage> view_;
};

QTEST_MAIN(PackingComparisonPageTest)
#include "packingcomparison_qtest.moc"
