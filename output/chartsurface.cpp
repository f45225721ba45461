#include "chartsurface.h"

#include "chartgraph.h"

TChartSurface::~TChartSurface()
{
    ChartDetachSurface(this);
}

TPainterSurface::TPainterSurface(QPainter* painter, QSize size, int scale, double fontDpi)
    : painter_(painter), size_(size), scale_(scale < 1 ? 1 : scale), fontDpi_(fontDpi > 0 ? fontDpi : 0)
{
}

QPainter* TPainterSurface::canvas()
{
    return painter_ && painter_->isActive() ? painter_ : nullptr;
}

TImageSurface::TImageSurface(QSize size, QImage::Format format)
{
    if (size.isValid() && !size.isEmpty())
        image_ = QImage(size, format);
}

TImageSurface::~TImageSurface()
{
    // The painter must end before the image goes, and the engine must forget
    // this surface before either.
    ChartDetachSurface(this);
    endPaint();
}

QPainter* TImageSurface::canvas()
{
    if (image_.isNull())
        return nullptr;
    if (!painter_)
        painter_ = std::make_unique<QPainter>();
    if (!painter_->isActive() && !painter_->begin(&image_))
        return nullptr;
    return painter_.get();
}

void TImageSurface::endPaint()
{
    if (painter_ && painter_->isActive())
        painter_->end();
}

bool TImageSurface::resize(QSize size)
{
    endPaint();
    if (!size.isValid() || size.isEmpty()) {
        image_ = QImage();
        return false;
    }
    if (image_.size() == size)
        return true;
    QImage fresh(size, image_.isNull() ? QImage::Format_RGB32 : image_.format());
    if (fresh.isNull())
        return false;
    image_ = std::move(fresh);
    return true;
}
