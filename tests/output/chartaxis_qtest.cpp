// Axis scaling, ticks, labels, grid and the world-to-pixel mapping.

#include "chartcontext.h"
#include "charttestutil.h"

#include <QtTest>

#include <set>

using namespace chart_detail;

namespace {
int HalfEven(double v)
{
    return static_cast<int>(std::nearbyint(v));
}
} // namespace

class ChartAxisTest : public QObject {
    Q_OBJECT

private slots:
    void stepsAndDecimals();
    void fixedLabelAxisExample();
    void rangeModes_data();
    void rangeModes();
    void captions();
    void worldToPixel();
    void gridPatterns();
    void invalidAxesDisableWorldDrawing();
};

void ChartAxisTest::stepsAndDecimals()
{
    const double steps[][2] = {{0.125, 0.1}, {0.3125, 0.2}, {0.375, 0.5}, {1.4, 1},  {1.41, 2},
                               {3.2, 2},     {3.21, 5},     {7, 10},      {-3, 0}};
    for (const auto& s : steps)
        QCOMPARE(NormaliseStep(s[0]), s[1]);
    const std::pair<double, int> decimals[] = {{0, 99}, {0.2, 1}, {0.05, 2}, {0.999, 1}, {1, 0}, {50, -1}};
    for (const auto& d : decimals)
        QCOMPARE(DecimalsOf(d.first), d.second);

    // 0..4.125 on 607 pixels, labels 26 apart: 23 fit, the automatic 0.2 is
    // below the wanted 0.5, which wins; widened to 4.5.
    auto s = ComputeNiceSteps(0, 4.125, 0.375, 607, 26, 2);
    QCOMPARE(s.major, 0.5);
    QCOMPARE(s.max, 4.5);
    QCOMPARE(s.decimals, 1);
    // Four labels on 0..10: major 5, minor 1; a wanted 2 raises the minor,
    // and a major of 2.5 minors is doubled.
    s = ComputeNiceSteps(0, 10, 2, 400, 100, 0);
    QCOMPARE(s.major, 10.0);
    QCOMPARE(s.minor, 2.0);
    // Automatic: 0..1000 in 10 labels gives 100 / 20 and decimals -2.
    s = ComputeNiceSteps(0, 1000, 0, 500, 50, 0);
    QCOMPARE(s.major, 100.0);
    QCOMPARE(s.minor, 20.0);
    QCOMPARE(s.decimals, -2);
    // Swapped ends on a one-pixel axis still end with a usable step.
    s = ComputeNiceSteps(5, 1, 0, 1, 30, 2);
    QVERIFY(s.major > 0 && s.min <= 1 && s.max >= 5);
}

void ChartAxisTest::fixedLabelAxisExample()
{
    TRecordedChart chart(QSize(720, 400));
    InitChart(&chart.surface, kWhite, kBlack, 1.0f);
    DefineGraph(0, 100, 0, 100, 60, 60, 40, 60, false); // plot x 60..660, bottom 340
    DrawXAxis(kBlue, QStringLiteral("L"), 0, 0.0f, 1.375f, 0.125f, 0.0f, false, false, true, 2);
    const TChartAxisInfo info = ChartXAxisInfo();
    QCOMPARE(info.min, 0.0);
    QCOMPARE(info.max, 1.4);
    QCOMPARE(info.major, 0.1);
    QCOMPARE(info.decimals, 1);

    // Tick pixels rnd(60 + k / 14 * 600), by hand.
    const int expected[15] = {60, 103, 146, 189, 231, 274, 317, 360, 403, 446, 489, 531, 574, 617, 660};
    const auto texts = chart.device.joinedTexts();
    QCOMPARE(static_cast<int>(texts.size()), 16); // 15 labels and the caption
    const QFontMetrics fm(texts[0].font);
    const int majorTick = HalfEven(fm.horizontalAdvance(QLatin1Char('0')) + 0.5);
    for (int k = 0; k < 15; ++k) {
        const TRecordedText& t = texts[static_cast<std::size_t>(k)];
        QCOMPARE(t.text, QString::number(k / 10.0, 'f', 1));
        QCOMPARE(qRound(t.baseline.x()), expected[k] - fm.horizontalAdvance(t.text) / 2);
        QVERIFY(std::abs(t.top() - (340 + majorTick)) <= 1.0); // (scale + tick - 1) below
    }
    std::set<int> ticks;
    for (const TRecordedLine& l : chart.device.record().lines)
        if (l.line.x1() == l.line.x2() && l.line.y1() == 340 && l.line.y2() == 340 + majorTick)
            ticks.insert(qRound(l.line.x1()));
    QCOMPARE(ticks, std::set<int>(std::begin(expected), std::end(expected)));
}

