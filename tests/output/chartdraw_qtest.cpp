// Lines, dashes, markers, texts, titles and fonts of the chart engine.

#include "charttestutil.h"

#include <QtTest>

namespace {
int HalfEven(double v)
{
    return static_cast<int>(std::nearbyint(v));
}
} // namespace

class ChartDrawTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void dashPhaseFollowsScreen();
    void clippingToPlot();
    void markersWaitForFlush();
    void markerShapes();
    void textAlignment_data();
    void textAlignment();
    void multiLineText();
    void textBoxStyles();
    void textRightOfPlotAndZoom();
    void fontScopes();
    void titles();
    void ninthGraphIsRefused();
};

void ChartDrawTest::init()
{
    ChartResetZoom(0);
    ChartForgetFontChoices();
    ResetChartSettings();
}

void ChartDrawTest::dashPhaseFollowsScreen()
{
    TImageSurface surface(QSize(400, 300));
    StandardPlot(&surface);
    SetPenColor(kRed);
    SetDash(5, 40, 1); // 2 of every 5 pixels
    MoveToPoint(0, 2);           // (50, 156)
    LineToPoint(37.0 / 32, 2);   // (87, 156): the second piece starts mid-period
    LineToPoint(200.0 / 32, 2);  // (250, 156)
    MoveToPoint(7, 0.5);         // (274, 204)
    LineToPoint(7, 3.5);         // (274, 108), phased on y
    FlushChart();
    surface.endPaint();
    const QImage& img = surface.image();
    for (int x = 51; x <= 250; ++x)
        QVERIFY2((PixelAt(img, x, 156) == Rgb(kRed)) == (x % 5 < 2),
                 qPrintable(QStringLiteral("x = %1").arg(x)));
    for (int y = 108; y <= 204; ++y)
        QVERIFY2((PixelAt(img, 274, y) == Rgb(kRed)) == (y % 5 < 2),
                 qPrintable(QStringLiteral("y = %1").arg(y)));
}

void ChartDrawTest::clippingToPlot()
{
    TImageSurface surface(QSize(400, 300));
    StandardPlot(&surface, false);
    SetPenColor(kRed);
    MoveToPoint(0, 2);
    LineToPoint(10, 2); // to x = 370, beyond the plot's right edge at 306
    FlushChart();
    surface.endPaint();
    QCOMPARE(PixelAt(surface.image(), 306, 156), Rgb(kRed));
    QCOMPARE(PixelAt(surface.image(), 307, 156), Rgb(kWhite));

    StandardPlot(&surface, true); // unclipped: only the drawing area limits
    SetPenColor(kRed);
    MoveToPoint(0, 2);
    LineToPoint(10, 2);
    FlushChart();
    surface.endPaint();
    QCOMPARE(PixelAt(surface.image(), 369, 156), Rgb(kRed));
    QCOMPARE(PixelAt(surface.image(), 372, 156), Rgb(kWhite));
}

void ChartDrawTest::markersWaitForFlush()
{
    TImageSurface surface(QSize(400, 300));
    StandardPlot(&surface);
    SetPenColor(kRed);
    MoveToPoint(4, 2); // (178, 156)
    AddMarker(kMarkSquare, 8, kFillPen);
    QCOMPARE(ChartPendingMarkers(), 1);
    surface.endPaint();
    QCOMPARE(PixelAt(surface.image(), 178, 156), Rgb(kWhite));
    FlushChart();
    QCOMPARE(ChartPendingMarkers(), 0);
    surface.endPaint();
    const QImage& img = surface.image();
    // h = 4: the square covers 174..182 both ways.
    QCOMPARE(PixelAt(img, 178, 156), Rgb(kRed));
    QCOMPARE(PixelAt(img, 174, 152), Rgb(kRed));
    QCOMPARE(PixelAt(img, 182, 160), Rgb(kRed));
    QCOMPARE(PixelAt(img, 183, 156), Rgb(kWhite));
    QCOMPARE(PixelAt(img, 178, 161), Rgb(kWhite));

    // A marker outside a clipped plot is not queued; a new graph flushes
    // what the previous one queued.
    MoveToPoint(9, 2);
    AddMarker(kMarkSquare, 8, kFillPen);
    QCOMPARE(ChartPendingMarkers(), 0);
    MoveToPoint(2, 2); // (114, 156)
    AddMarker(kMarkSquare, 8, kFillPen);
    AddMarker(9, 8, kFillPen); // no such shape
    QCOMPARE(ChartPendingMarkers(), 1);
    DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, false);
    QCOMPARE(ChartPendingMarkers(), 0);
    surface.endPaint();
    QCOMPARE(PixelAt(surface.image(), 114, 156), Rgb(kRed));
}

