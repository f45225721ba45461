// Fonts, aligned texts and titles of the chart engine.

#include "chartcontext.h"

#include <QFontMetrics>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace chart_detail {

void ApplyFont()
{
    TChartContext& c = Ctx();
    // Sizes far beyond any page only waste memory in the glyph cache.
    const double dpi = c.surface ? c.surface->fontResolution() : 0;
    const int points = std::clamp(dpi > 0 ? c.fontSize : c.fontSize * c.scale, 1, 2000);
    c.font = MakeChartFont(c.fontName, points, c.italic, c.bold, ChartSetting(kSetAntialiasFont) != 0, dpi);
    QPainter* p = Canvas();
    if (p && p->device())
        c.metrics = std::make_unique<QFontMetrics>(c.font, p->device());
    else
        c.metrics = std::make_unique<QFontMetrics>(c.font);
    c.textWidth = c.metrics->horizontalAdvance(QLatin1Char('0'));
    c.textHeight = c.metrics->height();
    c.textAscent = c.metrics->ascent();
    c.textDescent = c.metrics->descent();
}

int TextWidth(const QString& text)
{
    TChartContext& c = Ctx();
    if (text.isEmpty())
        return 0;
    if (!c.metrics)
        ApplyFont();
    return c.metrics->horizontalAdvance(text);
}

void TextOut(QPainter* p, int x, int top, const QString& text)
{
    p->drawText(QPoint(x, top + Ctx().textAscent), text);
}

} // namespace chart_detail

using namespace chart_detail;

namespace {

struct TPlacedLine {
    int left;
    int top;
    int width;
};

struct TTextLayout {
    QStringList lines;
    std::vector<TPlacedLine> placed;
    QRect bounds;
};

// Places a block of "|"-separated lines around a point.
TTextLayout LayoutTextBlock(const QStringList& lines, int hAlign, QPoint at, int vAlign)
{
    const TChartContext& c = Ctx();
    const int s = c.scale;
    const int h = c.textHeight;
    const double spacing = 0.95 * h;
    const int n = static_cast<int>(lines.size());
    const int blockHeight = RoundHalfEven((n - 1) * spacing) + h;
    int top0 = at.y() - blockHeight / 2;
    if (vAlign < 0)
        top0 = at.y() - blockHeight;
    else if (vAlign > 0)
        top0 = at.y();

    TTextLayout layout;
    layout.lines = lines;
    layout.placed.reserve(lines.size());
    for (int i = 0; i < n; ++i) {
        const int w = TextWidth(lines[i]);
        int left = at.x() - w / 2;
        if (hAlign < 0)
            left = at.x() - 3 * s - w;
        else if (hAlign > 0)
            left = at.x() + 3 * s;
        const int top = top0 + RoundHalfEven(i * spacing);
        layout.placed.push_back({left, top, w});
        layout.bounds |= QRect(left, top, std::max(w, 1), h);
    }
    return layout;
}

// The blanks that keep a text off its marker belong on the marker's side:
// leading blanks become trailing ones and back.
QString MirrorPadding(const QString& line)
{
    int lead = 0;
    while (lead < line.size() && line[lead] == QLatin1Char(' '))
        ++lead;
    if (lead == line.size())
        return line;
    int trail = 0;
    while (trail < line.size() && line[line.size() - 1 - trail] == QLatin1Char(' '))
        ++trail;
    const QString core = line.mid(lead, line.size() - lead - trail);
    return QString(trail, QLatin1Char(' ')) + core + QString(lead, QLatin1Char(' '));
}

// A block that would leave the region moves to the other side of its point,
// then is shifted inside as far as it fits.
TTextLayout KeepInside(const QStringList& lines, int hAlign, QPoint at, int vAlign, const QRect& region)
{
    TTextLayout layout = LayoutTextBlock(lines, hAlign, at, vAlign);
    const QRect& b = layout.bounds;
    const bool outH = b.left() < region.left() || b.right() > region.right();
    const bool outV = b.top() < region.top() || b.bottom() > region.bottom();
    if ((outH && hAlign != 0) || (outV && vAlign != 0)) {
        QStringList flipped = lines;
        if (outH && hAlign != 0) {
            for (QString& l : flipped)
                l = MirrorPadding(l);
            hAlign = -hAlign;
        }
        if (outV && vAlign != 0)
            vAlign = -vAlign;
        layout = LayoutTextBlock(flipped, hAlign, at, vAlign);
    }
    auto shift = [](int lo, int hi, int regionLo, int regionHi) {
        if (hi - lo > regionHi - regionLo)
            return regionLo - lo; // too wide: its start stays visible
        if (lo < regionLo)
            return regionLo - lo;
        if (hi > regionHi)
            return regionHi - hi;
        return 0;
    };
    const int dx = shift(layout.bounds.left(), layout.bounds.right(), region.left(), region.right());
    const int dy = shift(layout.bounds.top(), layout.bounds.bottom(), region.top(), region.bottom());
    for (TPlacedLine& l : layout.placed) {
        l.left += dx;
        l.top += dy;
    }
    layout.bounds.translate(dx, dy);
    return layout;
}

// The first side of the point where the block stays inside the region and
// clear of the texts placed so far; no lines when every side is taken.
TTextLayout AvoidOthers(const QStringList& lines, QPoint at, const QRect& region)
{
    TChartContext& c = Ctx();
    // Above and below clear the row of the texts beside the point.
    const int gap = c.textHeight / 2 + c.scale;
    const struct {
        int h, v, dy;
    } sides[] = {{1, 0, 0}, {-1, 0, 0}, {0, -1, -gap}, {0, 1, gap}};
    for (const auto& side : sides) {
        QStringList shown = lines;
        if (side.h < 0)
            for (QString& l : shown)
                l = MirrorPadding(l);
        TTextLayout layout = LayoutTextBlock(shown, side.h, at + QPoint(0, side.dy), side.v);
        if (!region.contains(layout.bounds))
            continue;
        const auto clash = [&](const QRect& r) { return r.intersects(layout.bounds); };
        if (std::any_of(c.avoidedTexts.begin(), c.avoidedTexts.end(), clash))
            continue;
        c.avoidedTexts.push_back(layout.bounds);
        return layout;
    }
    return {};
}

// Lays out a block of "|"-separated lines around a point and draws it.
void DrawTextBlock(QPainter* p, const QString& text, int hAlign, QPoint at, int vAlign, int style,
                   const QRect& clip)
{
    TChartContext& c = Ctx();
    const int s = c.scale;
    const QStringList lines = text.split(QLatin1Char('|'));
    const TTextLayout layout = (style & kTextAvoidOthers)  ? AvoidOthers(lines, at, clip)
                               : (style & kTextKeepInside) ? KeepInside(lines, hAlign, at, vAlign, clip)
                                                           : LayoutTextBlock(lines, hAlign, at, vAlign);
    if (layout.placed.empty())
        return;

    const bool useBrushColours = (style & kTextPenColours) != 0;
    const QColor textColour = ToQColor(useBrushColours ? c.penColour : c.fontColour);
    const QColor boxColour = ToQColor(useBrushColours ? c.brushColour : c.background);
    p->setClipRect(clip);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setRenderHint(QPainter::Antialiasing, false);
    const QRect box = layout.bounds.adjusted(-s, -s, s, s);
    if (style & kTextBox)
        p->fillRect(box, boxColour);
    if (style & kTextFrame) {
        p->setBrush(Qt::NoBrush);
        p->setPen(QPen(textColour, s));
        p->drawRect(box.adjusted(0, 0, -1, -1));
    }
    p->setFont(c.font);
    p->setPen(textColour);
    for (std::size_t i = 0; i < layout.placed.size(); ++i)
        TextOut(p, layout.placed[i].left, layout.placed[i].top, layout.lines[static_cast<int>(i)]);
    p->setClipping(false);
}

} // namespace

