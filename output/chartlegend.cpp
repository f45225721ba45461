// The legend of the chart engine: a framed box of line samples and texts
// inside the plot area.

#include "chartcontext.h"

#include <QPolygon>

#include <algorithm>

using namespace chart_detail;

namespace {

void DrawSample(QPainter* p, const TChartLegendEntry& e, int x0, int x1, int y, int scale)
{
    const QColor colour = ToQColor(e.colour & 0xFFFFFF);
    QPen pen(colour, std::max(1, e.penWidth) * scale, e.dashed ? Qt::DashLine : Qt::SolidLine, Qt::FlatCap);
    p->setPen(pen);
    p->drawLine(x0, y, x1, y);
    if (e.marker < 1 || e.marker > 8)
        return;
    const int h = 3 * scale;
    const int x = (x0 + x1) / 2;
    p->setPen(QPen(colour, scale));
    p->setBrush(colour);
    switch (e.marker) {
    case kMarkCircle:
        p->drawEllipse(QRect(x - h, y - h, 2 * h, 2 * h));
        break;
    case kMarkTriangleUp:
        p->drawPolygon(QPolygon({QPoint(x - h, y + h), QPoint(x + h, y + h), QPoint(x, y - h - h / 2)}));
        break;
    default:
        p->drawRect(QRect(x - h, y - h, 2 * h, 2 * h));
        break;
    }
    p->setBrush(Qt::NoBrush);
}

} // namespace

void DrawLegend(const std::vector<TChartLegendEntry>& entries, int corner)
{
    TChartContext& c = Ctx();
    TGraphSlot* g = c.slot();
    QPainter* p = Canvas();
    if (!g || !g->valid || entries.empty() || !p)
        return;
    const int s = c.scale;
    const int lineHeight = c.textHeight + 2 * s;
    const int sample = 4 * c.textWidth;
    const int pad = 4 * s;
    int textWidth = 0;
    for (const TChartLegendEntry& e : entries)
        textWidth = std::max(textWidth, TextWidth(e.text));
    const int width = pad + sample + pad + textWidth + pad;
    const int height = pad + static_cast<int>(entries.size()) * lineHeight + pad;
    const QRect plot = g->plotRect();
    const int inset = 6 * s;
    const bool right = corner == kLegendTopRight || corner == kLegendBottomRight;
    const bool bottom = corner == kLegendBottomLeft || corner == kLegendBottomRight;
    const int left = right ? plot.right() - inset - width : plot.left() + inset;
    const int top = bottom ? plot.bottom() - inset - height : plot.top() + inset;
    const QRect box(left, top, width, height);

    p->setClipRect(plot);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setRenderHint(QPainter::Antialiasing, false);
    p->fillRect(box, ToQColor(c.background));
    p->setPen(QPen(ToQColor(c.foreground), s));
    p->setBrush(Qt::NoBrush);
    p->drawRect(box.adjusted(0, 0, -1, -1));
    p->setFont(c.font);
    int y = top + pad;
    for (const TChartLegendEntry& e : entries) {
        const int middle = y + lineHeight / 2;
        DrawSample(p, e, left + pad, left + pad + sample, middle, s);
        p->setPen(ToQColor(c.foreground));
        TextOut(p, left + pad + sample + pad, middle - c.textHeight / 2, e.text);
        y += lineHeight;
    }
    p->setClipping(false);
}
