#include "ComparisonChartView.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>

#include "Messages.h"
#include "chartgraph.h"

TComparisonChartView::TComparisonChartView(QWidget* parent)
    : QWidget(parent), surface_(std::make_unique<TImageSurface>())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(240, 200);
}

TComparisonChartView::~TComparisonChartView() = default;

void TComparisonChartView::SetPoints(std::vector<ComparisonChartPoint> points, ComparisonChartAxis axis,
                                     bool severalMethods)
{
    points_ = std::move(points);
    axis_ = axis;
    severalMethods_ = severalMethods;
    fresh_ = false;
    update();
}

const QImage& TComparisonChartView::Picture() const { return surface_->image(); }

void TComparisonChartView::paintEvent(QPaintEvent*)
{
    if (!fresh_ || surface_->image().size() != size()) {
        if (surface_->resize(size())) {
            DrawComparisonChart(surface_.get(), points_, axis_, severalMethods_);
            surface_->endPaint();
            // The engine keeps no hold on this picture: the mouse works on
            // the diagram page only.
            ChartDetachSurface(surface_.get());
        }
        fresh_ = true;
    }
    QPainter p(this);
    if (surface_->image().isNull())
        p.fillRect(rect(), palette().window());
    else
        p.drawImage(0, 0, surface_->image());
}

void TComparisonChartView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* png = menu.addAction(QCoreApplication::translate("Velk", "保存为 PNG 图片..."));
    QAction* svg = menu.addAction(QCoreApplication::translate("Velk", "保存为 SVG 图形..."));
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == png)
        SaveWithDialog(QStringLiteral("png"));
    else if (chosen == svg)
        SaveWithDialog(QStringLiteral("svg"));
}

void TComparisonChartView::SaveWithDialog(const QString& suffix)
{
    const QString filter = suffix == QLatin1String("png")
                               ? QCoreApplication::translate("Velk", "PNG 图片 (*.png)")
                               : QCoreApplication::translate("Velk", "SVG 图形 (*.svg)");
    QString file = QFileDialog::getSaveFileName(this, QCoreApplication::translate("Velk", "保存填料比较图"),
                                                QCoreApplication::translate("Velk", "填料比较.") + suffix, filter);
    if (file.isEmpty()) return;
    if (QFileInfo(file).suffix().compare(suffix, Qt::CaseInsensitive) != 0) file += QLatin1Char('.') + suffix;
    QString error;
    if (!SaveChart(file, &error) && !error.isEmpty()) ShowMessage(MsgKind::Error, error.toStdString());
}

bool TComparisonChartView::SaveChart(const QString& file, QString* error) const
{
    const QSize size = this->size().isEmpty() ? sizeHint() : this->size();
    return SaveComparisonChart(file, size, points_, axis_, severalMethods_, error);
}