void SetTextFont(const QString& name, int size, int italic, int bold, int scope)
{
    TChartContext& c = Ctx();
    if (scope < 0 || scope > 3)
        scope = 0;
    if (italic < -1 || italic > 2)
        italic = 0;
    if (bold < -1 || bold > 2)
        bold = 0;
    if (!name.isEmpty())
        c.fontName =
            name.compare(QLatin1String("DEF"), Qt::CaseInsensitive) == 0 ? QStringLiteral("Arial") : name;
    if (size > 0)
        c.fontSize = std::min(size, 2000);
    if (italic == 2)
        c.italic = true;
    else if (italic != 0)
        c.italic = false;
    if (bold == 2)
        c.bold = true;
    else if (bold != 0)
        c.bold = false;
    c.fontScope = scope;
    if (scope >= 1)
        c.savedFontName = c.fontName;
    if (scope >= 2)
        c.savedFontSize = c.fontSize;
    if (scope == 3)
        c.savedNoTitleEnlarge = true;
    if (c.surface)
        ApplyFont();
}

void DrawTextAt(TColor colour, const QString& text, int hAlign, double x, double y, int vAlign, int style)
{
    TChartContext& c = Ctx();
    TGraphSlot* g = c.slot();
    if (!g || !g->valid || text.isEmpty() || std::isnan(x) || std::isnan(y))
        return;
    QPoint at;
    if (g->worldMode())
        at = QPoint(MapX(*g, x), MapY(*g, g->currentY, y));
    else
        at = QPoint(ClampPixel(x), ClampPixel(y));
    if (!c.drawingArea().contains(at))
        return;
    if (!g->unclipped && !g->plotRect().contains(at))
        return;
    if (colour >= 0)
        c.fontColour = colour & 0xFFFFFF;
    QPainter* p = Canvas();
    if (!p)
        return;
    DrawTextBlock(p, text, std::clamp(hAlign, -1, 1), at, std::clamp(vAlign, -1, 1), style,
                  c.worldClip(*g));
}

void DrawTitle(TColor colour, const QString& text)
{
    TChartContext& c = Ctx();
    TGraphSlot* g = c.slot();
    if (!g || !g->valid || text.isEmpty())
        return;
    QPainter* p = Canvas();
    if (!p)
        return;
    if (colour >= 0)
        c.fontColour = colour & 0xFFFFFF;
    const bool enlarge = c.fontScope != 3 && !c.savedNoTitleEnlarge;
    const int keptSize = c.fontSize;
    const bool keptBold = c.bold;
    if (enlarge) {
        c.fontSize = std::max(1, RoundHalfEven(1.2 * c.fontSize));
        c.bold = true;
        ApplyFont();
    }
    const bool wholeArea = text.startsWith(QLatin1Char('@'));
    const QString shown = wholeArea ? text.mid(1) : text;
    const int centre = wholeArea ? c.originX + c.width / 2 : (g->left + g->right) / 2;
    const int top = (wholeArea ? c.originY : g->outerTop) + 4 * c.scale;
    if (!shown.isEmpty())
        DrawTextBlock(p, shown, 0, QPoint(centre, top), 1, 0, c.drawingArea());
    if (enlarge) {
        c.fontSize = keptSize;
        c.bold = keptBold;
        ApplyFont();
    }
}
