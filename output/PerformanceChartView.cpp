#include "PerformanceChartView.h"

#include "Messages.h"
#include "chartgraph.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace {
QString Tr(const char* text)
{
    return QCoreApplication::translate("Velk", text);
}
} // namespace

// The engine asks for a repaint after a zoom and shows the rubber band in
// the picture itself.
class TPerformanceChartView::TViewSurface : public TImageSurface {
public:
    explicit TViewSurface(TPerformanceChartView* view) : view_(view) {}
    ~TViewSurface() override { ChartDetachSurface(this); }
    void refresh() override
    {
        view_->fresh_ = false;
        view_->update();
    }
    void overlayChanged() override
    {
        endPaint();
        view_->update();
    }

private:
    TPerformanceChartView* view_;
};

TPerformanceChartView::TPerformanceChartView(TPerformanceChart chart, QWidget* parent)
    : QWidget(parent), surface_(std::make_unique<TViewSurface>(this)), chart_(chart)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(240, 200);
}

TPerformanceChartView::~TPerformanceChartView() = default;

void TPerformanceChartView::SetCurves(std::shared_ptr<const PerformanceCurves> curves, const QString& title)
{
    curves_ = std::move(curves);
    title_ = title;
    fresh_ = false;
    update();
}

const QImage& TPerformanceChartView::Picture() const
{
    return surface_->image();
}

void TPerformanceChartView::Render()
{
    if (!surface_->resize(size()))
        return;
    // Slot 1 holds this view's zoom while it draws; the other drawings that
    // use slot 1 get theirs back.
    const TChartZoom kept = dragging_ ? otherZoom_ : ChartZoom(1);
    ChartSetZoom(1, zoom_);
    const QString error = curves_ ? DrawPerformanceChart(surface_.get(), chart_, *curves_, title_) : QString();
    if (!curves_ || !error.isEmpty()) {
        ChartDetachSurface(surface_.get());
        if (QPainter* p = surface_->canvas()) {
            p->fillRect(rect(), palette().window());
            p->drawText(rect(), Qt::AlignCenter, error);
        }
    }
    surface_->endPaint();
    if (!dragging_)
        ChartSetZoom(1, kept);
    fresh_ = true;
}

void TPerformanceChartView::paintEvent(QPaintEvent*)
{
    if (!fresh_ || surface_->image().size() != size())
        Render();
    QPainter p(this);
    if (surface_->image().isNull())
        p.fillRect(rect(), palette().window());
    else
        p.drawImage(0, 0, surface_->image());
}

void TPerformanceChartView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !(event->modifiers() & Qt::ControlModifier))
        return;
    // The engine works on the current drawing: this chart, drawn afresh.
    otherZoom_ = ChartZoom(1);
    dragging_ = true;
    Render();
    const QPoint at = event->position().toPoint();
    ChartMouseDown(mbLeft, ssCtrl | ssLeft, at.x(), at.y());
}

void TPerformanceChartView::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_)
        return;
    const QPoint at = event->position().toPoint();
    const unsigned ctrl = (event->modifiers() & Qt::ControlModifier) ? ssCtrl : 0u;
    ChartMouseMove(ctrl | ssLeft, at.x(), at.y());
}

void TPerformanceChartView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!dragging_ || event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    const unsigned ctrl = (event->modifiers() & Qt::ControlModifier) ? ssCtrl : 0u;
    ChartMouseUp(mbLeft, ctrl, at.x(), at.y());
    zoom_ = ChartZoom(1);
    ChartSetZoom(1, otherZoom_);
    dragging_ = false;
    fresh_ = false;
    update();
}

void TPerformanceChartView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* png = menu.addAction(Tr(QT_TRANSLATE_NOOP("Velk", "保存为 PNG 图片...")));
    QAction* svg = menu.addAction(Tr(QT_TRANSLATE_NOOP("Velk", "保存为 SVG 图形...")));
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == png)
        SaveWithDialog(QStringLiteral("png"));
    else if (chosen == svg)
        SaveWithDialog(QStringLiteral("svg"));
}

void TPerformanceChartView::SaveWithDialog(const QString& suffix)
{
    const QString filter = suffix == QLatin1String("png") ? Tr(QT_TRANSLATE_NOOP("Velk", "PNG 图片 (*.png)")) : Tr(QT_TRANSLATE_NOOP("Velk", "SVG 图形 (*.svg)"));
    const QString name = PerformanceChartName(chart_);
    QString file = QFileDialog::getSaveFileName(this, Tr(QT_TRANSLATE_NOOP("Velk", "保存填料性能曲线")), name + QLatin1Char('.') + suffix, filter);
    if (file.isEmpty())
        return;
    if (QFileInfo(file).suffix().compare(suffix, Qt::CaseInsensitive) != 0)
        file += QLatin1Char('.') + suffix;
    QString error;
    if (!SaveChart(file, &error) && !error.isEmpty())
        ShowMessage(MsgKind::Error, error.toStdString());
}

bool TPerformanceChartView::SaveChart(const QString& file, QString* error) const
{
    if (!curves_) {
        if (error)
            *error = Tr(QT_TRANSLATE_NOOP("Velk", "没有可保存的曲线。"));
        return false;
    }
    const QSize size = this->size().isEmpty() ? sizeHint() : this->size();
    return SavePerformanceChart(file, size, chart_, *curves_, title_, error);
}
