// Cross-hair, rubber band, read-out and zoom of the chart engine.

#include "charttestutil.h"

#include <QtTest>

class ChartMouseTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void crossHairErasesExactly();
    void readout();
    void rubberBandZoomAndReset();
    void zoomWindowLimits();
    void otherButtonsStartNothing();
};

void ChartMouseTest::init()
{
    ChartResetZoom(0);
    ResetChartSettings();
}

void ChartMouseTest::crossHairErasesExactly()
{
    TCountingSurface surface(QSize(400, 300));
    StandardPlot(&surface);
    SetPenColor(kRed);
    MoveToPoint(0, 0);
    LineToPoint(8, 4);
    FlushChart();
    surface.endPaint();
    const QImage before = surface.image().copy();

    ChartMouseDown(mbLeft, ssLeft, 178, 156);
    QVERIFY(surface.cursorHidden);
    QCOMPARE(surface.confinedTo, QRect(QPoint(50, 92), QPoint(306, 220)));
    QVERIFY(ChartOverlayShown());
    surface.endPaint();
    // White XOR (white XOR black) shows black, the contrast colour.
    QCOMPARE(PixelAt(surface.image(), 178, 100), Rgb(kBlack));
    QCOMPARE(PixelAt(surface.image(), 60, 156), Rgb(kBlack));
    QCOMPARE(PixelAt(surface.image(), 179, 100), Rgb(kWhite));
    // Only the two lines change, the red diagonal under them included.
    int changed = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            if (surface.image().pixel(x, y) != before.pixel(x, y)) {
                QVERIFY(x == 178 || y == 156);
                ++changed;
            }
    // Vertical 92..220 and horizontal 50..306 cross once: their common
    // pixel is flipped twice and stays.
    QCOMPARE(changed, 129 + 257 - 2);

    ChartMouseMove(ssLeft, 250, 120);
    surface.endPaint();
    QCOMPARE(PixelAt(surface.image(), 178, 100), before.pixel(178, 100) | 0xFF000000);
    QCOMPARE(PixelAt(surface.image(), 250, 100), Rgb(kBlack));
    ChartMouseUp(mbLeft, 0, 250, 120);
    surface.endPaint();
    QVERIFY(!surface.cursorHidden);
    QVERIFY(surface.confinedTo.isEmpty());
    QCOMPARE(surface.image(), before);
    QCOMPARE(surface.refreshes, 0);
}

void ChartMouseTest::readout()
{
    TCountingSurface surface(QSize(400, 300));
    StandardPlot(&surface);
    TChartReadout& r = ChartReadout();

    r.worldX = -1;
    ChartMouseDown(mbLeft, ssLeft, 130, 188); // 80 and 32 pixels into the plot
    QCOMPARE(r.worldX, 2.5);
    QCOMPARE(r.worldY[0], 1.0f);
    QCOMPARE(r.graph, 1);
    QCOMPARE(ChartReadoutRecord(kReadoutPress).worldX, 2.5);

    // Moving without the left button reads nothing.
    r.worldX = -1;
    ChartMouseMove(0, 200, 100);
    QCOMPARE(r.worldX, -1.0);

    // The cross-hair stays inside the plot: a move beyond it reads the edge.
    ChartMouseMove(ssLeft, 380, 10);
    QCOMPARE(r.worldX, 8.0);
    QCOMPARE(r.worldY[0], 4.0f);
    QCOMPARE(r.mouseX, 306);
    ChartMouseMove(ssLeft, 66, 204); // 16 px each way: 0.5, 0.5
    QCOMPARE(r.worldX, 0.5);
    QCOMPARE(r.worldY[0], 0.5f);
    ChartMouseUp(mbLeft, 0, 66, 204);
    QCOMPARE(ChartReadoutRecord(kReadoutRelease).worldX, 0.5);

    // A press outside the plot without Ctrl starts nothing.
    r.worldX = -1;
    ChartMouseDown(mbLeft, ssLeft, 20, 20);
    QCOMPARE(r.worldX, -1.0);
    QVERIFY(!ChartOverlayShown());
    ChartMouseUp(mbLeft, 0, 20, 20);
}