void ChartDrawTest::markerShapes()
{
    TRecordedChart chart(QSize(400, 300));
    StandardPlot(&chart.surface);
    MoveToPoint(4, 2); // (178, 156)
    AddMarker(kMarkTriangleUp, 10, kFillPen); // h 5, d 7
    AddMarker(kMarkCircle, 0, kFillBackground); // font size 8: h 4
    SetTextFont(QString(), 20, 0, 0, 0);
    AddMarker(kMarkCircle, 0, kFillHollow); // now 20: h 10
    AddMarker(kMarkTriangleLeft, 6, kFillHollow); // h 3, d 4
    FlushChart();
    const auto& rec = chart.device.record();
    QCOMPARE(static_cast<int>(rec.polygons.size()), 2);
    QCOMPARE(rec.polygons[0], QPolygonF({QPointF(173, 161), QPointF(183, 161), QPointF(178, 149)}));
    QCOMPARE(rec.polygons[1], QPolygonF({QPointF(181, 159), QPointF(181, 153), QPointF(174, 156)}));
    QCOMPARE(static_cast<int>(rec.ellipses.size()), 2);
    QCOMPARE(rec.ellipses[0], QRectF(174, 152, 8, 8));
    QCOMPARE(rec.ellipses[1], QRectF(168, 146, 20, 20));
}

void ChartDrawTest::textAlignment_data()
{
    QTest::addColumn<int>("hAlign");
    QTest::addColumn<int>("vAlign");
    for (int h = -1; h <= 1; ++h)
        for (int v = -1; v <= 1; ++v)
            QTest::addRow("h%d v%d", h, v) << h << v;
}

void ChartDrawTest::textAlignment()
{
    QFETCH(int, hAlign);
    QFETCH(int, vAlign);
    TRecordedChart chart(QSize(400, 300));
    StandardPlot(&chart.surface);
    DrawTextAt(kRed, QStringLiteral("Ab"), hAlign, 4, 2, vAlign, 0); // at (178, 156)
    const auto t = chart.device.findText(QStringLiteral("Ab"));
    QVERIFY(t);
    QCOMPARE(t->colour, QColor(255, 0, 0));
    const QFontMetrics fm(t->font);
    const int w = fm.horizontalAdvance(QStringLiteral("Ab"));
    const int h = fm.height();
    const int left = hAlign < 0 ? 178 - 3 - w : (hAlign == 0 ? 178 - w / 2 : 181);
    const int top = vAlign < 0 ? 156 - h : (vAlign == 0 ? 156 - h / 2 : 156);
    QCOMPARE(qRound(t->baseline.x()), left);
    QCOMPARE(qRound(t->baseline.y()), top + fm.ascent());
}

void ChartDrawTest::multiLineText()
{
    TRecordedChart chart(QSize(400, 300));
    StandardPlot(&chart.surface);
    DrawTextAt(kRed, QStringLiteral("Ab|Cdef|G"), 1, 4, 2, 1, 0);
    DrawTextAt(kRed, QStringLiteral("x|yy"), -1, 4, 2, -1, 0);
    const auto ab = chart.device.findText(QStringLiteral("Ab"));
    const auto cdef = chart.device.findText(QStringLiteral("Cdef"));
    const auto g = chart.device.findText(QStringLiteral("G"));
    QVERIFY(ab && cdef && g);
    const QFontMetrics fm(ab->font);
    const int h = fm.height();
    QCOMPARE(qRound(ab->baseline.x()), 181);
    QCOMPARE(qRound(cdef->baseline.x()), 181);
    QCOMPARE(qRound(ab->baseline.y()), 156 + fm.ascent());
    QCOMPARE(qRound(cdef->baseline.y()), 156 + HalfEven(0.95 * h) + fm.ascent());
    QCOMPARE(qRound(g->baseline.y()), 156 + HalfEven(1.9 * h) + fm.ascent());

    // Above the point: the block's bottom on it; each line right-aligned.
    const auto x = chart.device.findText(QStringLiteral("x"));
    const auto yy = chart.device.findText(QStringLiteral("yy"));
    QVERIFY(x && yy);
    const int blockTop = 156 - (HalfEven(0.95 * h) + h);
    QCOMPARE(qRound(x->baseline.y()), blockTop + fm.ascent());
    QCOMPARE(qRound(x->right()), 175);
    QCOMPARE(qRound(yy->right()), 175);
}

