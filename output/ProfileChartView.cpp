#include "ProfileChartView.h"

#include <QPainter>

ProfileChartView::ProfileChartView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ProfileCharts"));
    setMinimumSize(240, 240);
}

void ProfileChartView::setCurves(std::vector<ProfileChartCurve> curves)
{
    curves_ = std::move(curves);
    update();
}

void ProfileChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    TPainterSurface surface(&painter, size());
    const QString why = DrawProfileCharts(&surface, curves_);
    if (!why.isEmpty()) painter.drawText(rect(), Qt::AlignCenter, why);
}
