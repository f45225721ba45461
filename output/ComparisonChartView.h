#pragma once
// The chart beside the packing comparison table: draws the points with the
// chart engine into an image when they change or the view is resized, and
// saves PNG or SVG from its context menu as the diagram page does.

#include <QImage>
#include <QWidget>

#include <memory>
#include <vector>

#include "ComparisonChart.h"

class TImageSurface;

class TComparisonChartView : public QWidget {
    Q_OBJECT
public:
    explicit TComparisonChartView(QWidget* parent = nullptr);
    ~TComparisonChartView() override;

    void SetPoints(std::vector<ComparisonChartPoint> points, ComparisonChartAxis axis, bool severalMethods);
    const std::vector<ComparisonChartPoint>& Points() const { return points_; }
    // Writes the chart at the view's size (PNG or SVG by the extension).
    bool SaveChart(const QString& file, QString* error) const;
    const QImage& Picture() const;

    QSize sizeHint() const override { return QSize(480, 400); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void SaveWithDialog(const QString& suffix);

    std::unique_ptr<TImageSurface> surface_;
    std::vector<ComparisonChartPoint> points_;
    ComparisonChartAxis axis_ = ComparisonChartAxis::PressureDrop;
    bool severalMethods_ = false;
    bool fresh_ = false;
};
