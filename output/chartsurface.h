#pragma once
// The paint surface a chart is drawn on. The engine keeps one pointer to the
// surface of the current drawing; a surface that is destroyed detaches
// itself, so the engine never paints through a dangling pointer.

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>

#include <memory>

class TChartSurface {
public:
    TChartSurface() = default;
    TChartSurface(const TChartSurface&) = delete;
    TChartSurface& operator=(const TChartSurface&) = delete;
    virtual ~TChartSurface();

    // An active painter on the surface, or nullptr when nothing can be drawn
    // now. The engine sets pen, brush, font and clipping before each use.
    virtual QPainter* canvas() = 0;
    // Size in pixels of the surface.
    virtual QSize surfaceSize() const = 0;
    // Multiplies every pixel size; 1 on the screen.
    virtual int deviceScale() const { return 1; }
    // Dots per inch of a printer or PDF page, on which font sizes are true
    // points; 0 on the screen and on images, where they follow the scale.
    virtual double fontResolution() const { return 0; }

    // The owner should repaint the whole chart (after a zoom).
    virtual void refresh() {}
    // Something was drawn outside a paint cycle (cross-hair or rubber band);
    // the owner shows it and may close the painter it opened for it.
    virtual void overlayChanged() {}
    // Hides the mouse cursor (cross-hair shown) or restores the default one.
    virtual void setCursorHidden(bool) {}
    // Confines the mouse to a rectangle of the surface; an empty rectangle
    // ends the confinement.
    virtual void confineCursor(const QRect&) {}
};

// A surface over a painter that the caller owns and keeps active for the
// drawing (a QSvgGenerator, a QPrinter, a widget inside its paint event).
class TPainterSurface : public TChartSurface {
public:
    TPainterSurface(QPainter* painter, QSize size, int scale = 1, double fontDpi = 0);
    QPainter* canvas() override;
    QSize surfaceSize() const override { return size_; }
    int deviceScale() const override { return scale_; }
    double fontResolution() const override { return fontDpi_; }

private:
    QPainter* painter_;
    QSize size_;
    int scale_;
    double fontDpi_;
};

// A surface that owns an image and opens a painter on it on demand.
class TImageSurface : public TChartSurface {
public:
    explicit TImageSurface(QSize size = QSize(), QImage::Format format = QImage::Format_RGB32);
    ~TImageSurface() override;

    QPainter* canvas() override;
    QSize surfaceSize() const override { return image_.size(); }

    // Closes the painter, so that the image may be read or shown.
    void endPaint();
    // Gives the image a new size (contents undefined until drawn); closes
    // the painter first. False when the image cannot be allocated.
    bool resize(QSize size);
    const QImage& image() const { return image_; }
    QImage& image() { return image_; }

private:
    QImage image_;
    std::unique_ptr<QPainter> painter_;
};
