#include "WheelGuard.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QTabWidget>
#include <QWheelEvent>

namespace {
bool IsValueControl(const QWidget* w)
{
    return qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w);
}
} // namespace

TWheelGuard::TWheelGuard(QObject* parent) : QObject(parent) {}

TWheelGuard* TWheelGuard::InstallOnApplication()
{
    auto* guard = new TWheelGuard(qApp);
    qApp->installEventFilter(guard);
    return guard;
}

QWidget* TWheelGuard::ValueControl(QWidget* w)
{
    if (!w)
        return nullptr;
    if (IsValueControl(w))
        return w;
    // The line edit inside an editable box or a spin box.
    QWidget* parent = w->parentWidget();
    return parent && IsValueControl(parent) && !w->isWindow() ? parent : nullptr;
}

bool TWheelGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Polish) {
        // A wheel must not give such a control the focus either, or the
        // next notch would change it.
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && IsValueControl(w) && w->focusPolicy() == Qt::WheelFocus)
            w->setFocusPolicy(Qt::StrongFocus);
        return false;
    }
    if (event->type() != QEvent::Wheel || !watched->isWidgetType())
        return false;
    auto* receiver = static_cast<QWidget*>(watched);
    QWidget* control = ValueControl(receiver);
    if (!control || control->hasFocus())
        return false;
    ForwardToPage(control, receiver, static_cast<QWheelEvent*>(event));
    return true;
}

void TWheelGuard::ForwardToPage(QWidget* control, QWidget* receiver, QWheelEvent* wheel)
{
    wheel->accept(); // no further propagation: the page gets it here
    QAbstractScrollArea* area = nullptr;
    for (QWidget* p = control->parentWidget(); p && !area; p = p->parentWidget())
        area = qobject_cast<QAbstractScrollArea*>(p);
    if (!area)
        return;
    QWidget* viewport = area->viewport();
    const QPointF pos = viewport->mapFromGlobal(receiver->mapToGlobal(wheel->position()));
    QWheelEvent copy(pos, wheel->globalPosition(), wheel->pixelDelta(), wheel->angleDelta(), wheel->buttons(),
                     wheel->modifiers(), wheel->phase(), wheel->inverted(), wheel->source());
    QCoreApplication::sendEvent(viewport, &copy);
}

void TWheelGuard::KeepOpenedPagesOffValueControls(QTabWidget* tabs)
{
    // The tab widget has handed the focus to the new page when it reports the change.
    QObject::connect(tabs, &QTabWidget::currentChanged, tabs,
                     [tabs] { MoveFocusOffValueControl(tabs->currentWidget()); });
}

void TWheelGuard::MoveFocusOffValueControl(QWidget* page)
{
    QWidget* focus = QApplication::focusWidget();
    if (!page || !focus || !page->isAncestorOf(focus) || !ValueControl(focus)) return;
    for (QWidget* w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain()) {
        if (!page->isAncestorOf(w) || !(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || !w->isEnabled() ||
            w->focusProxy() || ValueControl(w) || qobject_cast<QAbstractButton*>(w))
            continue;
        w->setFocus(Qt::OtherFocusReason);
        return;
    }
    focus->clearFocus();
}