void ChartAxisTest::rangeModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("expectedMin");
    QTest::addColumn<double>("expectedMax");
    // 0.03..1.375 with automatic steps on 600 pixels: major 0.1, minor 0.02.
    QTest::newRow("kept") << 0 << 0.03 << 1.375;
    QTest::newRow("minor") << 1 << 0.02 << 1.38;
    QTest::newRow("major") << 2 << 0.0 << 1.4;
}

void ChartAxisTest::rangeModes()
{
    QFETCH(int, mode);
    QFETCH(double, expectedMin);
    QFETCH(double, expectedMax);
    TImageSurface surface(QSize(720, 400));
    InitChart(&surface, kWhite, kBlack, 1.0f);
    DefineGraph(0, 100, 0, 100, 60, 60, 40, 60, false);
    DrawXAxis(kBlue, QString(), 0, 0.03f, 1.375f, 0.0f, 0.0f, false, false, true, mode);
    QVERIFY(std::abs(ChartXAxisInfo().min - expectedMin) < 1e-6);
    QVERIFY(std::abs(ChartXAxisInfo().max - expectedMax) < 1e-6);
    QVERIFY(std::abs(ChartXAxisInfo().minor - 0.02) < 1e-12);
}

void ChartAxisTest::captions()
{
    TRecordedChart chart(QSize(720, 400));
    InitChart(&chart.surface, kWhite, kBlack, 1.0f);
    DefineGraph(0, 100, 0, 100, 80, 40, 40, 60, false); // plot 80..680 x 40..340
    DrawXAxis(kBlue, QStringLiteral("Length|m"), 0, 0.0f, 10.0f, 2.0f, 0.0f, false, false, true, 0);
    DrawYAxis(kBlue, QStringLiteral("V(kg/s)"), 5, 0.0f, 3.0f, 1.0f, 0.0f, false, false, true, 0);
    // The unit part follows every X label; the caption shows the rest.
    QVERIFY(chart.device.findText(QStringLiteral("10m")));
    const auto caption = chart.device.findText(QStringLiteral("Length"));
    QVERIFY(caption);
    const QFontMetrics fm(caption->font);
    const int majorTick = HalfEven(fm.horizontalAdvance(QLatin1Char('0')) + 0.5);
    QCOMPARE(qRound(caption->baseline.x()), 380 - fm.horizontalAdvance(QStringLiteral("Length")) / 2);
    QVERIFY(std::abs(caption->top() - (340 + majorTick + fm.height() + 4)) <= 1.0);
    // Y labels end (2 + major tick) left of the axis, centred on the tick.
    const auto three = chart.device.findText(QStringLiteral("3"));
    QVERIFY(three);
    QCOMPARE(qRound(three->right()), 80 - 2 - majorTick);
    QVERIFY(std::abs(three->top() - (40 - fm.height() / 2)) <= 1.0);
    // The Y caption reads upwards, centred on the plot, its lower edge 8
    // pixels left of the widest label.
    const auto yCaption = chart.device.findText(QStringLiteral("V(kg/s)"));
    QVERIFY(yCaption && yCaption->rotated());
    const QPointF along = yCaption->transform.map(QPointF(1, 0)) - yCaption->transform.map(QPointF(0, 0));
    QVERIFY(std::abs(along.x()) < 1e-9 && along.y() < 0);
    QVERIFY(std::abs(yCaption->baseline.y() - (190 + fm.horizontalAdvance(QStringLiteral("V(kg/s)")) / 2)) <=
            1);
    const int lowerEdge = 80 - majorTick - fm.horizontalAdvance(QStringLiteral("3")) - 8;
    QVERIFY(std::abs(yCaption->baseline.x() + fm.descent() - lowerEdge) <= 1.0);
}

