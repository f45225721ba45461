#include "HtmlHelpPopup.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QScreen>

THtmlHelpPopup::THtmlHelpPopup(QWidget* parent) : QLabel(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("HtmlHelpPopup"));
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void THtmlHelpPopup::Popup(const QString& text, const THHPopup& p)
{
    QPalette pal = QApplication::palette();
    pal.setColor(QPalette::WindowText,
                 p.clrForeground.isValid() ? p.clrForeground : pal.color(QPalette::ToolTipText));
    pal.setColor(QPalette::Window,
                 p.clrBackground.isValid() ? p.clrBackground : pal.color(QPalette::ToolTipBase));
    setPalette(pal);
    setFont(p.fontSet ? p.font : QApplication::font());
    const QMargins m(p.rcMargins.left() < 0 ? DefaultMargin : p.rcMargins.left(),
                     p.rcMargins.top() < 0 ? DefaultMargin : p.rcMargins.top(),
                     p.rcMargins.right() < 0 ? DefaultMargin : p.rcMargins.right(),
                     p.rcMargins.bottom() < 0 ? DefaultMargin : p.rcMargins.bottom());
    setContentsMargins(m);
    setText(text);

    const QFontMetrics fm(font());
    const QRect textRect = fm.boundingRect(QRect(0, 0, MaxWidth - m.left() - m.right(), 10000),
                                           Qt::TextWordWrap | Qt::AlignLeft, text);
    const int frame = 2 * frameWidth();
    const QSize size(textRect.width() + m.left() + m.right() + frame + 1,
                     textRect.height() + m.top() + m.bottom() + frame + 1);
    QRect geometry(p.pt, size);
    if (const QScreen* screen = QGuiApplication::screenAt(p.pt) ? QGuiApplication::screenAt(p.pt)
                                                                : QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        if (geometry.right() > avail.right()) geometry.moveRight(avail.right());
        if (geometry.bottom() > avail.bottom()) geometry.moveBottom(avail.bottom());
        if (geometry.left() < avail.left()) geometry.moveLeft(avail.left());
        if (geometry.top() < avail.top()) geometry.moveTop(avail.top());
    }
    setGeometry(geometry);
    show();
    raise();
}

void THtmlHelpPopup::keyPressEvent(QKeyEvent* e)
{
    e->accept();
    close();
}

void THtmlHelpPopup::mousePressEvent(QMouseEvent* e)
{
    e->accept();
    close();
}
