#include "PerformanceView.h"

#include "Messages.h"
#include "chartgraph.h"

#include <QCoreApplication>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>

// The view draws into an image and shows that image. The engine's
// cross-hair and rubber band are combined into the same image in
// exclusive-or, so drawing them twice restores exactly the picture below.
class TPerformanceView::TViewSurface : public TImageSurface {
public:
    explicit TViewSurface(TPerformanceView* view) : view_(view) {}
    ~TViewSurface() override { ChartDetachSurface(this); }

    void refresh() override
    {
        view_->pictureFresh_ = false;
        view_->update();
    }
    void overlayChanged() override
    {
        endPaint();
        view_->markFresh();
        view_->update();
    }
    void setCursorHidden(bool hidden) override
    {
        if (hidden)
            view_->setCursor(Qt::BlankCursor);
        else
            view_->unsetCursor();
    }
    // The engine keeps the cross-hair inside the plot by itself; a pointer
    // barrier is not needed for that.
    void confineCursor(const QRect&) override {}

private:
    TPerformanceView* view_;
};

namespace {

unsigned ShiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    unsigned s = 0;
    if (modifiers & Qt::ShiftModifier)
        s |= ssShift;
    if (modifiers & Qt::AltModifier)
        s |= ssAlt;
    if (modifiers & Qt::ControlModifier)
        s |= ssCtrl;
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

int ChartButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return mbLeft;
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return -1;
    }
}

} // namespace

TPerformanceView::TPerformanceView(QWidget* parent)
    : QWidget(parent), surface_(std::make_unique<TViewSurface>(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setContextMenuPolicy(Qt::DefaultContextMenu);
}

TPerformanceView::~TPerformanceView() = default;

void TPerformanceView::setInputProvider(InputProvider provider)
{
    provider_ = std::move(provider);
    pictureFresh_ = false;
    update();
}

void TPerformanceView::setStatusCallback(TextCallback callback)
{
    status_ = std::move(callback);
}

void TPerformanceView::setErrorCallback(TextCallback callback)
{
    error_ = std::move(callback);
}

const QImage& TPerformanceView::picture() const
{
    return surface_->image();
}

void TPerformanceView::report(const QString& text)
{
    // Repaints come in bursts; the same failure is told once, and the
    // message waits until the paint event is over (a modal box inside a
    // paint event would paint again).
    if (text.isEmpty() || text == lastError_)
        return;
    lastError_ = text;
    QPointer<TPerformanceView> self(this);
    QTimer::singleShot(0, this, [self, text] {
        if (!self)
            return;
        if (self->error_)
            self->error_(text);
        else
            ShowMessage(MsgKind::Warning, text.toStdString());
    });
}

void TPerformanceView::render(TCause cause)
{
    if (rendering_)
        return;
    rendering_ = true;
    hasDiagram_ = false;
    std::optional<TPerformanceInput> input;
    try {
        if (provider_)
            input = provider_(cause);
    } catch (const EAbort&) {
        input.reset();
    } catch (const std::exception& e) {
        input.reset();
        report(QString::fromStdString(e.what()));
    }
    const bool sized = surface_->resize(size());
    if (input && sized) {
        const QString error = DrawPerformanceDiagram(surface_.get(), *input);
        if (error.isEmpty()) {
            hasDiagram_ = true;
            ++drawCount_;
            lastError_.clear();
        } else {
            report(error);
        }
    }
    if (!hasDiagram_ && sized) {
        // Nothing to draw: an empty page, and the engine forgets the old
        // graph so that the mouse reads nothing from it.
        if (ChartSurface() == surface_.get()) {
            ChartDetachSurface(surface_.get());
            unsetCursor(); // a cross-hair that was running has gone with it
        }
        if (QPainter* p = surface_->canvas())
            p->fillRect(QRect(QPoint(0, 0), size()), palette().window());
    }
    surface_->endPaint();
    markFresh();
    rendering_ = false;
}

void TPerformanceView::markFresh()
{
    // The next paint only shows the picture. A hidden view gets no paint
    // soon, and by the time it is shown its input may have changed.
    pictureFresh_ = isVisible();
}

void TPerformanceView::redraw()
{
    lastError_.clear();
    render(TCause::Command);
    update();
}

void TPerformanceView::makeCurrent()
{
    // Another drawing (a saved file) may have taken the engine over since
    // the last paint; the mouse works on this view's graph.
    if (ChartSurface() != surface_.get() || surface_->image().size() != size()) {
        render(TCause::Repaint);
        update();
    }
}

void TPerformanceView::paintEvent(QPaintEvent*)
{
    if (!rendering_ && (!pictureFresh_ || surface_->image().size() != size()))
        render(TCause::Repaint);
    pictureFresh_ = false;
    QPainter p(this);
    if (surface_->image().isNull())
        p.fillRect(rect(), palette().window());
    else
        p.drawImage(0, 0, surface_->image());
}

void TPerformanceView::showReadout()
{
    const TChartReadout& r = ChartReadout();
    if (r.worldX >= 0 && status_)
        status_(PerformanceReadoutText(r.worldX, r.worldY[0]));
}

void TPerformanceView::mousePressEvent(QMouseEvent* event)
{
    const int button = ChartButton(event->button());
    if (button < 0)
        return;
    makeCurrent();
    const QPoint at = event->position().toPoint();
    ChartReadout().worldX = -1;
    ChartMouseDown(button, ShiftState(event->modifiers(), event->buttons()), at.x(), at.y());
    showReadout();
}

void TPerformanceView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    ChartReadout().worldX = -1;
    ChartMouseMove(ShiftState(event->modifiers(), event->buttons()), at.x(), at.y());
    showReadout();
}

