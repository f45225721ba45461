// The operating performance diagram: load points and labels, the drawing,
// the read-out text, the export and the view of the diagram page.

#include "PerformanceDiagram.h"
#include "PerformanceView.h"
#include "charttestutil.h"

#include "Messages.h"

#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

TPerformanceInput TypicalCase()
{
    TPerformanceInput in;
    in.L = 2.5;
    in.V = 3.0;
    in.f = 80;
    in.uL = 0.004;
    in.uLmin = 5.5556e-5;
    return in;
}

const QRgb kDiagramBackground = qRgb(202, 236, 253);
const QRgb kDiagramRed = qRgb(255, 0, 0);

} // namespace

class PerformanceTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void loadPoints();
    void ratingPointsFollowTheActualLoad();
    void labelSides_data();
    void labelSides();
    void undefinedLoadPoints_data();
    void undefinedLoadPoints();
    void diagramGeometry();
    void diagramPixels();
    void readoutText();
    void exportFiles();
    void viewDrawsAndReads();
    void viewZoomsAndKeepsZoom();
    void viewReportsOnce();
    void viewOverlayOnlyShowsPicture();
};

void PerformanceTest::init()
{
    ChartResetZoom(0);
    ChartForgetFontChoices();
}

void PerformanceTest::loadPoints()
{
    TPerformancePoints p;
    QVERIFY(ComputePerformancePoints(TypicalCase(), p).isEmpty());
    QCOMPARE(p.L80, 2.5);
    QCOMPARE(p.V80, 3.0);
    QCOMPARE(p.Lflood, 3.125);
    QCOMPARE(p.Vflood, 3.75);
    QCOMPARE(p.Lmin, 0.0347225); // 5.5556e-5 / 0.004 * 2.5
    QCOMPARE(p.Vmin, 0.041667);
    QCOMPARE(p.labels[1].text, QStringLiteral("设计负荷(100%)   "));
    QCOMPARE(p.labels[1].hAlign, -1);
}

// At 108.8 % of flood the diagram showed "泛点负荷(125%)" and "80负荷(100%)".
void PerformanceTest::ratingPointsFollowTheActualLoad()
{
    TPerformanceInput in = TypicalCase();
    in.f = 108.8;
    in.rating = true;
    TPerformancePoints p;
    QVERIFY(ComputePerformancePoints(in, p).isEmpty());
    QCOMPARE(p.Lflood, in.L * 100 / 108.8);
    QCOMPARE(p.floodPercent, 92.0);  // 10000 / 108.8 = 91.9
    QCOMPARE(p.percent80, 74.0);     // 8000 / 108.8 = 73.5
    QCOMPARE(p.labels[1].text, QStringLiteral("实际负荷(100%)   "));
    QCOMPARE(p.labels[3].text, QStringLiteral("   泛点负荷(92%)"));
}

void PerformanceTest::labelSides_data()
{
    QTest::addColumn<double>("f");
    QTest::addColumn<double>("uLmin");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("hAlign");
    QTest::addColumn<int>("vAlign");
    const double typical = 5.5556e-5;
    QTest::newRow("minimum at 1 %") << 80.0 << typical << 0 << QStringLiteral("最小负荷(1%)   ") << -1 << 0;
    // At f = 80 the 80 % point is the design point: right of it, above.
    QTest::newRow("80 % at f 80") << 80.0 << typical << 2 << QStringLiteral("   80负荷(100%)") << 1 << -1;
    QTest::newRow("flooding at f 80") << 80.0 << typical << 3 << QStringLiteral("   泛点负荷(125%)") << 1 << -1;
    QTest::newRow("80 % at f 50") << 50.0 << typical << 2 << QStringLiteral("80负荷(160%)   ") << -1 << 0;
    QTest::newRow("flooding at f 50") << 50.0 << typical << 3 << QStringLiteral("泛点负荷(200%)   ") << -1 << 0;
    QTest::newRow("minimum at 95 %") << 80.0 << 0.0038 << 0 << QStringLiteral("   最小负荷(95%)") << 1 << 1;
    QTest::newRow("minimum at 89 %") << 80.0 << 0.00356 << 0 << QStringLiteral("最小负荷(89%)   ") << -1 << 0;
    // uLmin * 100 / uL = 2.5 exactly: halves go to the even neighbour.
    QTest::newRow("minimum at 2.5 %") << 80.0 << 0.0001 << 0 << QStringLiteral("最小负荷(2%)   ") << -1 << 0;
    QTest::newRow("80 % at 110") << 8000.0 / 110 << 0.0 << 2 << QStringLiteral("   80负荷(110%)") << 1 << -1;
    QTest::newRow("80 % at 111") << 8000.0 / 111 << 0.0 << 2 << QStringLiteral("80负荷(111%)   ") << -1 << 0;
    QTest::newRow("flooding at 137") << 8000.0 / 110 << 0.0 << 3 << QStringLiteral("泛点负荷(137%)   ") << -1
                                     << 0;
    QTest::newRow("flooding at 130") << 10000.0 / 130 << 0.0 << 3 << QStringLiteral("   泛点负荷(130%)") << 1
                                     << -1;
}

