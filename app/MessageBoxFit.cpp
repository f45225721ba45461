#include "MessageBoxFit.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTimer>

TMessageBoxFit::TMessageBoxFit(QObject* parent) : QObject(parent) {}

TMessageBoxFit* TMessageBoxFit::InstallOnApplication()
{
    auto* fit = new TMessageBoxFit(qApp);
    qApp->installEventFilter(fit);
    return fit;
}

int TMessageBoxFit::TitleWidth(const QMessageBox* box)
{
    const QFontMetrics fm(QApplication::font("QMdiSubWindowTitleBar"));
    // The icon and the three buttons of a title bar scale with its font.
    const int width = fm.horizontalAdvance(box->windowTitle()) + 8 * fm.height();
    const QScreen* screen = box->screen();
    return screen ? std::min(width, screen->availableGeometry().width() * 9 / 10) : width;
}

void TMessageBoxFit::Fit(QMessageBox* box)
{
    const int need = TitleWidth(box);
    if (box->width() < need)
        box->setFixedWidth(need);
}

bool TMessageBoxFit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        if (auto* box = qobject_cast<QMessageBox*>(watched)) {
            // After the box has sized itself in its own show handling.
            QPointer<QMessageBox> guarded(box);
            QTimer::singleShot(0, box, [guarded] {
                if (guarded)
                    Fit(guarded);
            });
        }
    }
    return false;
}
