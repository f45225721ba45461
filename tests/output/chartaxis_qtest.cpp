// Axis scaling, ticks, labels, grid and the world-to-pixel mapping.

#include "chartcontext.h"
#include "charttestutil.h"

#include <QtTest>

#include <set>

using chart_detail::ComputeNiceSteps;
using chart_detail::DecimalsOf;
using chart_detail::NormaliseStep;

namespace {
// Rounding halves to even, as the drawing does.
int HalfEven(double v)
{
    return static_cast<int>(std::nearbyint(v));
}
} // namespace

class ChartAxisTest : public QObject {
    Q_OBJECT

private slots:
    void stepNormalisation();
    void niceSteps();
    void fixedLabelAxisExample();
    void rangeModes_data();
    void rangeModes();
    void captions();
    void worldToPixel();
    void reversedAndLogarithmicAxes();
    void gridPatterns();
    void gridOnVectorDevices();
    void invalidAxesDisableWorldDrawing();
};

void ChartAxisTest::stepNormalisation()
{
    QCOMPARE(NormaliseStep(0.125), 0.1);
    QCOMPARE(NormaliseStep(0.3125), 0.2);
    QCOMPARE(NormaliseStep(0.375), 0.5);
    QCOMPARE(NormaliseStep(1.4), 1.0);
    QCOMPARE(NormaliseStep(1.41), 2.0);
    QCOMPARE(NormaliseStep(3.2), 2.0);
    QCOMPARE(NormaliseStep(3.21), 5.0);
    QCOMPARE(NormaliseStep(7.0), 10.0);
    QCOMPARE(NormaliseStep(0.07), 0.1);
    QCOMPARE(NormaliseStep(-3.0), 0.0);
    QCOMPARE(NormaliseStep(0.0), 0.0);

    QCOMPARE(DecimalsOf(0.0), 99);
    QCOMPARE(DecimalsOf(0.2), 1);
    QCOMPARE(DecimalsOf(0.1), 1);
    QCOMPARE(DecimalsOf(0.05), 2);
    QCOMPARE(DecimalsOf(0.999), 1);
    QCOMPARE(DecimalsOf(1.0), 0);
    QCOMPARE(DecimalsOf(5.0), 0);
    QCOMPARE(DecimalsOf(50.0), -1);
}

void ChartAxisTest::niceSteps()
{
    // 0..4.125 on 607 pixels, labels 26 apart: 23 labels fit, the automatic
    // step 0.2 is below the wanted 0.5, so 0.5 wins; widened to 4.5.
    auto s = ComputeNiceSteps(0, 4.125, 0.375, 607, 26, 2);
    QCOMPARE(s.major, 0.5);
    QCOMPARE(s.minor, 0.5);
    QCOMPARE(s.max, 4.5);
    QCOMPARE(s.min, 0.0);
    QCOMPARE(s.decimals, 1);

    // Four labels on 0..10: major 5, minor 1; a wanted step of 2 raises the
    // minor to 2, and a major of 2.5 minors is doubled to 10.
    s = ComputeNiceSteps(0, 10, 2, 400, 100, 0);
    QCOMPARE(s.major, 10.0);
    QCOMPARE(s.minor, 2.0);
    QCOMPARE(s.max, 10.0);

    // Room for 100 labels: automatic major 0.1, but the wanted step 5 is the
    // smallest allowed; no decimals then.
    s = ComputeNiceSteps(0, 10, 5, 1000, 10, 0);
    QCOMPARE(s.major, 5.0);
    QCOMPARE(s.decimals, 0);

    // Automatic: 0..1000 in 10 labels gives 100 / 20, decimals -2.
    s = ComputeNiceSteps(0, 1000, 0, 500, 50, 0);
    QCOMPARE(s.major, 100.0);
    QCOMPARE(s.minor, 20.0);
    QCOMPARE(s.decimals, -2);

    // Swapped ends and a one-pixel axis still end with a usable step.
    s = ComputeNiceSteps(5, 1, 0, 1, 30, 2);
    QVERIFY(s.major > 0);
    QVERIFY(s.min <= 1 && s.max >= 5);
}

