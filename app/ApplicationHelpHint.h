#pragma once
// A hint window: a borderless tool-tip style label that shows a hint at a
// given place until it is released. TApplicationHelp keeps one; the main
// window's shared yellow hint window can be one too.

#include <QLabel>

class THintWindow : public QLabel
{
    Q_OBJECT
public:
    explicit THintWindow(QWidget* owner = nullptr);

    // The size the hint needs, wrapped at maxWidth pixels, as a rectangle at (0, 0).
    QRect CalcHintRect(int maxWidth, const QString& hint) const;
    // Shows hint in rect (screen coordinates).
    void ActivateHint(const QRect& rect, const QString& hint);
    // Hides the window and forgets its text.
    void ReleaseHandle();

    void SetColor(const QColor& background);

    static constexpr int Margin = 3;
};
