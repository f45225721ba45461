#include "PerformanceDiagram.h"

#include "FloatGuard.h"
#include "SafeFileReplacer.h"
#include "TrNoop.h"
#include "chartgraph.h"

#include <QBuffer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace
{

constexpr TColor kBackground = ChartRGB(202, 236, 253);
constexpr TColor kForeground = ChartRGB(0, 0, 128);
constexpr TColor kAxisColour = ChartRGB(0, 0, 255);
constexpr TColor kRed = ChartRGB(255, 0, 0);
constexpr int kMaxExportSide = 16384;
// Narrowest zoom window, as a fraction of an axis (docs/charts.md).
constexpr float kMinZoomFraction = 0.01f;

QString Percent(double rounded)
{
    return QString::number(rounded, 'f', 0);
}

// Rounded to the nearest integer, halves to even, without leaving double.
double RoundPercent(double v)
{
    return std::nearbyint(v);
}

bool FitsSingle(double v)
{
    return std::isfinite(v) && std::fabs(v) <= FLT_MAX && static_cast<float>(v) != 0.0f;
}

} // namespace

QString ComputePerformancePoints(const TPerformanceInput& in, TPerformancePoints& out)
{
    out = TPerformancePoints();
    if (!std::isfinite(in.L) || !std::isfinite(in.V) || !std::isfinite(in.f) || !std::isfinite(in.uL) ||
        !std::isfinite(in.uLmin))
        return QCoreApplication::translate("Velk", "数据无效，无法确定负荷点，不能绘制操作性能图！");
    if (in.L == 0)
        return QCoreApplication::translate("Velk", "液体流量为零，负荷点无定义，不能绘制操作性能图！");
    if (in.uL == 0)
        return QCoreApplication::translate("Velk", "液体负荷为零，负荷点无定义，不能绘制操作性能图！");
    if (in.L < 0 || in.V <= 0 || in.uL < 0 || in.uLmin < 0 || in.f <= 0)
        return QCoreApplication::translate(
            "Velk", "液体流量、气体流量、液体负荷和泛点百分数必须大于零，不能绘制操作性能图！");

    const QString rangeError =
        QCoreApplication::translate("Velk", "负荷点超出数值范围，不能绘制操作性能图！");
    TPerformancePoints p;
    try {
        FloatGuard guard;
        p.L = in.L;
        p.V = in.V;
        p.L80 = in.L * 80 / in.f;
        p.V80 = in.V * 80 / in.f;
        p.Lflood = 1.25 * p.L80;
        p.Vflood = 1.25 * p.V80;
        p.Lmin = in.uLmin / in.uL * in.L;
        p.Vmin = in.V / in.L * p.Lmin;
        p.minPercent = RoundPercent(in.uLmin * 100 / in.uL);
        p.percent80 = RoundPercent(p.L80 / in.L * 100);
        p.floodPercent = RoundPercent(1.25 * p.L80 / in.L * 100);
        guard.check();
    } catch (const EMathError&) {
        return rangeError;
    }
    for (double v : {p.Lmin, p.Vmin, p.L80, p.V80, p.Lflood, p.Vflood, p.minPercent})
        if (!std::isfinite(v)) return rangeError;
    // The axes hold their ranges in single precision.
    if (!FitsSingle(1.375 * p.L80) || !FitsSingle(1.375 * p.V80) || !FitsSingle(1.25 * p.L80 / 10) ||
        !FitsSingle(1.25 * p.V80 / 10))
        return rangeError;

    const QString pad = QStringLiteral("   ");
    TPerformanceLabel& lmin = p.labels[0];
    lmin.x = p.Lmin;
    lmin.y = p.Vmin;
    if (p.minPercent < 90) {
        lmin.text = QCoreApplication::translate("Velk", "最小负荷(") + Percent(p.minPercent) +
                    QStringLiteral("%)") + pad;
        lmin.hAlign = -1;
        lmin.vAlign = 0;
    } else {
        lmin.text = pad + QCoreApplication::translate("Velk", "最小负荷(") + Percent(p.minPercent) +
                    QStringLiteral("%)");
        lmin.hAlign = 1;
        lmin.vAlign = 1;
    }
    TPerformanceLabel& design = p.labels[1];
    design.x = p.L;
    design.y = p.V;
    design.text = (in.rating ? QCoreApplication::translate("Velk", "实际负荷(100%)")
                             : QCoreApplication::translate("Velk", "设计负荷(100%)")) +
                  pad;
    design.hAlign = -1;
    design.vAlign = 0;
    TPerformanceLabel& l80 = p.labels[2];
    l80.x = p.L80;
    l80.y = p.V80;
    if (p.percent80 > 110) {
        l80.text = QCoreApplication::translate("Velk", "80负荷(") + Percent(p.percent80) +
                   QStringLiteral("%)") + pad;
        l80.hAlign = -1;
        l80.vAlign = 0;
    } else {
        l80.text = pad + QCoreApplication::translate("Velk", "80负荷(") + Percent(p.percent80) +
                   QStringLiteral("%)");
        l80.hAlign = 1;
        l80.vAlign = -1;
    }
    TPerformanceLabel& flood = p.labels[3];
    flood.x = p.Lflood;
    flood.y = p.Vflood;
    if (p.floodPercent > 130) {
        flood.text = QCoreApplication::translate("Velk", "泛点负荷(") + Percent(p.floodPercent) +
                     QStringLiteral("%)") + pad;
        flood.hAlign = -1;
        flood.vAlign = 0;
    } else {
        flood.text = pad + QCoreApplication::translate("Velk", "泛点负荷(") + Percent(p.floodPercent) +
                     QStringLiteral("%)");
        flood.hAlign = 1;
        flood.vAlign = -1;
    }
    out = p;
    return QString();
}