void ChartDrawTest::textBoxStyles()
{
    // A text one pixel off a red line: the box of style 2 covers the line
    // in the background colour, the frame of style 1 is in the text colour.
    const QRgb expected[4] = {Rgb(kRed), Rgb(kBlue), Rgb(kWhite), Rgb(kBlue)};
    for (int style = 0; style < 4; ++style) {
        TImageSurface surface(QSize(400, 300));
        StandardPlot(&surface);
        SetPenColor(kRed);
        MoveToPoint(0, 2);
        LineToPoint(8, 2);
        DrawTextAt(kBlue, QStringLiteral("W"), 1, 4, 2, 0, style); // text from x = 181, box from 180
        FlushChart();
        surface.endPaint();
        QCOMPARE(PixelAt(surface.image(), 180, 156), expected[style]);
    }
}

void ChartDrawTest::textRightOfPlotAndZoom()
{
    const QString label = QStringLiteral("edge");
    // X 0..8 over 50..306; x = 8.2 lies at 312, right of the plot.
    auto drawn = [&](bool unclipped) {
        TRecordedChart chart(QSize(400, 300));
        StandardPlot(&chart.surface, unclipped);
        DrawTextAt(kRed, label, 1, 8.2, 2, 0, 0);
        return chart.device.findText(label) != nullptr;
    };
    QVERIFY(drawn(true));
    QVERIFY(!drawn(false));

    // Zoom X to 0..7 by a Ctrl-drag from the plot's left edge to x = 274.
    {
        TRecordedChart chart(QSize(400, 300));
        StandardPlot(&chart.surface, true);
        ChartMouseDown(mbLeft, ssCtrl, 50, 92);
        ChartMouseMove(ssCtrl | ssLeft, 200, 150);
        ChartMouseUp(mbLeft, ssCtrl, 274, 220);
    }
    const TChartZoom z = ChartZoom(1);
    QCOMPARE(z.xFrom, 0.0);
    QCOMPARE(z.xTo, 0.875);
    QCOMPARE(z.yFrom[0], 0.0);
    QCOMPARE(z.yTo[0], 1.0);
    {
        TRecordedChart chart(QSize(400, 300));
        StandardPlot(&chart.surface, true);
        QVERIFY(!ChartGraphUnclipped());
        QCOMPARE(ChartXAxisInfo().max, 7.0);
        // The point now maps to 350: inside the drawing, outside the plot.
        DrawTextAt(kRed, label, 1, 8.2, 2, 0, 0);
        QVERIFY(!chart.device.findText(label));
        // A Ctrl-click restores the full range.
        ChartMouseDown(mbLeft, ssCtrl, 100, 100);
        ChartMouseUp(mbLeft, ssCtrl, 101, 101);
    }
    QVERIFY(ChartZoom(1).isFull());
    QVERIFY(drawn(true));
}

