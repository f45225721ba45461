#include "PdfTable.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <numeric>

#include "PdfFont.h"

namespace
{

constexpr double kBodyPoints = 8;
constexpr int kTextFlags = Qt::AlignVCenter | Qt::TextWordWrap;

double Resolution(const QPaintDevice& device)
{
    return device.logicalDpiX() > 0 ? device.logicalDpiX() : 72;
}

double PageWidth(const QPagedPaintDevice& device, QPageLayout::Orientation o)
{
    QPageLayout layout = device.pageLayout();
    layout.setOrientation(o);
    return layout.paintRectPixels(static_cast<int>(Resolution(device))).width();
}

// The widest piece of text that a line break may not split (a word, or one
// Chinese character): the narrowest a wrapping column can be.
double LongestUnbreakable(const QFontMetricsF& fm, const QString& text)
{
    double widest = 0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    int start = 0;
    while (finder.toNextBoundary() >= 0) {
        const int end = finder.position();
        widest = std::max(widest, fm.horizontalAdvance(text.mid(start, end - start).trimmed()));
        start = end;
    }
    return widest;
}

double Padding(const QFontMetricsF& fm)
{
    return fm.horizontalAdvance(QLatin1Char('0')) * 0.6;
}

// Room left beside a measured text, so that the rounding of the text layout
// never breaks a line that was measured to fit.
double Slack(const QFontMetricsF& fm)
{
    return fm.horizontalAdvance(QLatin1Char('0')) * 0.25;
}

struct ColumnWidths {
    std::vector<double> natural, minimum;
};

ColumnWidths MeasureColumns(const PageTable& t, const QFontMetricsF& fm, const QFontMetricsF& bold)
{
    ColumnWidths w;
    const double pad = 2 * Padding(fm) + Slack(fm);
    for (int c = 0; c < t.headings.size(); ++c) {
        double natural = 0, minimum = 0;
        for (const QString& line : t.headings[c].split(QLatin1Char('\n'))) {
            natural = std::max(natural, bold.horizontalAdvance(line));
            minimum = std::max(minimum, LongestUnbreakable(bold, line));
        }
        const bool wraps = c < static_cast<int>(t.wrap.size()) && t.wrap[static_cast<std::size_t>(c)];
        for (const PageTableRow& r : t.rows) {
            if (c >= r.cells.size() || (r.spanFrom >= 0 && c >= r.spanFrom && c < r.spanTo)) continue;
            const QString& cell = r.cells[c];
            natural = std::max(natural, fm.horizontalAdvance(cell));
            minimum = std::max(minimum, wraps ? LongestUnbreakable(fm, cell) : fm.horizontalAdvance(cell));
        }
        w.natural.push_back(natural + pad);
        w.minimum.push_back(minimum + pad);
    }
    return w;
}

double Sum(const std::vector<double>& v)
{
    return std::accumulate(v.begin(), v.end(), 0.0);
}

// Widths that fill `available` between the minimum and the natural widths:
// the wrapping columns give up room first, each in proportion to what it
// lacks, then the others (their headings wrap). Empty when even the minimum
// widths do not fit.
std::vector<double> FitWidths(const ColumnWidths& w, const std::vector<bool>& wraps, double available)
{
    if (Sum(w.natural) <= available) return w.natural;
    if (Sum(w.minimum) > available) return {};
    auto wrapping = [&](std::size_t i) { return i < wraps.size() && wraps[i]; };
    // First try: only the wrapping columns below their natural widths.
    std::vector<double> floor(w.minimum.size());
    for (std::size_t i = 0; i < floor.size(); ++i)
        floor[i] = wrapping(i) ? w.minimum[i] : w.natural[i];
    const std::vector<double>& from = Sum(floor) <= available ? floor : w.minimum;
    const double lack = Sum(w.natural) - Sum(from), spare = available - Sum(from);
    std::vector<double> out(from.size());
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = from[i] + (lack > 0 ? (w.natural[i] - from[i]) * spare / lack : 0);
    return out;
}

// Column groups of at most `available` wide, each starting with the key columns.
std::vector<std::vector<int>> SplitColumns(const std::vector<double>& widths, int keyColumns,
                                           double available)
{
    const int n = static_cast<int>(widths.size());
    keyColumns = std::clamp(keyColumns, 0, n);
    double keyWidth = 0;
    for (int k = 0; k < keyColumns; ++k)
        keyWidth += widths[static_cast<std::size_t>(k)];
    std::vector<std::vector<int>> groups;
    std::vector<int> group;
    double used = keyWidth;
    auto start = [&] {
        group.clear();
        for (int k = 0; k < keyColumns; ++k)
            group.push_back(k);
        used = keyWidth;
    };
    start();
    for (int c = keyColumns; c < n; ++c) {
        const double w = widths[static_cast<std::size_t>(c)];
        if (used + w > available && static_cast<int>(group.size()) > keyColumns) {
            groups.push_back(group);
            start();
        }
        group.push_back(c);
        used += w;
    }
    if (static_cast<int>(group.size()) > keyColumns || groups.empty()) groups.push_back(group);
    return groups;
}

std::vector<int> AllColumns(int n)
{
    std::vector<int> all(static_cast<std::size_t>(n));
    std::iota(all.begin(), all.end(), 0);
    return all;
}

} // namespace