void PerformanceTest::labelSides()
{
    QFETCH(double, f);
    QFETCH(double, uLmin);
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(int, hAlign);
    QFETCH(int, vAlign);
    TPerformanceInput in = TypicalCase();
    in.f = f;
    in.uLmin = uLmin;
    TPerformancePoints p;
    QVERIFY(ComputePerformancePoints(in, p).isEmpty());
    QCOMPARE(p.labels[index].text, text);
    QCOMPARE(p.labels[index].hAlign, hAlign);
    QCOMPARE(p.labels[index].vAlign, vAlign);
}

void PerformanceTest::undefinedLoadPoints_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no liquid flow") << 0 << 0.0 << QStringLiteral("液体流量为零");
    QTest::newRow("no liquid load") << 3 << 0.0 << QStringLiteral("液体负荷为零");
    QTest::newRow("NaN vapour") << 1 << std::nan("") << QStringLiteral("数据无效");
    QTest::newRow("infinite minimum") << 4 << HUGE_VAL << QStringLiteral("数据无效");
    QTest::newRow("no vapour") << 1 << 0.0 << QStringLiteral("必须大于零");
    QTest::newRow("no flooding percentage") << 2 << 0.0 << QStringLiteral("必须大于零");
    QTest::newRow("negative flow") << 0 << -1.0 << QStringLiteral("必须大于零");
    QTest::newRow("tiny percentage") << 2 << 1e-300 << QStringLiteral("超出数值范围");
}

void PerformanceTest::undefinedLoadPoints()
{
    QFETCH(int, field);
    QFETCH(double, value);
    QFETCH(QString, reason);
    TPerformanceInput in = TypicalCase();
    double* fields[] = {&in.L, &in.V, &in.f, &in.uL, &in.uLmin};
    *fields[field] = value;
    TPerformancePoints p;
    QVERIFY(ComputePerformancePoints(in, p).contains(reason));

    // Nothing is drawn: the surface keeps what it had.
    TImageSurface surface(QSize(200, 150));
    surface.image().fill(Qt::green);
    const QString error = DrawPerformanceDiagram(&surface, in);
    QVERIFY(error.contains(reason));
    surface.endPaint();
    QCOMPARE(surface.image().pixel(100, 75), qRgb(0, 255, 0));
}