void TPerformanceView::mouseReleaseEvent(QMouseEvent* event)
{
    const int button = ChartButton(event->button());
    if (button < 0)
        return;
    const QPoint at = event->position().toPoint();
    // The released button is no longer in buttons(); the engine does not
    // need it there.
    ChartMouseUp(button, ShiftState(event->modifiers(), event->buttons()), at.x(), at.y());
}

void TPerformanceView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* png = menu.addAction(QCoreApplication::translate("Velk", "保存为 PNG 图片..."));
    QAction* svg = menu.addAction(QCoreApplication::translate("Velk", "保存为 SVG 图形..."));
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == png)
        saveWithDialog(QStringLiteral("png"));
    else if (chosen == svg)
        saveWithDialog(QStringLiteral("svg"));
}

void TPerformanceView::saveWithDialog(const QString& suffix)
{
    const QString filter = suffix == QLatin1String("png") ? QCoreApplication::translate("Velk", "PNG 图片 (*.png)")
                                                          : QCoreApplication::translate("Velk", "SVG 图形 (*.svg)");
    QString file = QFileDialog::getSaveFileName(this, QCoreApplication::translate("Velk", "保存操作性能图"),
                                                QCoreApplication::translate("Velk", "操作性能图.") + suffix, filter);
    if (file.isEmpty())
        return;
    if (QFileInfo(file).suffix().compare(suffix, Qt::CaseInsensitive) != 0)
        file += QLatin1Char('.') + suffix;
    QString error;
    if (!saveDiagram(file, &error) && !error.isEmpty()) {
        if (error_)
            error_(error);
        else
            ShowMessage(MsgKind::Error, error.toStdString());
    }
}

bool TPerformanceView::saveDiagram(const QString& file, QString* error)
{
    std::optional<TPerformanceInput> input;
    try {
        if (provider_)
            input = provider_(TCause::Command);
    } catch (const EAbort&) {
        if (error)
            error->clear();
        return false;
    } catch (const std::exception& e) {
        if (error)
            *error = QString::fromStdString(e.what());
        return false;
    }
    if (!input) {
        if (error)
            *error = QCoreApplication::translate("Velk", "没有可绘制的操作性能图。");
        return false;
    }
    const QSize size = this->size().isEmpty() ? kDefaultDiagramSize : this->size();
    const bool ok = SavePerformanceDiagram(file, size, *input, error);
    // Saving drew on another surface; the next paint draws this view again.
    pictureFresh_ = false;
    update();
    return ok;
}
