#pragma once
// A paint device that records what a painter draws on it (texts with their
// positions and fonts, lines, polygons, ellipses), so that tests can check
// the geometry of a drawing instead of its pixels.

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>

#include <memory>
#include <vector>

struct TRecordedText {
    QString text;
    QPointF baseline; // device coordinates of the start of the baseline
    double width = 0;
    QFont font;
    QColor colour;
    QTransform transform;
    bool rotated() const { return transform.type() >= QTransform::TxRotate; }
    double top() const { return baseline.y() - QFontMetricsF(font).ascent(); }
    double right() const { return baseline.x() + width; }
};

struct TRecordedLine {
    QLineF line;
    QList<qreal> dashes; // empty for a solid pen
};

class TRecordingEngine : public QPaintEngine {
public:
    TRecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState& state) override
    {
        if (state.state() & QPaintEngine::DirtyPen)
            pen_ = state.pen();
        if (state.state() & QPaintEngine::DirtyTransform)
            transform_ = state.transform();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        texts.push_back(
            {item.text(), transform_.map(p), item.width(), item.font(), pen_.color(), transform_});
    }
    void drawLines(const QLineF* l, int n) override
    {
        for (int i = 0; i < n; ++i)
            lines.push_back(
                {transform_.map(l[i]), pen_.style() == Qt::SolidLine ? QList<qreal>() : pen_.dashPattern()});
    }
    void drawLines(const QLine* l, int n) override
    {
        for (int i = 0; i < n; ++i) {
            const QLineF f(l[i]);
            drawLines(&f, 1);
        }
    }
    void drawPolygon(const QPointF* pts, int n, PolygonDrawMode) override
    {
        polygons.push_back(transform_.map(QPolygonF(QList<QPointF>(pts, pts + n))));
    }
    void drawPolygon(const QPoint* pts, int n, PolygonDrawMode mode) override
    {
        const QPolygonF f(QPolygon(QList<QPoint>(pts, pts + n)));
        drawPolygon(f.constData(), n, mode);
    }
    void drawEllipse(const QRectF& r) override { ellipses.push_back(transform_.mapRect(r)); }
    void drawEllipse(const QRect& r) override { drawEllipse(QRectF(r)); }

    std::vector<TRecordedText> texts;
    std::vector<TRecordedLine> lines;
    std::vector<QPolygonF> polygons;
    std::vector<QRectF> ellipses;

private:
    QPen pen_;
    QTransform transform_;
};

class TRecordingDevice : public QPaintDevice {
public:
    explicit TRecordingDevice(QSize size) : size_(size), engine_(std::make_unique<TRecordingEngine>()) {}
    QPaintEngine* paintEngine() const override { return engine_.get(); }
    TRecordingEngine& record() { return *engine_; }

    // Texts joined across the pieces a painter splits a string into (one
    // per font used for its glyphs): pieces on one baseline that touch.
    std::vector<TRecordedText> joinedTexts() const
    {
        std::vector<TRecordedText> out;
        for (const TRecordedText& t : engine_->texts) {
            if (!out.empty() && !t.rotated() && !out.back().rotated() &&
                qAbs(out.back().baseline.y() - t.baseline.y()) < 0.5 &&
                qAbs(out.back().right() - t.baseline.x()) < 0.5) {
                out.back().text += t.text;
                out.back().width += t.width;
                continue;
            }
            out.push_back(t);
        }
        return out;
    }
    std::unique_ptr<TRecordedText> findText(const QString& s) const
    {
        for (const TRecordedText& t : joinedTexts())
            if (t.text == s)
                return std::make_unique<TRecordedText>(t);
        return nullptr;
    }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return size_.width();
        case PdmHeight:
            return size_.height();
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return 1;
        }
    }

private:
    QSize size_;
    std::unique_ptr<TRecordingEngine> engine_;
};
