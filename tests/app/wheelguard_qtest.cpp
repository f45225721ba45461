// The wheel over the main window: a drop-down list or unit selector without
// the focus keeps its value and the calculation page scrolls instead; with
// the focus it changes as before. Wheel events are synthesised.
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>

#include "BoundWidgets.h"
#include "Messages.h"
#include "UnitMain.h"
#include "WheelGuard.h"

namespace
{
// One notch down over the middle of w, as the window system delivers it.
void WheelDown(QWidget* w)
{
    const QPointF pos(w->width() / 2.0, w->height() / 2.0);
    QWheelEvent e(pos, w->mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}
} // namespace

class WheelGuardTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<TFormVELK> w;
    RecordingSink sink;

private slots:
    void initTestCase() { TWheelGuard::InstallOnApplication(); }
    void init()
    {
        SetMessageSink(&sink);
        w = std::make_unique<TFormVELK>();
        // Smaller than the page, so that the page has somewhere to scroll.
        w->resize(900, 420);
        w->show();
        // No window manager activates it on a bare X server.
        w->activateWindow();
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    void cleanup()
    {
        w->Page().Modified = false;
        w.reset();
        SetMessageSink(nullptr);
    }

    void unfocusedBoxesKeepTheirValueAndThePageScrolls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("flooding percentage (editable)") << QStringLiteral("fpercentD");
        QTest::newRow("packing") << QStringLiteral("PTD");
        QTest::newRow("method") << QStringLiteral("UfMD");
        QTest::newRow("unit of liquid density") << QStringLiteral("DlU");
    }
    void unfocusedBoxesKeepTheirValueAndThePageScrolls()
    {
        QFETCH(QString, name);
        auto* box = w->findChild<QComboBox*>(name);
        QVERIFY(box);
        auto* scroll = w->findChild<QScrollArea*>(QStringLiteral("ScrollBoxCalc"));
        QScrollBar* bar = scroll->verticalScrollBar();
        QVERIFY2(bar->maximum() > 0, "the page must be taller than the window for this test");
        bar->setValue(0);
        w->findChild<QWidget*>(QStringLiteral("DlD"))->setFocus();
        QVERIFY(!box->hasFocus());
        const QString before = box->currentText();
        const int index = box->currentIndex();

        for (int notch = 0; notch < 3; ++notch)
            WheelDown(box);
        QCOMPARE(box->currentText(), before);
        QCOMPARE(box->currentIndex(), index);
        QVERIFY(bar->value() > 0);
        // The wheel over the editor inside an editable box is the same wheel.
        if (box->lineEdit()) {
            WheelDown(box->lineEdit());
            QCOMPARE(box->currentText(), before);
        }
        QVERIFY(!box->hasFocus());
        QVERIFY(!w->Page().Modified);

        // Given the focus (a click or Tab), the box takes the wheel.
        box->setFocus(Qt::TabFocusReason);
        QVERIFY(box->hasFocus());
        const int scrolled = bar->value();
        WheelDown(box);
        QVERIFY(box->currentIndex() != index || box->currentText() != before);
        QCOMPARE(bar->value(), scrolled);
    }

    // Opening a page from a field of another one gives none of its value
    // controls the focus (the comparison page gave it to its method), so a
    // wheel over any of them changes nothing.
    void openingAPageLeavesItsValueControlsToTheWheelGuard()
    {
        QTabWidget* tabs = w->PageControlMain();
        for (int i = 0; i < tabs->count(); ++i) {
            // From a field of the calculation page, or to it from the comparison table.
            const int from =
                i == 0 ? tabs->indexOf(w->findChild<QWidget*>(QStringLiteral("TabSheetCompare"))) : 0;
            tabs->setCurrentIndex(from);
            w->findChild<QWidget*>(i == 0 ? QStringLiteral("CompareTable") : QStringLiteral("DlD"))
                ->setFocus();
            QVERIFY(QApplication::focusWidget() && !TWheelGuard::ValueControl(QApplication::focusWidget()));
            tabs->setCurrentIndex(i);
            QApplication::processEvents();
            QWidget* focus = QApplication::focusWidget();
            const QString page = tabs->tabText(i);
            QVERIFY2(!TWheelGuard::ValueControl(focus),
                     qPrintable(page + ": " + (focus ? focus->objectName() : QString())));
            for (QComboBox* box : tabs->currentWidget()->findChildren<QComboBox*>()) {
                if (!box->isVisible() || box->count() < 2) continue;
                const int index = box->currentIndex();
                WheelDown(box);
                QVERIFY2(box->currentIndex() == index, qPrintable(page + ": " + box->objectName()));
            }
        }
        QVERIFY(!w->Page().Modified);
    }

    // On every page the value controls take the focus only from a click or
    // Tab, never from a wheel passing over them.
    void noValueControlTakesTheFocusFromTheWheel()
    {
        for (int i = 0; i < w->PageControlMain()->count(); ++i)
            w->PageControlMain()->setCurrentIndex(i);
        QApplication::processEvents();
        int seen = 0;
        for (QWidget* c : w->findChildren<QWidget*>()) {
            if (!qobject_cast<QComboBox*>(c) && !qobject_cast<QAbstractSpinBox*>(c)) continue;
            ++seen;
            QVERIFY2(c->focusPolicy() != Qt::WheelFocus, qPrintable(c->objectName()));
        }
        QVERIFY(seen > 30);
    }
};

QTEST_MAIN(WheelGuardTest)
#include "wheelguard_qtest.moc"
