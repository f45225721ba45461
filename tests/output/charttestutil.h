#pragma once
// Small helpers shared by the chart tests.

#include "chartgraph.h"
#include "chartrecorder.h"

#include <QImage>

inline constexpr TColor kWhite = ChartRGB(255, 255, 255);
inline constexpr TColor kBlack = ChartRGB(0, 0, 0);
inline constexpr TColor kBlue = ChartRGB(0, 0, 255);
inline constexpr TColor kRed = ChartRGB(255, 0, 0);

inline QRgb Rgb(TColor c)
{
    return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

inline QRgb PixelAt(const QImage& img, int x, int y)
{
    return (img.pixel(x, y) & 0xFFFFFF) | 0xFF000000;
}

// An image surface that counts the repaint requests of the engine.
class TCountingSurface : public TImageSurface {
public:
    explicit TCountingSurface(QSize size) : TImageSurface(size) {}
    ~TCountingSurface() override { ChartDetachSurface(this); }
    void refresh() override { ++refreshes; }
    void overlayChanged() override { ++overlays; }
    void setCursorHidden(bool hidden) override { cursorHidden = hidden; }
    void confineCursor(const QRect& r) override { confinedTo = r; }
    int refreshes = 0;
    int overlays = 0;
    bool cursorHidden = false;
    QRect confinedTo;
};

// A recording device with an active painter and a surface over it.
struct TRecordedChart {
    explicit TRecordedChart(QSize size) : device(size), painter(&device), surface(&painter, size) {}
    ~TRecordedChart() { ChartDetachSurface(&surface); }
    TRecordingDevice device;
    QPainter painter;
    TPainterSurface surface;
};

// The plot used by the pixel tests: 400 x 300 drawing, plot from x 50 to
// 306 (256 pixels) and y 92 to 220 (128 pixels), X 0..8 and Y 0..4 kept as
// given, so that one world unit is 32 pixels on both axes.
inline void StandardPlot(TChartSurface* surface, bool unclipped = false, bool drawAxes = true)
{
    InitChart(surface, kWhite, kBlack, 1.0f);
    DefineGraph(0, 100, 0, 100, 50, 94, 92, 80, unclipped);
    if (drawAxes) {
        DrawXAxis(kBlue, QString(), 0, 0.0f, 8.0f, 0.0f, 0.0f, false, false, true, 0);
        DrawYAxis(kBlue, QString(), 5, 0.0f, 4.0f, 0.0f, 0.0f, false, false, true, 0);
    }
}