QString HeadingBreakingAtUnit(const QString& caption)
{
    const int open = caption.indexOf(QLatin1Char('('));
    return open > 0 ? caption.left(open).trimmed() + QLatin1Char('\n') + caption.mid(open) : caption;
}

PageTableLayout LayoutPageTable(const PageTable& table, const QPagedPaintDevice& device,
                                std::optional<QPageLayout::Orientation> orientation)
{
    PageTableLayout out;
    const int n = static_cast<int>(table.headings.size());
    auto measure = [&](double points) {
        auto* d = const_cast<QPagedPaintDevice*>(&device);
        return MeasureColumns(table, QFontMetricsF(PageFont(points), d),
                              QFontMetricsF(PageFont(points, true), d));
    };
    // Portrait when the whole table fits it at the body size; else landscape,
    // wrapping texts before the type goes down to the smallest size.
    const ColumnWidths body = measure(kBodyPoints);
    out.orientation = orientation.value_or(Sum(body.natural) <= PageWidth(device, QPageLayout::Portrait)
                                               ? QPageLayout::Portrait
                                               : QPageLayout::Landscape);
    const double available = PageWidth(device, out.orientation);
    for (double points : {kBodyPoints, kMinPagePoints}) {
        const ColumnWidths w = points == kBodyPoints ? body : measure(points);
        out.points = points;
        out.widths = FitWidths(w, table.wrap, available);
        if (!out.widths.empty()) {
            out.groups = {AllColumns(n)};
            return out;
        }
        out.widths = w.minimum;
    }
    out.groups = SplitColumns(out.widths, table.keyColumns, available);
    return out;
}

namespace
{

// Paints one column group of the table, heading repeated on each page.
class GroupPainter
{
public:
    GroupPainter(QPainter& painter, QPagedPaintDevice& device, const PageTable& table,
                 const PageTableLayout& layout, const std::vector<int>& columns)
        : p_(painter), device_(device), t_(table), columns_(columns), font_(PageFont(layout.points)),
          bold_(PageFont(layout.points, true)), fm_(font_, &device), boldFm_(bold_, &device),
          pad_(Padding(fm_)),
          pageH_(device.pageLayout().paintRectPixels(static_cast<int>(Resolution(device))).height())
    {
        for (int c : columns)
            widths_.push_back(layout.widths[static_cast<std::size_t>(c)]);
    }

    // Paints from y; returns the pages begun after the current one.
    int Paint(double& y)
    {
        int pages = 0;
        const double headingH = RowHeight(Headings(), -1, -1, boldFm_);
        PaintRow(y, headingH, Headings(), -1, -1, true);
        y += headingH;
        for (const PageTableRow& r : t_.rows) {
            const double h = RowHeight(r.cells, r.spanFrom, r.spanTo, fm_);
            if (y + h > pageH_) {
                device_.newPage();
                ++pages;
                y = 0;
                PaintRow(y, headingH, Headings(), -1, -1, true);
                y += headingH;
            }
            PaintRow(y, h, r.cells, r.spanFrom, r.spanTo, false);
            y += h;
        }
        return pages;
    }

private:
    QStringList Headings() const { return t_.headings; }

    // The cells of the group as boxes: (column index into the table, x, width);
    // the spanned columns as one box.
    struct Box {
        int column;
        double x, w;
    };
    std::vector<Box> Boxes(int spanFrom, int spanTo) const
    {
        std::vector<Box> boxes;
        double x = 0;
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            const int c = columns_[i];
            const bool spanned = spanFrom >= 0 && c >= spanFrom && c < spanTo;
            if (spanned && !boxes.empty() && boxes.back().column == spanFrom &&
                boxes.back().x + boxes.back().w == x)
                boxes.back().w += widths_[i];
            else
                boxes.push_back({spanned ? spanFrom : c, x, widths_[i]});
            x += widths_[i];
        }
        return boxes;
    }