void ChartAxisTest::fixedLabelAxisExample()
{
    TRecordedChart chart(QSize(720, 400));
    InitChart(&chart.surface, kWhite, kBlack, 1.0f);
    DefineGraph(0, 100, 0, 100, 60, 60, 40, 60, false); // plot x 60..660, bottom 340
    DrawXAxis(kBlue, QStringLiteral("L"), 0, 0.0f, 1.375f, 0.125f, 0.0f, false, false, true, 2);

    const TChartAxisInfo info = ChartXAxisInfo();
    QVERIFY(info.valid);
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
        const int w = fm.horizontalAdvance(t.text);
        QCOMPARE(qRound(t.baseline.x()), expected[k] - w / 2);
        // Top (scale + major tick - 1) below the axis.
        QVERIFY(std::abs(t.top() - (340 + majorTick)) <= 1.0);
    }
    std::set<int> tickXs;
    for (const TRecordedLine& l : chart.device.record().lines)
        if (l.line.x1() == l.line.x2() && l.line.y1() == 340 && l.line.y2() > 340) {
            tickXs.insert(qRound(l.line.x1()));
            QCOMPARE(qRound(l.line.y2() - l.line.y1()), majorTick);
        }
    QCOMPARE(tickXs, std::set<int>(std::begin(expected), std::end(expected)));
}

void ChartAxisTest::rangeModes_data()
{
    QTest::addColumn<float>("min");
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("expectedMin");
    QTest::addColumn<double>("expectedMax");
    // Automatic steps on 600 pixels: major 0.1, minor 0.02.
    QTest::newRow("kept") << 0.03f << 0 << 0.03 << 1.375;
    QTest::newRow("minor") << 0.03f << 1 << 0.02 << 1.38;
    QTest::newRow("major") << 0.03f << 2 << 0.0 << 1.4;
}

void ChartAxisTest::rangeModes()
{
    QFETCH(float, min);
    QFETCH(int, mode);
    QFETCH(double, expectedMin);
    QFETCH(double, expectedMax);
    TImageSurface surface(QSize(720, 400));
    InitChart(&surface, kWhite, kBlack, 1.0f);
    DefineGraph(0, 100, 0, 100, 60, 60, 40, 60, false);
    DrawXAxis(kBlue, QString(), 0, min, 1.375f, 0.0f, 0.0f, false, false, true, mode);
    const TChartAxisInfo info = ChartXAxisInfo();
    QVERIFY(std::abs(info.min - expectedMin) < 1e-6);
    QVERIFY(std::abs(info.max - expectedMax) < 1e-6);
    QVERIFY(std::abs(info.major - 0.1) < 1e-12);
    QVERIFY(std::abs(info.minor - 0.02) < 1e-12);
}

void ChartAxisTest::captions()
{
    TRecordedChart chart(QSize(720, 400));
    InitChart(&chart.surface, kWhite, kBlack, 1.0f);
    DefineGraph(0, 100, 0, 100, 80, 40, 40, 60, false); // plot 80..680 x 40..340
    DrawXAxis(kBlue, QStringLiteral("Length|m"), 0, 0.0f, 10.0f, 2.0f, 0.0f, false, false, true, 0);
    DrawYAxis(kBlue, QStringLiteral("V(kg/s)"), 5, 0.0f, 3.0f, 1.0f, 0.0f, false, false, true, 0);

    // The unit part follows every X label; the caption shows the rest.
    QVERIFY(chart.device.findText(QStringLiteral("0m")));
    QVERIFY(chart.device.findText(QStringLiteral("10m")));
    const auto caption = chart.device.findText(QStringLiteral("Length"));
    QVERIFY(caption);
    const QFontMetrics fm(caption->font);
    const int majorTick = HalfEven(fm.horizontalAdvance(QLatin1Char('0')) + 0.5);
    QCOMPARE(qRound(caption->baseline.x()), 380 - fm.horizontalAdvance(QStringLiteral("Length")) / 2);
    QVERIFY(std::abs(caption->top() - (340 + majorTick + fm.height() + 4)) <= 1.0);

    // Y labels end (2 + major tick) left of the axis, centred on their tick.
    const auto three = chart.device.findText(QStringLiteral("3"));
    QVERIFY(three);
    QCOMPARE(qRound(three->right()), 80 - 2 - majorTick);
    QVERIFY(std::abs(three->top() - (40 - fm.height() / 2)) <= 1.0);

    // The Y caption reads upwards, centred on the plot height, left of the
    // widest label.
    const auto yCaption = chart.device.findText(QStringLiteral("V(kg/s)"));
    QVERIFY(yCaption);
    QVERIFY(yCaption->rotated());
    const QPointF up = yCaption->transform.map(QPointF(1, 0)) - yCaption->transform.map(QPointF(0, 0));
    QVERIFY(std::abs(up.x()) < 1e-9 && up.y() < 0);
    const int w = fm.horizontalAdvance(QStringLiteral("V(kg/s)"));
    QVERIFY(std::abs(yCaption->baseline.y() - (190 + w / 2)) <= 1.0);
    const int lowerEdge = 80 - majorTick - fm.horizontalAdvance(QStringLiteral("3")) - 8;
    QVERIFY(std::abs(yCaption->baseline.x() + fm.descent() - lowerEdge) <= 1.0);
}

