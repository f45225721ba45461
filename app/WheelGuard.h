#pragma once
// The mouse wheel changes a value only in the control that has the focus.
// A drop-down list or spin box that merely passes under the pointer while
// the page scrolls hands the wheel on to the page (the nearest scroll area
// around it), so that scrolling never edits a design. Installed once on the
// application; the controls also stop taking the focus from the wheel.

#include <QObject>

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

private:
    static void ForwardToPage(QWidget* control, QWidget* receiver, QWheelEvent* wheel);
};
