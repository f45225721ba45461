#pragma once
// The help viewer's text pop-up: a small borderless window with a text,
// placed at a screen point, that closes at the next click or key press.

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QMargins>
#include <QPoint>

// How a pop-up looks; invalid colours, negative margins and an unset font
// mean the viewer's defaults.
struct THHPopup {
    QPoint pt;            // top-left corner, screen coordinates
    QColor clrForeground; // text colour
    QColor clrBackground; // background colour
    QMargins rcMargins{-1, -1, -1, -1};
    QFont font;
    bool fontSet = false;
};

class THtmlHelpPopup : public QLabel
{
    Q_OBJECT
public:
    explicit THtmlHelpPopup(QWidget* parent = nullptr);

    // Sets the text and the look, sizes the window (at most MaxWidth wide,
    // wrapping longer lines) and shows it at p.pt, kept on the screen.
    void Popup(const QString& text, const THHPopup& p);

    static constexpr int MaxWidth = 400;
    static constexpr int DefaultMargin = 8;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
};
