#include "HintWindow.h"

#include <QFontMetrics>

TSharedHintWindow::TSharedHintWindow(QWidget* parent) : QLabel(parent, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("HintWindow"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(255, 255, 0));
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
    setWordWrap(true);
    setMargin(3);
    setFrameStyle(QFrame::Box | QFrame::Plain);
}

void TSharedHintWindow::ShowHint(const QString& text, const QPoint& globalTopLeft, int maxWidth)
{
    setText(text);
    const QFontMetrics fm(font());
    const QRect bounds = fm.boundingRect(QRect(0, 0, maxWidth, 10000), Qt::TextWordWrap, text);
    resize(bounds.width() + 2 * margin() + 4, bounds.height() + 2 * margin() + 4);
    move(globalTopLeft);
    show();
    raise();
}

void TSharedHintWindow::HideHint()
{
    if (text().trimmed().isEmpty())
        return;
    hide();
    clear();
}
