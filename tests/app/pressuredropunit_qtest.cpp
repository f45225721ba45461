// One pressure-drop unit for the operating check, the comparison, the charts
// and the column rating: mbar/m and mbar by default, Pa/m and Pa on choice
// (1 mbar = 100 Pa); the choice is kept in the option file like the language.
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTest>

#include "ComparisonTable.h"
#include "Messages.h"
#include "PressureDropDisplay.h"
#include "UnitMain.h"

class PressureDropUnitTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TFormVELK> w;
    RecordingSink sink;

    QString text(const QString& name) { return w->findChild<QLabel*>(name)->text(); }
    void choose(const char* action) { w->findChild<QAction*>(QString::fromLatin1(action))->trigger(); }
    // The stage table's headings, each closed by "|".
    QString stageHeadings()
    {
        auto* t = w->findChild<QTableWidget*>(QStringLiteral("ProfileStages"));
        QString all;
        for (int c = 0; c < t->columnCount(); ++c)
            all += t->horizontalHeaderItem(c)->text() + QLatin1Char('|');
        return all;
    }
    void open()
    {
        w = std::make_unique<TFormVELK>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }

private slots:
    void init()
    {
        SetMessageSink(&sink);
        // An option file of its own: the choice made here must not reach other tests.
        qputenv("XDG_CONFIG_HOME", QByteArray(VELK_BINARY_DIR "/test-config-pressure-drop-unit"));
        open();
        choose("MPressureDropUnit_Mbar");
    }
    void cleanup()
    {
        choose("MPressureDropUnit_Mbar");
        w->Page().Modified = false;
        w.reset();
        SetMessageSink(nullptr);
    }

    void headingsAndNumbersFollowTheChoice_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<double>("factor"); // shown value per mbar
        QTest::addColumn<QString>("perMetre");
        QTest::addColumn<QString>("bed");
        QTest::newRow("mbar") << "MPressureDropUnit_Mbar" << 1.0 << "mbar/m" << "mbar";
        QTest::newRow("Pa") << "MPressureDropUnit_Pa" << 100.0 << "Pa/m" << "Pa";
    }
    void headingsAndNumbersFollowTheChoice()
    {
        QFETCH(QString, action);
        QFETCH(double, factor);
        QFETCH(QString, perMetre);
        QFETCH(QString, bed);
        const char* values[][2] = {{"LD", "2.5"},     {"VD", "3.0"},      {"DlD", "800"},  {"DvD", "2.5"},
                                   {"MlD", "0.0003"}, {"MvD", "0.00001"}, {"SLD", "0.02"}, {"DlfD", "2e-9"},
                                   {"DvfD", "1e-5"},  {"alfD", "2"},      {"StagesD", "10"}};
        for (auto& v : values)
            w->Page().Field(v[0])->SetText(v[1]);
        w->Page().LDExit();
        choose(action.toLatin1().constData());
        const OperatingFigures& f = w->Page().Operation().figures;
        QVERIFY(f.pressureDropMbarPerM && f.bedPressureDrop);
        // Operating check: the figures and their units.
        QCOMPARE(text("Figure6").toDouble(), QString::number(*f.pressureDropMbarPerM * factor, 'g', 4).toDouble());
        QCOMPARE(text("Figure9").toDouble(), QString::number(*f.bedPressureDrop * factor, 'g', 4).toDouble());
        QCOMPARE(text("Figure6U"), perMetre);
        QCOMPARE(text("Figure9U"), bed);
        // Comparison: headings and a row's numbers.
        QVERIFY(ComparisonColumnHeading(ComparisonColumn::PressureDrop).endsWith(QStringLiteral("(%1)").arg(perMetre)));
        QVERIFY(ComparisonColumnHeading(ComparisonColumn::BedPressureDrop).endsWith(QStringLiteral("(%1)").arg(bed)));
        ComparisonRow row;
        row.completed = true;
        row.operation.figures.pressureDropMbarPerM = 2.5;
        row.operation.figures.bedPressureDrop = 40.0;
        QCOMPARE(*ComparisonCellNumber(row, ComparisonColumn::PressureDrop), 2.5 * factor);
        QCOMPARE(*ComparisonCellNumber(row, ComparisonColumn::BedPressureDrop), 40.0 * factor);
        // Column rating: the stage table's heading.
        const QString other = perMetre == QLatin1String("Pa/m") ? QStringLiteral("mbar/m") : QStringLiteral("Pa/m");
        QVERIFY(stageHeadings().contains(QStringLiteral("\n%1|").arg(perMetre)));
        QVERIFY(!stageHeadings().contains(QStringLiteral("\n%1|").arg(other)));
    }

    void choiceIsRememberedAcrossStarts()
    {
        choose("MPressureDropUnit_Pa");
        w.reset();
        SetPressureDropUnit(PressureDropUnit::Mbar); // as a fresh program starts
        open();
        QCOMPARE(CurrentPressureDropUnit(), PressureDropUnit::Pa);
        QVERIFY(w->findChild<QAction*>(QStringLiteral("MPressureDropUnit_Pa"))->isChecked());
    }
};

QTEST_MAIN(PressureDropUnitTest)
#include "pressuredropunit_qtest.moc"
