#pragma once
// The shared yellow hint window of the main window.

#include <QLabel>

class TSharedHintWindow : public QLabel {
    Q_OBJECT
public:
    explicit TSharedHintWindow(QWidget* parent = nullptr);
    // Shows text with its top-left corner at the global position, at most
    // maxWidth pixels wide.
    void ShowHint(const QString& text, const QPoint& globalTopLeft, int maxWidth = 400);
    // Hides the window and empties its text (nothing when already blank).
    void HideHint();
    bool Showing() const { return isVisible() && !text().trimmed().isEmpty(); }
};