void ChartAxisTest::worldToPixel()
{
    // One world unit is 32 pixels; halves of a pixel go to the even one.
    TImageSurface surface(QSize(400, 300));
    StandardPlot(&surface);
    SetPenColor(kRed);
    const double points[][2] = {{2.5, 1}, {1.0 / 64, 2}, {3.0 / 64, 2.5}, {4, 3.0 / 64}};
    for (const auto& p : points) {
        MoveToPoint(p[0], p[1]);
        AddMarker(kMarkSquare, 1, kFillHollow);
    }
    FlushChart();
    surface.endPaint();
    const QImage& img = surface.image();
    const int red[][2] = {{130, 188}, {50, 156}, {52, 140}, {178, 218}};
    for (const auto& p : red)
        QVERIFY2(PixelAt(img, p[0], p[1]) == Rgb(kRed),
                 qPrintable(QStringLiteral("%1,%2").arg(p[0]).arg(p[1])));
    QCOMPARE(PixelAt(img, 51, 156), Rgb(kWhite));
    QCOMPARE(PixelAt(img, 51, 140), Rgb(kWhite));
    QCOMPARE(PixelAt(img, 178, 219), Rgb(kWhite));

    // A reversed X axis and a logarithmic one in two more graphs.
    DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, false);
    DrawXAxis(kBlue, QString(), 0, 8.0f, 0.0f, 0.0f, 0.0f, false, false, true, 0);
    DrawYAxis(kBlue, QString(), 5, 0.0f, 4.0f, 0.0f, 0.0f, false, true, true, 0); // log refused: min 0
    QCOMPARE(ChartXAxisInfo().min, 8.0);
    QVERIFY(!ChartYAxisInfo().logarithmic);
    SetPenColor(kRed); // the axes took the pen colour
    MoveToPoint(2, 1);
    AddMarker(kMarkSquare, 1, 0);
    DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, false);
    DrawXAxis(kBlue, QString(), 0, 1.0f, 1000.0f, 0.0f, 0.0f, false, true, true, 0);
    DrawYAxis(kBlue, QString(), 5, 1.0f, 1.5f, 0.0f, 0.0f, false, true, true, 0); // ratio below 2
    QVERIFY(ChartXAxisInfo().logarithmic && !ChartYAxisInfo().logarithmic);
    SetPenColor(kRed);
    MoveToPoint(10, 1.25);
    AddMarker(kMarkSquare, 1, 0);
    FlushChart();
    surface.endPaint();
    QCOMPARE(PixelAt(img, 242, 188), Rgb(kRed)); // (8 - 2) / 8 of the reversed axis
    QCOMPARE(PixelAt(img, 135, 156), Rgb(kRed)); // a third of the decades, half of Y
}

