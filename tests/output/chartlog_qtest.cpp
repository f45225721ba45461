// Logarithmic axes, labels kept inside the plot, the legend, and zooming on
// the operating performance diagram of a small column.

#include "PerformanceDiagram.h"
#include "chartaxisdetail.h"
#include "charttestutil.h"

#include <QtTest>

using namespace chart_detail;

namespace {

struct TLabelled {
    QStringList labels;
    std::vector<int> labelPixels;
    int majors = 0;
    int minors = 0;
};

// Ticks of the current graph's X or first Y axis.
TLabelled TicksOf(bool isX)
{
    const TGraphSlot& g = *Ctx().slot();
    TLabelled out;
    for (const TAxisTick& t : LayoutAxisTicks(isX ? g.x : g.y[0], isX, false, QString())) {
        (t.major ? out.majors : out.minors)++;
        if (!t.label.isEmpty()) {
            out.labels << t.label;
            out.labelPixels.push_back(t.pixel);
        }
    }
    return out;
}

} // namespace

class ChartLogTest : public QObject {
    Q_OBJECT

private slots:
    void decadesAndMinors();
    void underOneDecadeTicksAreLinear();
    void crowdedDecadesThinTheirLabels();
    void sanitisedRanges();
    void labelsFlipThenClamp();
    void crowdedLabelsTakeFreeSidesOrAreLeftOut();
    void smallDiagramZooms();
};

void ChartLogTest::decadesAndMinors()
{
    TImageSurface surface(QSize(720, 400));
    InitChart(&surface, kWhite, kBlack, 1.0f);
    DefineGraph(0, 100, 0, 100, 60, 60, 40, 60, false); // plot x 60..660
    DrawXAxis(kBlue, QString(), 0, 0.1f, 1000.0f, 0.0f, 0.0f, false, true, false, 0);
    QVERIFY(ChartXAxisInfo().logarithmic);
    const TLabelled t = TicksOf(true);
    // Four decades of 150 pixels: labels on every decade, 2..9 between.
    QCOMPARE(t.labels, QStringList({"0.1", "1", "10", "100", "1000"}));
    QCOMPARE(t.labelPixels, std::vector<int>({60, 210, 360, 510, 660}));
    QCOMPARE(t.minors, 4 * 8);
}

void ChartLogTest::underOneDecadeTicksAreLinear()
{
    TImageSurface surface(QSize(720, 400));
    InitChart(&surface, kWhite, kBlack, 1.0f);
    DefineGraph(0, 100, 0, 100, 60, 60, 40, 60, false);
    DrawXAxis(kBlue, QString(), 0, 2.0f, 8.0f, 0.0f, 0.0f, false, true, false, 0);
    QVERIFY(ChartXAxisInfo().logarithmic);
    const TLabelled t = TicksOf(true);
    QVERIFY(t.labels.size() >= 4);
    QCOMPARE(t.labels.front(), QStringLiteral("2"));
    QCOMPARE(t.labels.back(), QStringLiteral("8"));
    // Still a logarithmic scale: 4 lies halfway between 2 and 8.
    QCOMPARE(t.labelPixels[static_cast<std::size_t>(t.labels.indexOf("4"))], 360);
}

void ChartLogTest::crowdedDecadesThinTheirLabels()
{
    TImageSurface surface(QSize(400, 300));
    StandardPlot(&surface, false, false); // plot height 128
    DrawXAxis(kBlue, QString(), 0, 0.0f, 8.0f, 0.0f, 0.0f, false, false, true, 0);
    DrawYAxis(kBlue, QString(), 5, 1e-6f, 1e6f, 0.0f, 0.0f, false, true, false, 0);
    const TLabelled t = TicksOf(false);
    // Twelve decades on 128 pixels: every third decade labelled, no minors.
    QCOMPARE(t.labels, QStringList({"1E-6", "0.001", "1", "1000", "1000000"}));
    QCOMPARE(t.majors, 13);
    QCOMPARE(t.minors, 0);
}

void ChartLogTest::sanitisedRanges()
{
    struct Case {
        double min, max;
        int decades;
        double expectedMin, expectedMax;
    };
    const Case cases[] = {
        {0, 50, 3, 0.1, 100},      {-2, 50, 3, 0.1, 100},    {0.02, 80, 5, 0.01, 100},
        {1e-9, 100, 5, 1e-3, 100}, {3, 3, 5, 1, 10},         {-5, -1, 3, 1, 10},
        {80, 0.02, 5, 0.01, 100},  {0, 0, 5, 1, 10},
    };
    for (const Case& c : cases) {
        const TLogRange r = SanitisedLogRange(c.min, c.max, c.decades);
        QVERIFY2(std::abs(r.min / c.expectedMin - 1) < 1e-12 && std::abs(r.max / c.expectedMax - 1) < 1e-12,
                 qPrintable(QStringLiteral("%1..%2").arg(c.min).arg(c.max)));
    }
}