namespace
{
// Text drawing needs the font database of a GUI application; without one
// Qt would abort the program.
bool HaveGuiApplication()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}
const char* const kNoGuiText = QT_TRANSLATE_NOOP("Velk", "绘图需要图形应用程序环境（可用 offscreen 平台）。");
constexpr TColor kCaseColour = ChartRGB(0, 110, 0);
constexpr TColor kBandColour = ChartRGB(150, 220, 150);

bool Drawable(double L, double V)
{
    return std::isfinite(L) && std::isfinite(V) && L >= 0 && V >= 0;
}

// The axes' ends: the diagram's own, widened so that every case and the
// window's ends lie inside.
std::pair<double, double> CaseExtent(const TPerformanceInput& in, double xMax, double yMax)
{
    auto take = [&](double L, double V) {
        if (!Drawable(L, V) || !FitsSingle(1.1 * L) || !FitsSingle(1.1 * V)) return;
        xMax = std::max(xMax, 1.1 * L);
        yMax = std::max(yMax, 1.1 * V);
    };
    for (const TPerformanceInput::Case& c : in.cases)
        take(c.L, c.V);
    if (in.window) take(in.window->Lmax, in.window->Vmax);
    return {xMax, yMax};
}

// The operating window: a broad pale line from its lowest to its highest load.
void DrawWindowBand(const TPerformanceInput& in)
{
    if (in.cases.empty() || !in.window) return;
    const TPerformanceInput::Band& b = *in.window;
    if (!Drawable(b.Lmin, b.Vmin) || !Drawable(b.Lmax, b.Vmax)) return;
    SetPenWidth(12);
    SetDash(0, 0, 0);
    SetPenColor(kBandColour);
    MoveToPoint(b.Lmin, b.Vmin);
    LineToPoint(b.Lmax, b.Vmax);
}

void DrawCasePoints(const TPerformanceInput& in)
{
    if (in.cases.empty()) return;
    SetPenWidth(2);
    SetDash(0, 0, 0);
    SetPenColor(kCaseColour);
    for (const TPerformanceInput::Case& c : in.cases) {
        if (!Drawable(c.L, c.V)) continue;
        MoveToPoint(c.L, c.V);
        AddMarker(c.governing ? kMarkSquare : kMarkDiagonalCross, 8, kFillPen);
        DrawTextAt(kCaseColour, QStringLiteral("  ") + c.name, 1, c.L, c.V, 1, kTextKeepInside);
    }
}

} // namespace