void PerformanceTest::diagramGeometry()
{
    TRecordedChart chart(kDefaultDiagramSize);
    QVERIFY(DrawPerformanceDiagram(&chart.surface, TypicalCase()).isEmpty());
    // Plot 60..881 x 60..667; X widened to 3.6 (first major tick beyond
    // 1.375 * 2.5), Y to 4.5.
    QCOMPARE(ChartPlotRect(), QRect(QPoint(60, 60), QPoint(881, 667)));
    QVERIFY(std::abs(ChartXAxisInfo().max - 3.6) < 1e-9);
    QCOMPARE(ChartYAxisInfo().max, 4.5);
    QVERIFY(chart.device.findText(QStringLiteral("3.6")));
    QVERIFY(chart.device.findText(QStringLiteral("4.5")));
    QVERIFY(!chart.device.findText(QStringLiteral("3.8")));

    const auto title = chart.device.findText(QStringLiteral("操作性能图"));
    QVERIFY(title);
    QCOMPARE(title->colour, QColor(255, 0, 0));
    QVERIFY(title->font.bold());
    QVERIFY(std::abs(title->baseline.x() + title->width / 2 - 470) <= 1.0);

    // Labels beside their points: 80 % and design at (630, 262), flooding
    // at (773, 161), minimum at (68, 661); the minimum's label would leave
    // the diagram on the left and stands right of its point instead.
    const auto l80 = chart.device.findText(QStringLiteral("   80负荷(100%)"));
    const auto flood = chart.device.findText(QStringLiteral("   泛点负荷(125%)"));
    const auto design = chart.device.findText(QStringLiteral("设计负荷(100%)   "));
    const auto minimum = chart.device.findText(QStringLiteral("   最小负荷(1%)"));
    QVERIFY(l80 && flood && design && minimum);
    QCOMPARE(l80->font.family(), QStringLiteral("宋体"));
    QCOMPARE(l80->font.pixelSize(), 13);
    const QFontMetrics fm(l80->font);
    QCOMPARE(qRound(l80->baseline.x()), 633);
    QCOMPARE(qRound(l80->baseline.y()), 262 - fm.height() + fm.ascent());
    QCOMPARE(qRound(flood->baseline.x()), 776);
    QCOMPARE(qRound(flood->baseline.y()), 161 - fm.height() + fm.ascent());
    QVERIFY(std::abs(design->right() - 627) <= 1.0);
    QCOMPARE(qRound(design->baseline.y()), 262 - fm.height() / 2 + fm.ascent());
    QCOMPARE(qRound(minimum->baseline.x()), 71);
    QCOMPARE(qRound(minimum->baseline.y()), 661 - fm.height() / 2 + fm.ascent());

    // Markers: circles of the font size 8 at the minimum and design points,
    // triangle 10 at 80 %, square 8 at flooding.
    const auto& rec = chart.device.record();
    QCOMPARE(static_cast<int>(rec.ellipses.size()), 2);
    QCOMPARE(rec.ellipses[0], QRectF(64, 657, 8, 8));
    QCOMPARE(rec.ellipses[1], QRectF(626, 258, 8, 8));
    QCOMPARE(static_cast<int>(rec.polygons.size()), 1);
    QCOMPARE(rec.polygons[0], QPolygonF({QPointF(625, 267), QPointF(635, 267), QPointF(630, 255)}));
}

void PerformanceTest::diagramPixels()
{
    TImageSurface surface(kDefaultDiagramSize);
    QVERIFY(DrawPerformanceDiagram(&surface, TypicalCase()).isEmpty());
    surface.endPaint();
    const QImage& img = surface.image();
    QCOMPARE(PixelAt(img, 5, 5), kDiagramBackground);
    QCOMPARE(PixelAt(img, 0, 300), qRgb(0, 0, 128)); // the frame
    QCOMPARE(PixelAt(img, 630, 262), kDiagramRed);
    QCOMPARE(PixelAt(img, 773, 161), kDiagramRed);
    QCOMPARE(PixelAt(img, 777, 165), kDiagramRed);
    // The minimum marker is filled with the background, over the line.
    QCOMPARE(PixelAt(img, 68, 661), kDiagramBackground);
    QCOMPARE(PixelAt(img, 64, 661), kDiagramRed);
    // The solid line from the minimum (68, 661) to the design point
    // (630, 262) crosses x = 350 at y = 460.8 with a pen two pixels wide.
    QVERIFY(PixelAt(img, 350, 460) == kDiagramRed || PixelAt(img, 350, 461) == kDiagramRed);
}

void PerformanceTest::readoutText()
{
    QCOMPARE(PerformanceReadoutText(1.8, 2.25), QStringLiteral("L=1.8 V=2.25"));
    QCOMPARE(PerformanceReadoutText(1.797807551766139, 2.2462933f), QStringLiteral("L=1.798 V=2.246"));
    QCOMPARE(PerformanceReadoutText(12346, 0.000001234), QStringLiteral("L=1.235E0004 V=1.234E-0006"));
    QCOMPARE(PerformanceReadoutText(0, 0.5), QStringLiteral("L=0 V=0.5"));
}

void PerformanceTest::exportFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString error;
    const QString png = dir.filePath(QStringLiteral("d.PNG"));
    QVERIFY2(SavePerformanceDiagram(png, kDefaultDiagramSize, TypicalCase(), &error), qPrintable(error));
    QImage img(png);
    QCOMPARE(img.size(), QSize(1001, 727));
    QCOMPARE(PixelAt(img, 630, 262), kDiagramRed);
    QCOMPARE(PixelAt(img, 5, 5), kDiagramBackground);

    const QString svg = dir.filePath(QStringLiteral("d.svg"));
    QVERIFY2(SavePerformanceDiagram(svg, QSize(640, 480), TypicalCase(), &error), qPrintable(error));
    QFile file(svg);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.contains(QStringLiteral("操作性能图")));
    QVERIFY(text.contains(QStringLiteral("泛点负荷(125%)")));
    QSvgRenderer renderer(svg);
    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.viewBox(), QRect(0, 0, 640, 480));

    const QString bmp = dir.filePath(QStringLiteral("d.bmp"));
    QVERIFY(!SavePerformanceDiagram(bmp, kDefaultDiagramSize, TypicalCase(), &error));
    QVERIFY(error.contains(QStringLiteral("PNG")));
    QVERIFY(!QFile::exists(bmp));
    QVERIFY(
        !SavePerformanceDiagram(dir.filePath(QStringLiteral("e.png")), QSize(0, 10), TypicalCase(), &error));
    TPerformanceInput undefined = TypicalCase();
    undefined.uL = 0;
    QVERIFY(!SavePerformanceDiagram(dir.filePath(QStringLiteral("u.svg")), kDefaultDiagramSize, undefined,
                                    &error));
    QVERIFY(error.contains(QStringLiteral("液体负荷为零")));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("u.svg"))));
    QVERIFY(!SavePerformanceDiagram(dir.filePath(QStringLiteral("missing/x.png")), kDefaultDiagramSize,
                                    TypicalCase(), &error));
    QVERIFY(!error.isEmpty());
}

