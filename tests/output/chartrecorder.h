#pragma once
// A paint device that records what a painter draws on it (texts with their
// positions and fonts, lines, points, rectangles), so that tests can check
// the geometry of a drawing instead of its pixels.

#include <QFont>
#include <QFontMetrics>
#include <QLine>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QString>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

struct TRecordedText {
    QString text;
    QPointF baseline; // device coordinates of the start of the baseline
    double width = 0;
    QFont font;
    QColor colour;
    QTransform transform;
    bool rotated() const { return !transform.isIdentity() && transform.type() >= QTransform::TxRotate; }
    // Top of the text box, from the font's own metrics.
    double top() const { return baseline.y() - QFontMetricsF(font).ascent(); }
    double height() const { return QFontMetricsF(font).height(); }
    double right() const { return baseline.x() + width; }
};

struct TRecordedLine {
    QLineF line;
    QColor colour;
    double width = 1;
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
        if (state.state() & QPaintEngine::DirtyFont)
            font_ = state.font();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}

    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        TRecordedText t;
        t.text = item.text();
        t.baseline = transform_.map(p);
        t.width = item.width();
        t.font = item.font();
        t.colour = pen_.color();
        t.transform = transform_;
        texts.push_back(t);
    }
    void drawLines(const QLine* lines, int n) override
    {
        for (int i = 0; i < n; ++i)
            this->lines.push_back({transform_.map(QLineF(lines[i])), pen_.color(), pen_.widthF(), dashes()});
    }
    void drawLines(const QLineF* lines, int n) override
    {
        for (int i = 0; i < n; ++i)
            this->lines.push_back({transform_.map(lines[i]), pen_.color(), pen_.widthF(), dashes()});
    }
    void drawPoints(const QPointF* pts, int n) override
    {
        for (int i = 0; i < n; ++i)
            points.push_back(transform_.map(pts[i]));
    }
    void drawPoints(const QPoint* pts, int n) override
    {
        for (int i = 0; i < n; ++i)
            points.push_back(transform_.map(QPointF(pts[i])));
    }
    void drawRects(const QRect* r, int n) override
    {
        for (int i = 0; i < n; ++i)
            rects.push_back(transform_.mapRect(QRectF(r[i])));
    }
    void drawRects(const QRectF* r, int n) override
    {
        for (int i = 0; i < n; ++i)
            rects.push_back(transform_.mapRect(r[i]));
    }
    void drawPolygon(const QPointF* pts, int n, PolygonDrawMode) override
    {
        QPolygonF poly;
        for (int i = 0; i < n; ++i)
            poly << transform_.map(pts[i]);
        polygons.push_back(poly);
    }
    void drawPolygon(const QPoint* pts, int n, PolygonDrawMode mode) override
    {
        std::vector<QPointF> f(pts, pts + n);
        drawPolygon(f.data(), n, mode);
    }
    void drawEllipse(const QRectF& r) override { ellipses.push_back(transform_.mapRect(r)); }
    void drawEllipse(const QRect& r) override { drawEllipse(QRectF(r)); }

    std::vector<TRecordedText> texts;
    std::vector<TRecordedLine> lines;
    std::vector<QPointF> points;
    std::vector<QRectF> rects;
    std::vector<QPolygonF> polygons;
    std::vector<QRectF> ellipses;

private:
    QList<qreal> dashes() const
    {
        return pen_.style() == Qt::SolidLine ? QList<qreal>() : pen_.dashPattern();
    }
    QPen pen_;
    QFont font_;
    QTransform transform_;
};

class TRecordingDevice : public QPaintDevice {
public:
    explicit TRecordingDevice(QSize size) : size_(size), engine_(std::make_unique<TRecordingEngine>()) {}
    ~TRecordingDevice() override = default;
    QPaintEngine* paintEngine() const override { return engine_.get(); }
    TRecordingEngine& record() { return *engine_; }

    // Texts joined across the pieces a painter splits a string into (one
    // per font used for its glyphs): pieces on one baseline that touch.
    std::vector<TRecordedText> joinedTexts() const
    {
        std::vector<TRecordedText> out;
        for (const TRecordedText& t : engine_->texts) {
            if (!out.empty()) {
                TRecordedText& last = out.back();
                if (!t.rotated() && !last.rotated() && std::abs(last.baseline.y() - t.baseline.y()) < 0.5 &&
                    std::abs(last.right() - t.baseline.x()) < 0.5) {
                    last.text += t.text;
                    last.width += t.width;
                    continue;
                }
            }
            out.push_back(t);
        }
        return out;
    }
    // The first joined text equal to s, or nullptr.
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
        case PdmWidthMM:
            return size_.width() * 254 / 960;
        case PdmHeightMM:
            return size_.height() * 254 / 960;
        case PdmNumColors:
            return 1 << 24;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    QSize size_;
    std::unique_ptr<TRecordingEngine> engine_;
};
