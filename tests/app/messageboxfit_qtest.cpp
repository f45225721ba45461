// A message box with a long title over a short text is widened so that the
// title bar has room for the whole title, in both languages' titles; a box
// wider than its title keeps its width.
#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QTest>

#include "MessageBoxFit.h"

class MessageBoxFitTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TMessageBoxFit::InstallOnApplication(); }

    void titleFits_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("English title") << "Structured Packing Column Hydraulics" << "Saved.";
        QTest::newRow("Chinese title") << QString::fromUtf8("波纹规整填料塔流体力学") << "OK";
        QTest::newRow("long text") << "Note" << QString(60, QLatin1Char('x'));
    }
    void titleFits()
    {
        QFETCH(QString, title);
        QFETCH(QString, text);
        QMessageBox box(QMessageBox::Information, title, text);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QFontMetrics fm(QApplication::font("QMdiSubWindowTitleBar"));
        // Independent of the box's arithmetic: the text of the title, the
        // window's icon and three title-bar buttons, each about a line high.
        QTRY_VERIFY(box.width() >= fm.horizontalAdvance(title) + 4 * fm.height());
        QVERIFY(box.width() >= fm.horizontalAdvance(text));
    }
};

QTEST_MAIN(MessageBoxFitTest)
#include "messageboxfit_qtest.moc"
