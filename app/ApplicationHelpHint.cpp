#include "ApplicationHelpHint.h"

#include <QApplication>
#include <QFontMetrics>

THintWindow::THintWindow(QWidget* owner) : QLabel(owner, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("HintWindow"));
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setFrameShape(QFrame::Box);
    setMargin(Margin);
    setAutoFillBackground(true);
    // A hint never takes the focus from the control it explains.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QApplication::palette().color(QPalette::ToolTipBase));
    pal.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::ToolTipText));
    setPalette(pal);
}

void THintWindow::SetColor(const QColor& background)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, background);
    setPalette(pal);
}

QRect THintWindow::CalcHintRect(int maxWidth, const QString& hint) const
{
    const int extra = 2 * (Margin + frameWidth());
    const QFontMetrics fm(font());
    const QRect text = fm.boundingRect(QRect(0, 0, std::max(1, maxWidth - extra), 100000),
                                       Qt::TextWordWrap | Qt::AlignLeft, hint);
    return QRect(0, 0, text.width() + extra + 1, text.height() + extra);
}

void THintWindow::ActivateHint(const QRect& rect, const QString& hint)
{
    setText(hint);
    setGeometry(rect);
    show();
    raise();
}

void THintWindow::ReleaseHandle()
{
    hide();
    clear();
}