namespace {
void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent e(type, at, w->mapToGlobal(at), button, buttons, modifiers);
    QApplication::sendEvent(w, &e);
}
} // namespace

void PerformanceTest::viewDrawsAndReads()
{
    TPerformanceView view;
    QStringList statuses;
    TPerformanceInput in = TypicalCase();
    bool haveInput = true;
    view.setInputProvider([&](TPerformanceView::TCause) -> std::optional<TPerformanceInput> {
        if (!haveInput)
            return std::nullopt;
        return in;
    });
    view.setStatusCallback([&](const QString& s) { statuses << s; });
    view.resize(kDefaultDiagramSize);
    const QImage shot = view.grab().toImage();
    QVERIFY(view.hasDiagram());
    QCOMPARE(view.drawCount(), 1);
    QCOMPARE(PixelAt(shot, 630, 262), kDiagramRed);

    // A press in the plot shows the reading; (470, 364) is
    // 410 / 821 * 3.6 and 303 / 607 * 4.5.
    SendMouse(&view, QEvent::MouseButtonPress, QPoint(470, 364), Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(statuses, QStringList{QStringLiteral("L=1.798 V=2.246")});
    QVERIFY(view.picture().pixel(470, 100) != view.picture().pixel(471, 100)); // the cross-hair
    SendMouse(&view, QEvent::MouseMove, QPoint(224, 243), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(statuses.last(), QStringLiteral("L=0.7191 V=3.143")); // 164 / 821 * 3.6, 424 / 607 * 4.5
    SendMouse(&view, QEvent::MouseButtonRelease, QPoint(224, 243), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(statuses.size(), 2);
    // Moving without a button leaves the text alone.
    SendMouse(&view, QEvent::MouseMove, QPoint(300, 300), Qt::NoButton, Qt::NoButton);
    QCOMPARE(statuses.size(), 2);
    // After the release the picture is the diagram again, without overlay.
    QCOMPARE(view.picture().pixel(470, 100), view.picture().pixel(471, 100));

    // Saving from the view writes the view's size.
    QTemporaryDir dir;
    QString error;
    QVERIFY(view.saveDiagram(dir.filePath(QStringLiteral("v.png")), &error));
    QCOMPARE(QImage(dir.filePath(QStringLiteral("v.png"))).size(), kDefaultDiagramSize);
    // The mouse works on the view again although the engine drew the file.
    SendMouse(&view, QEvent::MouseButtonPress, QPoint(470, 364), Qt::LeftButton, Qt::LeftButton);
    SendMouse(&view, QEvent::MouseButtonRelease, QPoint(470, 364), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(statuses.last(), QStringLiteral("L=1.798 V=2.246"));

    // With nothing to draw the page is empty and the mouse reads nothing.
    haveInput = false;
    view.grab();
    QVERIFY(!view.hasDiagram());
    SendMouse(&view, QEvent::MouseButtonPress, QPoint(470, 364), Qt::LeftButton, Qt::LeftButton);
    SendMouse(&view, QEvent::MouseButtonRelease, QPoint(470, 364), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(statuses.size(), 3);
    QVERIFY(!view.saveDiagram(dir.filePath(QStringLiteral("n.png")), &error));
}

void PerformanceTest::viewZoomsAndKeepsZoom()
{
    TPerformanceView view;
    TPerformanceInput in;
    in.L = 100; // large enough for the 50 kg/s narrowest zoom window
    in.V = 120;
    in.f = 80;
    in.uL = 0.01;
    in.uLmin = 0.0001;
    view.setInputProvider([&](TPerformanceView::TCause) { return std::optional<TPerformanceInput>(in); });
    view.resize(kDefaultDiagramSize);
    view.grab();
    // X 0..140 (full 137.5), Y 0..180 (full 165).
    QCOMPARE(ChartXAxisInfo().max, 140.0);
    QCOMPARE(ChartYAxisInfo().max, 180.0);
    SendMouse(&view, QEvent::MouseButtonPress, QPoint(60, 667), Qt::LeftButton, Qt::LeftButton,
              Qt::ControlModifier);
    SendMouse(&view, QEvent::MouseMove, QPoint(470, 364), Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
    SendMouse(&view, QEvent::MouseButtonRelease, QPoint(470, 364), Qt::LeftButton, Qt::NoButton,
              Qt::ControlModifier);
    const TChartZoom z = ChartZoom(1);
    QCOMPARE(z.xFrom, 0.0);
    QCOMPARE(z.xTo, 0.5084708227217363);
    QCOMPARE(z.yFrom[0], 0.0);
    QCOMPARE(z.yTo[0], 0.5445559382956418);
    const int before = view.drawCount();
    view.grab();
    QCOMPARE(view.drawCount(), before + 1);
    QVERIFY(ChartXAxisInfo().max < 80);
    view.redraw();
    QVERIFY(ChartXAxisInfo().max < 80);
    QVERIFY(!ChartGraphUnclipped());

    // Ctrl-click: full range again.
    SendMouse(&view, QEvent::MouseButtonPress, QPoint(300, 300), Qt::LeftButton, Qt::LeftButton,
              Qt::ControlModifier);
    SendMouse(&view, QEvent::MouseButtonRelease, QPoint(300, 300), Qt::LeftButton, Qt::NoButton,
              Qt::ControlModifier);
    view.grab();
    QCOMPARE(ChartXAxisInfo().max, 140.0);
}

void PerformanceTest::viewReportsOnce()
{
    TPerformanceView view;
    QStringList errors;
    int mode = 0;
    view.setInputProvider([&](TPerformanceView::TCause) -> std::optional<TPerformanceInput> {
        if (mode == 1)
            throw EVelkError("broken field");
        if (mode == 2)
            throw EAbort();
        TPerformanceInput in = TypicalCase();
        in.L = 0;
        return in;
    });
    view.setErrorCallback([&](const QString& s) { errors << s; });
    view.resize(400, 300);
    view.grab();
    view.grab();
    QCoreApplication::processEvents();
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors[0].contains(QStringLiteral("液体流量为零")));
    QVERIFY(!view.hasDiagram());
    view.redraw(); // the command tells again
    QCoreApplication::processEvents();
    QCOMPARE(errors.size(), 2);

    mode = 1;
    view.grab();
    view.grab();
    QCoreApplication::processEvents();
    QCOMPARE(errors.size(), 3);
    QCOMPARE(errors[2], QStringLiteral("broken field"));
    mode = 2;
    view.redraw();
    QCoreApplication::processEvents();
    QCOMPARE(errors.size(), 3);
}

void PerformanceTest::viewOverlayOnlyShowsPicture()
{
    TPerformanceView view;
    int asked = 0;
    view.setInputProvider([&](TPerformanceView::TCause) {
        ++asked;
        return std::optional<TPerformanceInput>(TypicalCase());
    });
    view.resize(600, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTRY_VERIFY(view.drawCount() >= 1);
    const int drawn = view.drawCount();
    const int askedBefore = asked;
    // The cross-hair's repaints show the picture with the overlay; they do
    // not recalculate.
    SendMouse(&view, QEvent::MouseButtonPress, QPoint(300, 200), Qt::LeftButton, Qt::LeftButton);
    QTest::qWait(30);
    SendMouse(&view, QEvent::MouseMove, QPoint(320, 210), Qt::NoButton, Qt::LeftButton);
    QTest::qWait(30);
    SendMouse(&view, QEvent::MouseButtonRelease, QPoint(320, 210), Qt::LeftButton, Qt::NoButton);
    QTest::qWait(30);
    QCOMPARE(view.drawCount(), drawn);
    QCOMPARE(asked, askedBefore);
    const QImage shown = view.grab().toImage();
    QCOMPARE(view.drawCount(), drawn + 1); // a plain repaint draws anew
    QCOMPARE(shown.pixel(320, 100), shown.pixel(321, 100));
    view.update();
    QTRY_COMPARE(view.drawCount(), drawn + 2);
}

QTEST_MAIN(PerformanceTest)
#include "performance_qtest.moc"
