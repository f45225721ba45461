#include "ColumnElevation.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>

#include "ChartFileExport.h"
#include "ColumnDesign.h"
#include "TrNoop.h"
#include "chartsurface.h"

namespace
{

QString Tr(const char* text)
{
    return QCoreApplication::translate("Velk", text);
}

QString Num(double v, int decimals)
{
    return QString::number(v, 'f', decimals);
}

// One slice of the elevation from the top: its height and how it is drawn.
struct Slice {
    double height; // m
    QString label;
    enum Kind { Space, Bed, Internal } kind;
};

QString InternalName(const DesignedInternal& i)
{
    if (i.type == "distributor" && i.kind == "pipe") return Tr(QT_TRANSLATE_NOOP("Velk", "液体分布器(管式)"));
    if (i.type == "distributor" && i.kind == "pan") return Tr(QT_TRANSLATE_NOOP("Velk", "液体分布器(盘式)"));
    if (i.type == "distributor") return Tr(QT_TRANSLATE_NOOP("Velk", "液体分布器(槽式)"));
    if (i.type == "hold-down") return Tr(QT_TRANSLATE_NOOP("Velk", "压紧栅"));
    if (i.type == "support") return Tr(QT_TRANSLATE_NOOP("Velk", "支承板"));
    return Tr(QT_TRANSLATE_NOOP("Velk", "集液器"));
}

// The slices in the order the column design adds up its height.
std::vector<Slice> Slices(const ColumnDesign& d)
{
    const ColumnAllowances allow;
    std::vector<Slice> s{{allow.top, Tr(QT_TRANSLATE_NOOP("Velk", "塔顶空间")), Slice::Space}};
    for (std::size_t b = 0; b < d.beds.size(); ++b) {
        const DesignedBed& bed = d.beds[b];
        s.push_back({allow.manwayPerBed, Tr(QT_TRANSLATE_NOOP("Velk", "人孔空间")), Slice::Space});
        auto internal = [&](const char* type) {
            for (const DesignedInternal& i : d.internals)
                if (i.bed == static_cast<int>(b) + 1 && i.type == type)
                    s.push_back(
                        {i.height,
                         InternalName(i) +
                             QStringLiteral("  %1 m, %2 mbar").arg(Num(i.height, 2), Num(i.pressureDrop, 3)),
                         Slice::Internal});
        };
        internal("distributor");
        internal("hold-down");
        s.push_back({bed.packedHeight,
                     Tr(QT_TRANSLATE_NOOP("Velk", "床层%1：%2块理论板，%3 m，%4 mbar"))
                         .arg(b + 1)
                         .arg(bed.stages)
                         .arg(Num(bed.packedHeight, 2), Num(bed.pressureDrop, 2)),
                     Slice::Bed});
        internal("support");
        internal("collector");
    }
    s.push_back({allow.sump, Tr(QT_TRANSLATE_NOOP("Velk", "塔釜")), Slice::Space});
    return s;
}

} // namespace

void PaintColumnElevation(QPainter& p, const QRect& area, const ColumnDesign& d)
{
    p.save();
    p.fillRect(area, Qt::white);
    const int margin = std::max(10, area.height() / 30);
    const QRect shell(area.left() + margin, area.top() + 2 * margin, std::max(40, area.width() / 4),
                      area.height() - 4 * margin);
    if (!(d.height > 0) || shell.height() < 10) {
        p.restore();
        return;
    }
    const double scale = shell.height() / d.height; // pixels per metre
    QFont font = p.font();
    font.setPointSizeF(std::clamp(area.height() / 80.0, 6.0, 11.0));
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(area.left(), area.top(), area.width(), 2 * margin), Qt::AlignCenter,
               Tr(QT_TRANSLATE_NOOP("Velk", "塔径 %1 m，切线高度 %2 m，总压降 %3 mbar"))
                   .arg(Num(d.diameter, 3), Num(d.height, 2), Num(d.totalPressureDrop, 2)));
    double y = shell.top();
    const int textLeft = shell.right() + margin;
    for (const Slice& s : Slices(d)) {
        const double h = s.height * scale;
        const QRectF r(shell.left(), y, shell.width(), h);
        if (s.kind == Slice::Bed) {
            p.fillRect(r, QColor(0xE8, 0xD8, 0xA8));
            p.fillRect(r, QBrush(QColor(0xA0, 0x80, 0x40), Qt::BDiagPattern));
        } else if (s.kind == Slice::Internal) {
            p.fillRect(r.adjusted(0, h / 3, 0, -h / 3), QColor(0x50, 0x70, 0xA0));
        }
        if (s.kind != Slice::Space || h > font.pointSizeF() * 2)
            p.drawText(QRectF(textLeft, y, area.right() - textLeft, std::max(h, font.pointSizeF() * 1.6)),
                       Qt::AlignLeft | Qt::AlignVCenter, s.label);
        y += h;
    }
    p.setBrush(Qt::NoBrush);
    p.drawRect(shell);
    p.restore();
}

bool SaveColumnElevation(const QString& file, const ColumnDesign& design, QString* error, int width,
                         int height)
{
    return SaveChartFile(
        file, QSize(width, height), Tr(QT_TRANSLATE_NOOP("Velk", "塔设计")),
        [&](TChartSurface* surface) {
            QPainter* p = surface->canvas();
            if (!p) return Tr(QT_TRANSLATE_NOOP("Velk", "内存不足，无法生成图形。"));
            PaintColumnElevation(*p, QRect(QPoint(0, 0), surface->surfaceSize()), design);
            return QString();
        },
        error);
}