void ChartMouseTest::rubberBandZoomAndReset()
{
    TCountingSurface surface(QSize(400, 300));
    StandardPlot(&surface);
    surface.endPaint();
    const QImage before = surface.image().copy();

    // From (2, 3) to (4, 1) in world units.
    ChartMouseDown(mbLeft, ssCtrl | ssLeft, 114, 124);
    ChartMouseMove(ssCtrl | ssLeft, 160, 170);
    surface.endPaint();
    // The band's outline runs from the start corner to the mouse.
    QCOMPARE(PixelAt(surface.image(), 114, 150), Rgb(kBlack));
    QCOMPARE(PixelAt(surface.image(), 160, 150), Rgb(kBlack));
    QCOMPARE(PixelAt(surface.image(), 140, 124), Rgb(kBlack));
    QCOMPARE(PixelAt(surface.image(), 140, 170), Rgb(kBlack));
    QCOMPARE(PixelAt(surface.image(), 140, 150), Rgb(kWhite));
    ChartMouseMove(ssCtrl | ssLeft, 178, 188);
    QCOMPARE(ChartReadout().worldX, 4.0);
    ChartMouseUp(mbLeft, ssCtrl, 178, 188);
    surface.endPaint();
    QCOMPARE(surface.image(), before);
    QCOMPARE(surface.refreshes, 1);
    TChartZoom z = ChartZoom(1);
    QCOMPARE(z.xFrom, 0.25);
    QCOMPARE(z.xTo, 0.5);
    QCOMPARE(z.yFrom[0], 0.25);
    QCOMPARE(z.yTo[0], 0.75);

    // The next drawing of slot 1 shows the window, clipped.
    StandardPlot(&surface, true);
    QCOMPARE(ChartXAxisInfo().min, 2.0);
    QCOMPARE(ChartXAxisInfo().max, 4.0);
    QCOMPARE(ChartYAxisInfo().min, 1.0);
    QCOMPARE(ChartYAxisInfo().max, 3.0);
    QVERIFY(!ChartGraphUnclipped());

    // Zooming again works inside the visible range: its left half.
    ChartMouseDown(mbLeft, ssCtrl, 50, 92);
    ChartMouseUp(mbLeft, ssCtrl, 178, 220);
    z = ChartZoom(1);
    QCOMPARE(z.xFrom, 0.25);
    QCOMPARE(z.xTo, 0.375);

    // Without Ctrl at release the box is dropped.
    ChartMouseDown(mbLeft, ssCtrl, 60, 100);
    ChartMouseUp(mbLeft, 0, 200, 200);
    QCOMPARE(ChartZoom(1).xTo, 0.375);

    // A Ctrl-click restores the full range.
    ChartMouseDown(mbLeft, ssCtrl, 100, 100);
    ChartMouseUp(mbLeft, ssCtrl, 101, 100);
    QVERIFY(ChartZoom(1).isFull());
    StandardPlot(&surface, true);
    QCOMPARE(ChartXAxisInfo().max, 8.0);
    QVERIFY(ChartGraphUnclipped());
}

void ChartMouseTest::zoomWindowLimits()
{
    TCountingSurface surface(QSize(400, 300));
    auto plot = [&](float xMax, float xSpan, float ySpan, int rangeMode) {
        ChartResetZoom(1);
        InitChart(&surface, kWhite, kBlack, 1.0f);
        DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, false);
        DrawXAxis(kBlue, QString(), 0, 0.0f, xMax, 2.0f, xSpan, false, false, true, rangeMode);
        DrawYAxis(kBlue, QString(), 5, 0.0f, 4.0f, 0.0f, ySpan, false, false, true, 0);
    };
    auto zoom = [](int x0, int y0, int x1, int y1) {
        ChartResetZoom(1);
        ChartMouseDown(mbLeft, ssCtrl, x0, y0);
        ChartMouseUp(mbLeft, ssCtrl, x1, y1);
        return ChartZoom(1);
    };
    // X at least 2 of 8 wide: the Y axes share the fraction of the first.
    plot(8.0f, 2.0f, 0.0f, 0);
    QCOMPARE(ChartXAxisInfo().minZoomFraction, 0.25);
    QCOMPARE(ChartYAxisInfo().minZoomFraction, 0.001);
    // X 4..4.5 (fractions 0.5..0.5625) widens about 0.53125.
    TChartZoom z = zoom(178, 92, 194, 220);
    QCOMPARE(z.xFrom, 0.40625);
    QCOMPARE(z.xTo, 0.65625);
    // X 0.5..1 widens about 3/32 and is moved back inside the range.
    z = zoom(66, 92, 82, 220);
    QCOMPARE(z.xFrom, 0.0);
    QCOMPARE(z.xTo, 0.25);

    // 0..7.5 widened to 8: a box reaching past 7.5 leaves X alone.
    plot(7.5f, 0.0f, 0.0f, 2);
    QCOMPARE(ChartXAxisInfo().max, 8.0);
    z = zoom(178, 124, 302, 188);
    QCOMPARE(z.xFrom, 0.0);
    QCOMPARE(z.xTo, 1.0);
    QCOMPARE(z.yFrom[0], 0.25);
    QCOMPARE(z.yTo[0], 0.75);

    // A narrowest window wider than the axis leaves no zoom at all.
    plot(8.0f, 50.0f, 50.0f, 0);
    QVERIFY(zoom(114, 124, 178, 188).isFull());

    // Without the automatic redraw the zoom is kept but not shown.
    const int refreshes = surface.refreshes;
    QVERIFY(SetChartSetting(kSetDisableZoomAutoRedraw, 1));
    plot(8.0f, 0.0f, 0.0f, 0);
    QVERIFY(!zoom(114, 124, 178, 188).isFull());
    QCOMPARE(surface.refreshes, refreshes);
}

void ChartMouseTest::otherButtonsStartNothing()
{
    TCountingSurface surface(QSize(400, 300));
    StandardPlot(&surface);
    surface.endPaint();
    const QImage before = surface.image().copy();
    ChartReadout().worldX = -1;
    ChartMouseDown(mbRight, ssRight, 178, 156);
    ChartMouseDown(mbMiddle, ssMiddle | ssCtrl, 178, 156);
    ChartMouseMove(ssRight | ssMiddle, 200, 160);
    ChartMouseUp(mbRight, 0, 200, 160);
    surface.endPaint();
    QCOMPARE(ChartReadout().worldX, -1.0);
    QVERIFY(!ChartOverlayShown());
    QCOMPARE(surface.image(), before);
    QVERIFY(ChartZoom(1).isFull());

    // Mouse calls without a drawing do nothing either.
    ChartDetachSurface(&surface);
    ChartMouseDown(mbLeft, ssLeft, 178, 156);
    QCOMPARE(ChartReadout().worldX, -1.0);
}

QTEST_MAIN(ChartMouseTest)
#include "chartmouse_qtest.moc"