void ChartAxisTest::worldToPixel()
{
    TImageSurface surface(QSize(400, 300));
    StandardPlot(&surface);
    SetPenColor(kRed);
    const QRgb red = Rgb(kRed);
    const QRgb white = Rgb(kWhite);
    auto dot = [](double x, double y) {
        MoveToPoint(x, y);
        AddMarker(kMarkSquare, 1, kFillHollow);
    };
    dot(2.5, 1);            // 50 + 80, 220 - 32
    dot(1.0 / 64, 2);       // 50.5 rounds to 50
    dot(3.0 / 64, 2.5);     // 51.5 rounds to 52
    dot(4, 3.0 / 64);       // 218.5 rounds to 218
    FlushChart();
    surface.endPaint();
    const QImage& img = surface.image();
    QCOMPARE(PixelAt(img, 130, 188), red);
    QCOMPARE(PixelAt(img, 50, 156), red);
    QCOMPARE(PixelAt(img, 51, 156), white);
    QCOMPARE(PixelAt(img, 52, 140), red);
    QCOMPARE(PixelAt(img, 51, 140), white);
    QCOMPARE(PixelAt(img, 178, 218), red);
    QCOMPARE(PixelAt(img, 178, 219), white);
}

void ChartAxisTest::reversedAndLogarithmicAxes()
{
    TImageSurface surface(QSize(400, 300));
    InitChart(&surface, kWhite, kBlack, 1.0f);
    DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, false);
    DrawXAxis(kBlue, QString(), 0, 8.0f, 0.0f, 0.0f, 0.0f, false, false, true, 0);
    DrawYAxis(kBlue, QString(), 5, 0.0f, 4.0f, 0.0f, 0.0f, false, true, true, 0); // log refused: min 0
    QCOMPARE(ChartXAxisInfo().min, 8.0);
    QVERIFY(ChartXAxisInfo().max == 0.0);
    QVERIFY(!ChartYAxisInfo().logarithmic);
    SetPenColor(kRed);
    MoveToPoint(2, 1); // (8 - 2) / 8 of the way: 50 + 192
    AddMarker(kMarkSquare, 1, 0);
    FlushChart();

    DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, false);
    DrawXAxis(kBlue, QString(), 0, 1.0f, 1000.0f, 0.0f, 0.0f, false, true, true, 0);
    DrawYAxis(kBlue, QString(), 5, 1.0f, 1.5f, 0.0f, 0.0f, false, true, true, 0); // ratio below 2
    QVERIFY(ChartXAxisInfo().logarithmic);
    QVERIFY(!ChartYAxisInfo().logarithmic);
    SetPenColor(kRed); // the axes took the pen colour
    MoveToPoint(10, 1.25); // a third of the decades: 50 + 85.3; half of Y: 220 - 64
    AddMarker(kMarkSquare, 1, 0);
    FlushChart();
    surface.endPaint();
    QCOMPARE(PixelAt(surface.image(), 242, 188), Rgb(kRed));
    QCOMPARE(PixelAt(surface.image(), 135, 156), Rgb(kRed));
}

void ChartAxisTest::gridPatterns()
{
    TImageSurface surface(QSize(400, 300));
    InitChart(&surface, kWhite, kBlack, 1.0f);
    DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, false);
    // Automatic steps over 256 pixels: major 1 (32 px), minor 0.2 (with the
    // label font's "0" 5 to 6 pixels wide).
    DrawXAxis(kBlue, QString(), 0, 0.0f, 8.0f, 0.0f, 0.0f, true, false, true, 0);
    QCOMPARE(ChartXAxisInfo().major, 1.0);
    QCOMPARE(ChartXAxisInfo().minor, 0.2);
    surface.endPaint();
    const QImage& img = surface.image();
    const QRgb blue = Rgb(kBlue);
    for (int c = 1; c < 128; ++c) {
        // Major grid at x = 82: runs of four dots and four gaps upwards.
        QCOMPARE(PixelAt(img, 82, 220 - c) == blue, (c & 4) == 0);
        // Minor grid at rnd(50 + 6.4) = 56: one dot in eight.
        QCOMPARE(PixelAt(img, 56, 220 - c) == blue, c % 8 == 0);
        // No grid line on the plot's first edge.
        QCOMPARE(PixelAt(img, 50, 220 - c), Rgb(kWhite));
    }

    // A vertical axis without grid still marks the value 0.
    InitChart(&surface, kWhite, kBlack, 1.0f);
    DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, false);
    DrawXAxis(kBlue, QString(), 0, 0.0f, 8.0f, 0.0f, 0.0f, false, false, true, 0);
    DrawYAxis(kBlue, QString(), 5, -1.0f, 1.0f, 0.0f, 0.0f, false, false, true, 0);
    surface.endPaint();
    for (int c = 1; c < 256; ++c)
        QCOMPARE(PixelAt(img, 50 + c, 156) == blue, (c & 4) == 0);

    // A negative pattern draws no grid at all.
    InitChart(&surface, kWhite, kBlack, 1.0f);
    DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, false);
    SetGridPatterns(-1, -1);
    DrawXAxis(kBlue, QString(), 0, 0.0f, 8.0f, 0.0f, 0.0f, true, false, true, 0);
    surface.endPaint();
    for (int c = 1; c < 128; ++c)
        QCOMPARE(PixelAt(img, 82, 220 - c), Rgb(kWhite));
}

