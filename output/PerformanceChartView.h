#pragma once
// One performance chart of the packing on screen: drawn into an image when
// its curves change or the view is resized; Ctrl-drag zooms, a Ctrl-click
// restores the whole chart, and the context menu saves PNG or SVG.

#include "PerformanceCharts.h"
#include "chartgraph.h"

#include <QImage>
#include <QWidget>

#include <memory>

class TImageSurface;

class TPerformanceChartView : public QWidget {
    Q_OBJECT
public:
    explicit TPerformanceChartView(TPerformanceChart chart, QWidget* parent = nullptr);
    ~TPerformanceChartView() override;

    // The curves to draw (kept by the view) and the packing named in the title.
    void SetCurves(std::shared_ptr<const PerformanceCurves> curves, const QString& title);
    TPerformanceChart Chart() const { return chart_; }
    // Writes the chart at the view's size (PNG or SVG by the extension).
    bool SaveChart(const QString& file, QString* error) const;
    const QImage& Picture() const;
    // This view's zoom window (the engine's slot numbers are shared).
    const TChartZoom& Zoom() const { return zoom_; }

    QSize sizeHint() const override { return QSize(480, 360); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    class TViewSurface;
    void Render();
    void SaveWithDialog(const QString& suffix);

    std::unique_ptr<TViewSurface> surface_;
    TPerformanceChart chart_;
    std::shared_ptr<const PerformanceCurves> curves_;
    QString title_;
    TChartZoom zoom_;
    TChartZoom otherZoom_; // slot 1 of the other drawings while this view zooms
    bool fresh_ = false;
    bool dragging_ = false;
};