void ChartAxisTest::gridPatterns()
{
    TImageSurface surface(QSize(400, 300));
    InitChart(&surface, kWhite, kBlack, 1.0f);
    DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, false);
    // Automatic steps over 256 pixels: major 1 (32 px), minor 0.2.
    DrawXAxis(kBlue, QString(), 0, 0.0f, 8.0f, 0.0f, 0.0f, true, false, true, 0);
    QCOMPARE(ChartXAxisInfo().minor, 0.2);
    surface.endPaint();
    const QImage& img = surface.image();
    for (int c = 1; c < 128; ++c) {
        QCOMPARE(PixelAt(img, 82, 220 - c) == Rgb(kBlue), (c & 4) == 0); // 4 dots, 4 gaps
        QCOMPARE(PixelAt(img, 56, 220 - c) == Rgb(kBlue), c % 8 == 0);  // minor at rnd(56.4)
        QCOMPARE(PixelAt(img, 50, 220 - c), Rgb(kWhite));              // not on the first edge
    }
    // A vertical axis without grid still marks the value 0.
    StandardPlot(&surface, false, false);
    DrawXAxis(kBlue, QString(), 0, 0.0f, 8.0f, 0.0f, 0.0f, false, false, true, 0);
    DrawYAxis(kBlue, QString(), 5, -1.0f, 1.0f, 0.0f, 0.0f, false, false, true, 0);
    surface.endPaint();
    for (int c = 1; c < 256; ++c)
        QCOMPARE(PixelAt(img, 50 + c, 156) == Rgb(kBlue), (c & 4) == 0);

    // A vector device gets each grid line as one line dashed in the rhythm
    // of the dots: pattern 5 puts dots on steps 0 and 2 of every 8.
    TRecordedChart chart(QSize(400, 300));
    InitChart(&chart.surface, kWhite, kBlack, 1.0f);
    DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, false);
    SetGridPatterns(5, 7);
    DrawXAxis(kBlue, QString(), 0, 0.0f, 8.0f, 0.0f, 0.0f, true, false, true, 0);
    int found = 0;
    for (const TRecordedLine& l : chart.device.record().lines) {
        if (l.line.x1() == 82 && l.line.y1() == 220 && l.line.y2() < 100 && ++found)
            QCOMPARE(l.dashes, QList<qreal>({1, 1, 1, 5}));
        if (l.line.x1() == 56 && l.line.y1() == 220 && l.line.y2() < 100 && ++found)
            QCOMPARE(l.dashes, QList<qreal>({1, 7}));
    }
    QCOMPARE(found, 2);
}

void ChartAxisTest::invalidAxesDisableWorldDrawing()
{
    TImageSurface surface(QSize(400, 300));
    InitChart(&surface, kWhite, kBlack, 1.0f);
    DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, false);
    DrawXAxis(kBlue, QString(), 0, 0.0f, 8.0f, 0.0f, 0.0f, false, false, true, 0);
    DrawYAxis(kBlue, QString(), 5, 2.0f, 2.0f, 0.0f, 0.0f, false, false, true, 0); // min = max
    QVERIFY(!ChartWorldMode());
    surface.endPaint();
    const QImage before = surface.image().copy();
    MoveToPoint(0, 0);
    LineToPoint(8, 4);
    AddMarker(kMarkSquare, 8, kFillPen);
    DrawTextAt(kRed, QStringLiteral("x"), 0, 4, 2, 0, 0);
    FlushChart();
    surface.endPaint();
    QCOMPARE(surface.image(), before);

    // An X axis after a Y axis is refused; an axis in the background colour
    // scales without drawing.
    DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, false);
    DrawYAxis(kWhite, QString(), 5, 0.0f, 4.0f, 0.0f, 0.0f, true, false, true, 0);
    DrawXAxis(kWhite, QString(), 0, 0.0f, 8.0f, 0.0f, 0.0f, true, false, true, 0);
    QVERIFY(!ChartWorldMode());
    DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, false);
    DrawXAxis(kWhite, QStringLiteral("X"), 0, 0.0f, 8.0f, 0.0f, 0.0f, true, false, true, 0);
    DrawYAxis(kWhite, QStringLiteral("Y"), 5, 0.0f, 4.0f, 0.0f, 0.0f, true, false, true, 0);
    QVERIFY(ChartWorldMode());
    surface.endPaint();
    QCOMPARE(surface.image(), before);
}

QTEST_MAIN(ChartAxisTest)
#include "chartaxis_qtest.moc"