    double TextHeight(const QFontMetricsF& fm, double w, const QString& text) const
    {
        if (text.isEmpty()) return fm.height();
        return fm.boundingRect(QRectF(0, 0, std::max(1.0, w - 2 * pad_), 1e6), kTextFlags, text).height();
    }

    double RowHeight(const QStringList& cells, int spanFrom, int spanTo, const QFontMetricsF& fm) const
    {
        double h = fm.height();
        for (const Box& b : Boxes(spanFrom, spanTo))
            if (b.column < cells.size()) h = std::max(h, TextHeight(fm, b.w, cells[b.column]));
        return h + pad_;
    }

    void PaintRow(double y, double h, const QStringList& cells, int spanFrom, int spanTo, bool heading)
    {
        p_.setFont(heading ? bold_ : font_);
        p_.setPen(QPen(Qt::black, std::max(1.0, Resolution(device_) / 200)));
        for (const Box& b : Boxes(spanFrom, spanTo)) {
            const QRectF cell(b.x, y, b.w, h);
            if (heading) p_.fillRect(cell, QColor(232, 232, 232));
            p_.drawRect(cell);
            if (b.column >= cells.size()) continue;
            const bool wraps =
                b.column < static_cast<int>(t_.wrap.size()) && t_.wrap[static_cast<std::size_t>(b.column)];
            const bool text = wraps || b.column == spanFrom;
            const int align = heading ? Qt::AlignHCenter : (text ? Qt::AlignLeft : Qt::AlignRight);
            // Numbers stay on one line: their columns are as wide as the widest.
            const int flags = heading || text ? kTextFlags : Qt::AlignVCenter;
            p_.drawText(cell.adjusted(pad_, 0, -pad_, 0), flags | align, cells[b.column]);
        }
    }

    QPainter& p_;
    QPagedPaintDevice& device_;
    const PageTable& t_;
    std::vector<int> columns_;
    std::vector<double> widths_;
    QFont font_, bold_;
    QFontMetricsF fm_, boldFm_;
    double pad_, pageH_;
};

// The title and the note lines above a table; returns their height.
double PaintTitle(QPainter& painter, QPagedPaintDevice& device, const PageTable& table, double y)
{
    const double top = y;
    const double width = device.pageLayout().paintRectPixels(static_cast<int>(Resolution(device))).width();
    painter.setPen(Qt::black);
    auto line = [&](const QFont& font, double spacing, const QString& text) {
        painter.setFont(font);
        const QFontMetricsF fm(font, &device);
        const QRectF box(0, y, width, 1e6);
        const double h = fm.boundingRect(box, kTextFlags, text).height() + fm.height() * (spacing - 1);
        painter.drawText(QRectF(0, y, width, h), kTextFlags | Qt::AlignLeft, text);
        y += h;
    };
    if (!table.title.isEmpty()) line(PageFont(kBodyPoints + 2, true), 1.5, table.title);
    for (const QString& note : table.notes)
        line(PageFont(kBodyPoints), 1.3, note);
    return y - top;
}

} // namespace

int PaintPageTable(QPainter& painter, QPagedPaintDevice& device, const PageTable& table)
{
    PageTablePlace place;
    return PaintPageTable(painter, device, table, place);
}

int PaintPageTable(QPainter& painter, QPagedPaintDevice& device, const PageTable& table,
                   PageTablePlace& place)
{
    const std::optional<QPageLayout::Orientation> kept =
        place.newPage ? place.orientation : std::optional(device.pageLayout().orientation());
    const PageTableLayout layout = LayoutPageTable(table, device, kept);
    const double dpi = Resolution(device);
    const double pageH = device.pageLayout().paintRectPixels(static_cast<int>(dpi)).height();
    int pages = 0;
    double y = place.y;
    // A table that would begin with little more than its heading starts on a
    // page of its own.
    if (place.newPage || y + dpi > pageH) {
        device.setPageOrientation(layout.orientation);
        device.newPage();
        ++pages;
        y = 0;
    }
    y += PaintTitle(painter, device, table, y);
    y += dpi / 12; // a small gap before the table
    for (std::size_t g = 0; g < layout.groups.size(); ++g) {
        if (g > 0) {
            device.newPage();
            ++pages;
            y = 0;
        }
        pages += GroupPainter(painter, device, table, layout, layout.groups[g]).Paint(y);
    }
    place.y = y;
    return pages;
}
