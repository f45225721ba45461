#pragma once
// The paint box of the diagram page: draws the operating performance diagram
// of the current case on every repaint, shows the mouse read-out through a
// callback, zooms with Ctrl-drag and saves the picture from its context menu.

#include "PerformanceDiagram.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class TPerformanceView : public QWidget {
    Q_OBJECT
public:
    // Why the view asks for its input: a repaint, or an explicit command
    // (the diagram command, saving). A provider may stay quiet about
    // incomplete input during repaints, which come often.
    enum class TCause { Repaint, Command };
    // Recalculates and returns the case, or nothing when there is nothing
    // to draw (an empty diameter or flow field). May throw; a thrown EAbort
    // is silent, any other error is reported once.
    using InputProvider = std::function<std::optional<TPerformanceInput>(TCause)>;
    using TextCallback = std::function<void(const QString&)>;

    explicit TPerformanceView(QWidget* parent = nullptr);
    ~TPerformanceView() override;

    void setInputProvider(InputProvider provider);
    // Receives the read-out text "L=... V=...".
    void setStatusCallback(TextCallback callback);
    // Receives the reason why nothing could be drawn; by default it goes to
    // ShowMessage.
    void setErrorCallback(TextCallback callback);

    // Draws now, as the diagram command does, and reports a failure even if
    // it was reported before.
    void redraw();
    // Writes the diagram at the view's size; the format follows the
    // extension (PNG or SVG).
    bool saveDiagram(const QString& file, QString* error);

    // The picture shown (null before the first drawing).
    const QImage& picture() const;
    // True when the last drawing produced a diagram.
    bool hasDiagram() const { return hasDiagram_; }
    // How many times the diagram was drawn from its input.
    int drawCount() const { return drawCount_; }

    QSize sizeHint() const override { return kDefaultDiagramSize; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    class TViewSurface;
    friend class TViewSurface;

    void render(TCause cause);
    void markFresh();
    void makeCurrent();
    void report(const QString& text);
    void showReadout();
    void saveWithDialog(const QString& suffix);

    std::unique_ptr<TViewSurface> surface_;
    InputProvider provider_;
    TextCallback status_;
    TextCallback error_;
    QString lastError_;
    bool hasDiagram_ = false;
    bool pictureFresh_ = false;
    bool rendering_ = false;
    int drawCount_ = 0;
};
