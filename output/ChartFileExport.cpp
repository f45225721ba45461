#include "ChartFileExport.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QSvgGenerator>

#include "SafeFileReplacer.h"
#include "TrNoop.h"
#include "chartgraph.h"
#include "chartsurface.h"

namespace
{

// A picture larger than this is a typing error, not a wish.
constexpr int kMaxExportSide = 16384;

QString Tr(const char* text)
{
    return QCoreApplication::translate("Velk", text);
}

QString DrawPng(const QString& file, QSize size, const ChartDrawer& draw, QByteArray& out)
{
    TImageSurface surface(size);
    if (surface.image().isNull()) return Tr(QT_TRANSLATE_NOOP("Velk", "内存不足，无法生成图形。"));
    const QString drawError = draw(&surface);
    surface.endPaint();
    ChartDetachSurface(&surface);
    if (!drawError.isEmpty()) return drawError;
    QBuffer png(&out);
    png.open(QIODevice::WriteOnly);
    QImageWriter writer(&png, "png");
    if (!writer.write(surface.image()))
        return Tr(QT_TRANSLATE_NOOP("Velk", "无法写入文件：%1（%2）")).arg(file, writer.errorString());
    return {};
}

QString DrawSvg(const QString& file, QSize size, const QString& title, const ChartDrawer& draw,
                QByteArray& out)
{
    QBuffer svg(&out);
    svg.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&svg);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(96);
    generator.setTitle(title);
    QPainter painter;
    if (!painter.begin(&generator)) return Tr(QT_TRANSLATE_NOOP("Velk", "无法写入文件：%1")).arg(file);
    QString drawError;
    {
        TPainterSurface surface(&painter, size);
        drawError = draw(&surface);
        ChartDetachSurface(&surface);
    }
    if (!painter.end()) return Tr(QT_TRANSLATE_NOOP("Velk", "无法写入文件：%1")).arg(file);
    return drawError;
}

} // namespace

bool SaveChartFile(const QString& file, QSize size, const QString& svgTitle, const ChartDrawer& draw,
                   QString* error)
{
    auto fail = [&](const QString& text) {
        if (error) *error = text;
        return false;
    };
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return fail(Tr(QT_TRANSLATE_NOOP("Velk", "绘图需要图形应用程序环境（可用 offscreen 平台）。")));
    if (size.width() < 1 || size.height() < 1 || size.width() > kMaxExportSide ||
        size.height() > kMaxExportSide)
        return fail(
            Tr(QT_TRANSLATE_NOOP("Velk", "图形尺寸无效：%1 x %2")).arg(size.width()).arg(size.height()));
    const QString suffix = QFileInfo(file).suffix().toLower();
    QByteArray data;
    QString why;
    if (suffix == QLatin1String("png"))
        why = DrawPng(file, size, draw, data);
    else if (suffix == QLatin1String("svg"))
        why = DrawSvg(file, size, svgTitle, draw, data);
    else
        why = Tr(QT_TRANSLATE_NOOP("Velk", "不支持的文件类型（只能保存为 PNG 或 SVG）：%1")).arg(file);
    if (!why.isEmpty()) return fail(why);
    if (!SafeReplaceFile(file, data, &why))
        return fail(Tr(QT_TRANSLATE_NOOP("Velk", "无法写入文件：%1（%2）")).arg(file, why));
    return true;
}