QString DrawPerformanceDiagram(TChartSurface* surface, const TPerformanceInput& in)
{
    if (!surface) return QCoreApplication::translate("Velk", "没有绘图表面。");
    if (!HaveGuiApplication()) return QCoreApplication::translate("Velk", kNoGuiText);
    TPerformancePoints p;
    const QString error = ComputePerformancePoints(in, p);
    if (!error.isEmpty()) return error;

    InitChart(surface, kBackground, kForeground, 1.0f);
    DefineGraph(0, 100, 0, 100, 60, 120, 60, 60, true);
    // The narrowest zoom is a fraction of each axis: a fixed span in kg/s
    // wider than a small column's whole axis would forbid zooming there.
    const auto [xLimit, yLimit] = CaseExtent(in, 1.375 * p.L80, 1.375 * p.V80);
    const float xMax = static_cast<float>(xLimit);
    const float yMax = static_cast<float>(yLimit);
    DrawXAxis(kAxisColour, QStringLiteral("L(") + in.flowUnit + QStringLiteral(")"), 0, 0.0f, xMax,
              static_cast<float>(1.25 * p.L80 / 10), kMinZoomFraction * xMax, true, false, true, 2);
    DrawYAxis(kAxisColour, QStringLiteral("V(") + in.flowUnit + QStringLiteral(")"), 5, 0.0f, yMax,
              static_cast<float>(1.25 * p.V80 / 10), kMinZoomFraction * yMax, true, false, true, 2);
    DrawWindowBand(in);
    SetPenWidth(2);
    SetDash(5, 0, 0);
    DrawTitle(kRed, QCoreApplication::translate("Velk", "操作性能图"));
    MoveToPoint(0, 0);
    SetPenColor(kRed);
    LineToPoint(p.Lmin, p.Vmin);
    AddMarker(kMarkCircle, 0, kFillBackground);
    SetDash(0, 0, 0);
    LineToPoint(p.L, p.V);
    AddMarker(kMarkCircle, 0, kFillPen);
    LineToPoint(p.L80, p.V80);
    AddMarker(kMarkTriangleUp, 10, kFillPen);
    SetDash(5, 0, 0);
    LineToPoint(p.Lflood, p.Vflood);
    AddMarker(kMarkSquare, 8, kFillPen);
    SetTextFont(QStringLiteral("宋体"), 10, 0, 0, 0);
    for (const TPerformanceLabel& l : p.labels)
        DrawTextAt(kRed, l.text, l.hAlign, l.x, l.y, l.vAlign, kTextKeepInside);
    DrawCasePoints(in);
    // The caption sits in the plot's top left corner, clear of the title and
    // of the load line, which runs along the diagonal.
    if (!in.caption.isEmpty())
        DrawTextAt(kForeground, QStringLiteral(" ") + in.caption, 1, 0, yMax, 1, kTextKeepInside);
    FlushChart();
    return QString();
}

QString FormatReadoutNumber(double v)
{
    return FormatGeneral(v, 4, 4);
}

QString PerformanceReadoutText(double x, double y)
{
    return QStringLiteral("L=") + FormatReadoutNumber(x) + QStringLiteral(" V=") + FormatReadoutNumber(y);
}

bool SavePerformanceDiagram(const QString& file, QSize size, const TPerformanceInput& in, QString* error)
{
    auto fail = [&](const QString& text) {
        if (error) *error = text;
        return false;
    };
    if (!HaveGuiApplication()) return fail(QCoreApplication::translate("Velk", kNoGuiText));
    if (size.width() < 1 || size.height() < 1 || size.width() > kMaxExportSide ||
        size.height() > kMaxExportSide)
        return fail(QCoreApplication::translate("Velk", "图形尺寸无效：%1 x %2")
                        .arg(size.width())
                        .arg(size.height()));
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg"))
        return fail(
            QCoreApplication::translate("Velk", "不支持的文件类型（只能保存为 PNG 或 SVG）：%1").arg(file));
    TPerformancePoints points;
    const QString undefined = ComputePerformancePoints(in, points);
    if (!undefined.isEmpty()) return fail(undefined);

    if (suffix == QLatin1String("png")) {
        TImageSurface surface(size);
        if (surface.image().isNull())
            return fail(QCoreApplication::translate("Velk", "内存不足，无法生成图形。"));
        const QString drawError = DrawPerformanceDiagram(&surface, in);
        surface.endPaint();
        if (!drawError.isEmpty()) return fail(drawError);
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        QImageWriter writer(&png, "png");
        if (!writer.write(surface.image()))
            return fail(QCoreApplication::translate("Velk", "无法写入文件：%1（%2）")
                            .arg(file, writer.errorString()));
        QString why;
        if (!SafeReplaceFile(file, png.data(), &why))
            return fail(QCoreApplication::translate("Velk", "无法写入文件：%1（%2）").arg(file, why));
        return true;
    }

    QSvgGenerator generator;
    QBuffer svg;
    svg.open(QIODevice::WriteOnly);
    generator.setOutputDevice(&svg);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(96);
    generator.setTitle(QCoreApplication::translate("Velk", "操作性能图"));
    QPainter painter;
    if (!painter.begin(&generator))
        return fail(QCoreApplication::translate("Velk", "无法写入文件：%1").arg(file));
    QString drawError;
    {
        TPainterSurface surface(&painter, size);
        drawError = DrawPerformanceDiagram(&surface, in);
    }
    if (!painter.end()) return fail(QCoreApplication::translate("Velk", "无法写入文件：%1").arg(file));
    if (!drawError.isEmpty()) return fail(drawError);
    QString why;
    if (!SafeReplaceFile(file, svg.data(), &why))
        return fail(QCoreApplication::translate("Velk", "无法写入文件：%1（%2）").arg(file, why));
    return true;
}
