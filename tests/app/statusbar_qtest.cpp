// The hidden status bar: panels, the progress bar over panel PIndex.
#include <QProgressBar>
#include <QTest>

#include "MyStatusBar.h"

class StatusBarTest : public QObject {
    Q_OBJECT
private slots:
    void progressBarFollowsPIndex()
    {
        TMyStatusBar bar;
        bar.resize(1200, 22);
        QCOMPARE(bar.PanelCount(), 3);
        QCOMPARE(bar.PanelAt(0).Width, 300);
        QCOMPARE(bar.PanelAt(1).Width, 400);
        QCOMPARE(bar.PIndex(), 2);
        QVERIFY(bar.PanelAt(2).OwnerDrawn);
        QCOMPARE(bar.ProgressBar()->objectName(), QStringLiteral("ProgressBar"));
        QCOMPARE(bar.ProgressBar()->value(), 0);

        // The last panel leaves 12 pixels for the size grip; others are grown
        // by one pixel left, top and bottom.
        QCOMPARE(bar.ProgressRect(2), QRect(699, -1, 401 - 12, 24));
        QCOMPARE(bar.ProgressRect(0), QRect(-1, -1, 301, 24));

        bar.SetPIndex(0);
        QCOMPARE(bar.PIndex(), 0);
        QVERIFY(bar.PanelAt(0).OwnerDrawn);
        QVERIFY(!bar.PanelAt(2).OwnerDrawn);
        QVERIFY(bar.ProgressBar()->isHidden()); // off the bar until the next drawing

        bar.SetPIndex(3);
        bar.SetPIndex(-1);
        QCOMPARE(bar.PIndex(), 0);

        bar.SetPanelText(0, QStringLiteral("L=1.25 V=3.5"));
        QCOMPARE(bar.PanelText(0), QStringLiteral("L=1.25 V=3.5"));
        QCOMPARE(bar.PanelText(7), QString());
    }
};

QTEST_MAIN(StatusBarTest)
#include "statusbar_qtest.moc"