void ChartAxisTest::gridOnVectorDevices()
{
    // A vector device gets each grid line as one dashed line with the
    // rhythm of its dots.
    TRecordedChart chart(QSize(400, 300));
    InitChart(&chart.surface, kWhite, kBlack, 1.0f);
    DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, false);
    SetGridPatterns(5, 7);
    DrawXAxis(kBlue, QString(), 0, 0.0f, 8.0f, 0.0f, 0.0f, true, false, true, 0);
    QCOMPARE(ChartXAxisInfo().minor, 0.2);
    bool major = false, minor = false;
    for (const TRecordedLine& l : chart.device.record().lines) {
        if (l.line.x1() == 82 && l.line.x2() == 82 && l.line.y1() == 220 && l.line.y2() < 100) {
            // Steps 0 and 2 of every 8 carry a dot: (5 AND c) = 0.
            QCOMPARE(l.dashes, QList<qreal>({1, 1, 1, 5}));
            major = true;
        }
        if (l.line.x1() == 56 && l.line.y1() == 220 && l.line.y2() < 100) {
            QCOMPARE(l.dashes, QList<qreal>({1, 7}));
            minor = true;
        }
    }
    QVERIFY(major && minor);
}

void ChartAxisTest::invalidAxesDisableWorldDrawing()
{
    TImageSurface surface(QSize(400, 300));
    InitChart(&surface, kWhite, kBlack, 1.0f);
    DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, false);
    DrawXAxis(kBlue, QString(), 0, 0.0f, 8.0f, 0.0f, 0.0f, false, false, true, 0);
    DrawYAxis(kBlue, QString(), 5, 2.0f, 2.0f, 0.0f, 0.0f, false, false, true, 0);
    QVERIFY(!ChartWorldMode());
    surface.endPaint();
    const QImage before = surface.image().copy();
    SetPenColor(kRed);
    MoveToPoint(0, 0);
    LineToPoint(8, 4);
    AddMarker(kMarkSquare, 8, kFillPen);
    DrawTextAt(kRed, QStringLiteral("x"), 0, 4, 2, 0, 0);
    FlushChart();
    surface.endPaint();
    QCOMPARE(surface.image(), before);

    // A horizontal axis after a vertical one is refused; an axis in the
    // background colour scales without drawing.
    InitChart(&surface, kWhite, kBlack, 1.0f);
    DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, false);
    surface.endPaint();
    const QImage blank = surface.image().copy();
    DrawYAxis(kWhite, QString(), 5, 0.0f, 4.0f, 0.0f, 0.0f, true, false, true, 0);
    DrawXAxis(kWhite, QString(), 0, 0.0f, 8.0f, 0.0f, 0.0f, true, false, true, 0);
    QVERIFY(!ChartXAxisInfo().valid);
    QVERIFY(!ChartWorldMode());
    DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, false);
    DrawXAxis(kWhite, QStringLiteral("X"), 0, 0.0f, 8.0f, 0.0f, 0.0f, true, false, true, 0);
    DrawYAxis(kWhite, QStringLiteral("Y"), 5, 0.0f, 4.0f, 0.0f, 0.0f, true, false, true, 0);
    QVERIFY(ChartWorldMode());
    QVERIFY(!ChartXAxisInfo().drawn);
    surface.endPaint();
    QCOMPARE(surface.image(), blank);
}

QTEST_MAIN(ChartAxisTest)
#include "chartaxis_qtest.moc"