void ChartDrawTest::fontScopes()
{
    auto fontOf = [](const QString& text, auto&& before) {
        TRecordedChart chart(QSize(400, 300));
        StandardPlot(&chart.surface);
        before();
        DrawTextAt(kRed, text, 0, 4, 2, 0, 0);
        const auto t = chart.device.findText(text);
        return t ? t->font : QFont();
    };
    auto nothing = [] {};
    QFont f = fontOf(QStringLiteral("a"), nothing);
    QCOMPARE(f.family(), QStringLiteral("Arial"));
    QCOMPARE(f.pixelSize(), 11); // 8 pt at 96 dpi
    // Scope 0: this drawing only; italic code 5 leaves italic as it was.
    f = fontOf(QStringLiteral("b"), [] {
        SetTextFont(QStringLiteral("Courier"), 20, 2, 2, 0);
        SetTextFont(QString(), 0, 5, -1, 9);
    });
    QCOMPARE(f.family(), QStringLiteral("Courier"));
    QCOMPARE(f.pixelSize(), 27);
    QVERIFY(f.italic() && !f.bold());
    QCOMPARE(fontOf(QStringLiteral("c"), nothing).family(), QStringLiteral("Arial"));
    // Scope 1 carries the name over, scope 2 also the size; "DEF" is Arial.
    fontOf(QStringLiteral("d"), [] { SetTextFont(QStringLiteral("Courier"), 20, 0, 0, 1); });
    f = fontOf(QStringLiteral("e"), nothing);
    QCOMPARE(f.family(), QStringLiteral("Courier"));
    QCOMPARE(f.pixelSize(), 11);
    fontOf(QStringLiteral("g"), [] { SetTextFont(QStringLiteral("def"), 12, 0, 0, 2); });
    f = fontOf(QStringLiteral("h"), nothing);
    QCOMPARE(f.family(), QStringLiteral("Arial"));
    QCOMPARE(f.pixelSize(), 16);
}

void ChartDrawTest::titles()
{
    TRecordedChart chart(QSize(400, 300));
    StandardPlot(&chart.surface); // outer frame from y 0, plot 50..306
    DrawTitle(kRed, QStringLiteral("Title"));
    DrawTitle(kBlue, QStringLiteral("@Whole"));
    DrawTextAt(kRed, QStringLiteral("after"), 0, 4, 2, 0, 0);
    const auto t = chart.device.findText(QStringLiteral("Title"));
    const auto w = chart.device.findText(QStringLiteral("Whole"));
    const auto after = chart.device.findText(QStringLiteral("after"));
    QVERIFY(t && w && after);
    // Enlarged to rnd(1.2 * 8) = 10 pt (13 px) and bold, then restored.
    QCOMPARE(t->font.pixelSize(), 13);
    QVERIFY(t->font.bold());
    QCOMPARE(after->font.pixelSize(), 11);
    QVERIFY(!after->font.bold());
    QCOMPARE(t->colour, QColor(255, 0, 0));
    const QFontMetrics fm(t->font);
    QCOMPARE(qRound(t->baseline.x()), 178 - fm.horizontalAdvance(QStringLiteral("Title")) / 2);
    QCOMPARE(qRound(t->baseline.y()), 4 + fm.ascent());
    QCOMPARE(qRound(w->baseline.x()), 200 - fm.horizontalAdvance(QStringLiteral("Whole")) / 2);

    // Scope 3: titles keep the text font.
    TRecordedChart plain(QSize(400, 300));
    StandardPlot(&plain.surface);
    SetTextFont(QString(), 0, 0, 0, 3);
    DrawTitle(kRed, QStringLiteral("Plain"));
    const auto p = plain.device.findText(QStringLiteral("Plain"));
    QVERIFY(p);
    QCOMPARE(p->font.pixelSize(), 11);
    QVERIFY(!p->font.bold());
}

void ChartDrawTest::ninthGraphIsRefused()
{
    TRecordedChart chart(QSize(400, 300));
    InitChart(&chart.surface, kWhite, kBlack, 1.0f);
    for (int i = 0; i < 8; ++i)
        DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, false);
    QCOMPARE(ChartCurrentGraph(), 8);
    DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, false);
    QCOMPARE(ChartGraphCount(), 8);
    QCOMPARE(ChartCurrentGraph(), 0);
    DrawXAxis(kBlue, QStringLiteral("X"), 0, 0.0f, 8.0f, 0.0f, 0.0f, false, false, true, 0);
    DrawTitle(kRed, QStringLiteral("T"));
    DrawTextAt(kRed, QStringLiteral("t"), 0, 100, 100, 0, 0);
    QVERIFY(chart.device.joinedTexts().empty());
    // A plot narrower than one pixel is invalid as well.
    InitChart(&chart.surface, kWhite, kBlack, 1.0f);
    DefineGraph(0, 10, 0, 100, 30, 20, 10, 10, false);
    QVERIFY(!ChartGraphValid());
}

QTEST_MAIN(ChartDrawTest)
#include "chartdraw_qtest.moc"
