#pragma once
// The mouse wheel changes a value only in the control that has the focus.
// A drop-down list or spin box that merely passes under the pointer while
// the page scrolls hands the wheel on to the page (the nearest scroll area
// around it), so that scrolling never edits a design. Installed once on the
// application; the controls also stop taking the focus from the wheel.

#include <QObject>

class QTabWidget;
class QWidget;
class QWheelEvent;

class TWheelGuard : public QObject {
    Q_OBJECT
public:
    explicit TWheelGuard(QObject* parent = nullptr);
    // Installs a guard on the running application, owned by it.
    static TWheelGuard* InstallOnApplication();

    bool eventFilter(QObject* watched, QEvent* event) override;

    // The value control a wheel over w would change (w itself or the box
    // around its editor), or nullptr.
    static QWidget* ValueControl(QWidget* w);

    // A page opened while the focus was on the one before gives the focus to
    // the first control of its tab order: a drop-down list there would then
    // take the next wheel. The tabs' pages pass it on to a control that is
    // not a value control (or to none).
    static void KeepOpenedPagesOffValueControls(QTabWidget* tabs);
    // Moves the focus from a value control inside page to the first other
    // control of the page's tab order that is not a button, or clears it.
    static void MoveFocusOffValueControl(QWidget* page);

private:
    static void ForwardToPage(QWidget* control, QWidget* receiver, QWheelEvent* wheel);
};