void ChartLogTest::labelsFlipThenClamp()
{
    TRecordedChart chart(QSize(400, 300));
    StandardPlot(&chart.surface); // plot 50..306 x 92..220, 32 pixels a unit
    const QFontMetrics fm(Ctx().font, &chart.device);
    // Left of a point near the left edge: flipped to the right, its padding
    // with it, starting 3 pixels right of the point (x 50 + 8 = 58).
    DrawTextAt(kRed, QStringLiteral("Min(25%)   "), -1, 0.25, 2, 0, kTextKeepInside);
    const auto flipped = chart.device.findText(QStringLiteral("   Min(25%)"));
    QVERIFY(flipped);
    QCOMPARE(qRound(flipped->baseline.x()), 61);
    // Above a point near the top: flipped below it (top on the point, y 95).
    DrawTextAt(kRed, QStringLiteral("Top"), 0, 4, 3.9, -1, kTextKeepInside);
    const auto below = chart.device.findText(QStringLiteral("Top"));
    QVERIFY(below);
    QVERIFY(std::abs(below->top() - 95) <= 1.0);
    // Centred on the right edge: no side to flip to, shifted inside.
    const QString wide = QStringLiteral("WWWWWW");
    DrawTextAt(kRed, wide, 0, 8, 2, 0, kTextKeepInside);
    const auto shifted = chart.device.findText(wide);
    QVERIFY(shifted);
    QCOMPARE(qRound(shifted->baseline.x()), 306 - fm.horizontalAdvance(wide) + 1);
    // Without the style bit a text stays where it was put.
    DrawTextAt(kRed, QStringLiteral("Plain   "), -1, 0.25, 1, 0, 0);
    QVERIFY(chart.device.findText(QStringLiteral("Plain   ")));
}

void ChartLogTest::crowdedLabelsTakeFreeSidesOrAreLeftOut()
{
    TRecordedChart chart(QSize(400, 300));
    StandardPlot(&chart.surface); // the point (4, 2) is pixel (178, 156)
    for (const char* label : {"Right", "Left", "Above", "Below", "Nowhere"})
        DrawTextAt(kRed, QString::fromLatin1(label), 1, 4, 2, 0, kTextAvoidOthers);
    const auto right = chart.device.findText(QStringLiteral("Right"));
    const auto left = chart.device.findText(QStringLiteral("Left"));
    const auto above = chart.device.findText(QStringLiteral("Above"));
    const auto below = chart.device.findText(QStringLiteral("Below"));
    QVERIFY(right && left && above && below);
    QVERIFY(right->baseline.x() > 178 && left->right() < 178);
    QVERIFY(above->baseline.y() < 156 && below->top() > 156);
    QVERIFY(!chart.device.findText(QStringLiteral("Nowhere")));
    // A new drawing starts with a free plot.
    StandardPlot(&chart.surface);
    DrawTextAt(kRed, QStringLiteral("Again"), 1, 4, 2, 0, kTextAvoidOthers);
    const auto again = chart.device.findText(QStringLiteral("Again"));
    QVERIFY(again && again->baseline.x() > 178);
}

void ChartLogTest::smallDiagramZooms()
{
    // 10 kg/s of liquid: the axes end near 14 kg/s, far below a fixed 50.
    TCountingSurface surface(kDefaultDiagramSize);
    ChartResetZoom(0);
    TPerformanceInput in;
    in.L = 10;
    in.V = 12;
    in.uL = 0.004;
    in.uLmin = 0.001;
    QVERIFY(DrawPerformanceDiagram(&surface, in).isEmpty());
    const QRect plot = ChartPlotRect();
    ChartMouseDown(mbLeft, ssCtrl, plot.left() + 100, plot.top() + 100);
    ChartMouseMove(ssCtrl | ssLeft, plot.left() + 300, plot.top() + 300);
    ChartMouseUp(mbLeft, ssCtrl, plot.left() + 300, plot.top() + 300);
    const TChartZoom z = ChartZoom(1);
    QVERIFY(!z.isFull());
    QVERIFY(z.xTo - z.xFrom < 0.5 && z.yTo[0] - z.yFrom[0] < 0.5);
    ChartResetZoom(0);
}

QTEST_MAIN(ChartLogTest)
#include "chartlog_qtest.moc"
