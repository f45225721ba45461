// The page "填料性能曲线": it follows the calculation page, takes an edited
// list of liquid loads, zooms each chart on its own and saves it.
#include <QTemporaryDir>
#include <QTest>

#include "TypicalCase.h"
#include "CalcPage.h"
#include "Messages.h"
#include "PerformanceChartView.h"
#include "PerformanceCurvesPage.h"

class PerformanceCurvesPageTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        page_ = std::make_unique<CalcPage>();
        TypeTypicalCase(*page_);
        page_->LDExit();
        view_ = std::make_unique<TPerformanceCurvesPage>(*page_);
        view_->resize(1500, 900);
        view_->show();
        QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    }
    void cleanup()
    {
        view_.reset();
        page_.reset();
    }

    void followsThePageAndItsLoads()
    {
        QTRY_VERIFY(view_->Curves());
        const double before = view_->Curves()->operating.F;
        const std::string dp = page_->Field("dPwaterD")->Text();
        // Another vapour flow: recomputed on a copy, the live page untouched.
        const int count = view_->RecomputeCount();
        page_->Field("VD")->SetText("3.6");
        QTRY_VERIFY(view_->RecomputeCount() > count);
        QVERIFY(view_->Curves()->operating.F > before);
        QCOMPARE(page_->Field("dPwaterD")->Text(), dp);
        // An edited list: the current load is added to it; a bad list is refused.
        QVERIFY(view_->SetLiquidLoadsText(QStringLiteral("3, 30")));
        QTRY_COMPARE(view_->Curves()->pressureDrop.size(), std::size_t(3));
        QVERIFY(!view_->SetLiquidLoadsText(QStringLiteral("3, -1")));
        QVERIFY(!view_->SetLiquidLoadsText(QStringLiteral("a")));
        QCOMPARE(view_->LiquidLoads(), std::vector<double>({3, 30}));
        // A case the page cannot compute leaves no curves and says why.
        page_->Field("DlD")->SetText("");
        QTRY_VERIFY(!view_->Curves());
        QVERIFY(!view_->Status().isEmpty());
    }

    void usLoadsAreTypedAndShownInGpmPerSquareFoot()
    {
        // 1 gpm/ft2 = 3.785411784e-3 m3 / 60 s / 0.3048^2 m2, in m3/(m2 h).
        const double gpm = 3.785411784e-3 * 60 / (0.3048 * 0.3048);
        QVERIFY(view_->SetLiquidLoadsText(QStringLiteral("10")));
        SetDisplaySystem(UnitSystem::US);
        QCOMPARE(view_->LiquidLoadsShown(), QString::number(10 / gpm, 'g', 6));
        // Left as shown, the load stays exactly as it was.
        QVERIFY(view_->SetLiquidLoadsText(view_->LiquidLoadsShown()));
        QCOMPARE(view_->LiquidLoads(), std::vector<double>({10}));
        QVERIFY(view_->SetLiquidLoadsText(QStringLiteral("2, 8")));
        QCOMPARE(view_->LiquidLoads().size(), std::size_t(2));
        QVERIFY(qAbs(view_->LiquidLoads()[0] - 2 * gpm) < 1e-12);
        QVERIFY(qAbs(view_->LiquidLoads()[1] - 8 * gpm) < 1e-12);
        SetDisplaySystem(UnitSystem::SI);
        QCOMPARE(view_->LiquidLoadsShown(), QString::number(2 * gpm, 'g', 6) + QStringLiteral(", ") +
                                                QString::number(8 * gpm, 'g', 6));
    }

    void chartsZoomAloneAndSave()
    {
        QTRY_VERIFY(view_->Curves());
        TPerformanceChartView* chart = view_->ChartView(1);
        const QPoint a(chart->width() / 3, chart->height() / 3);
        const QPoint b(chart->width() / 2, chart->height() / 2);
        QTest::mousePress(chart, Qt::LeftButton, Qt::ControlModifier, a);
        QTest::mouseMove(chart, b);
        QTest::mouseRelease(chart, Qt::LeftButton, Qt::ControlModifier, b);
        QVERIFY(!chart->Zoom().isFull());
        QVERIFY(view_->ChartView(0)->Zoom().isFull());
        QVERIFY(ChartZoom(1).isFull()); // the other drawings' slot is back

        QTemporaryDir dir;
        for (const char* name : {"h.png", "h.svg"}) {
            QString error;
            QVERIFY2(chart->SaveChart(dir.filePath(QString::fromLatin1(name)), &error), qPrintable(error));
            QVERIFY(QFileInfo(dir.filePath(QString::fromLatin1(name))).size() > 1000);
        }
    }

private:
    RecordingSink sink_;
    ScopedMessageSink scope_{&sink_};
    std::unique_ptr<CalcPage> page_;
    std::unique_ptr<TPerformanceCurvesPage> view_;
};

QTEST_MAIN(PerformanceCurvesPageTest)
#include "performancecurves_qtest.moc"
