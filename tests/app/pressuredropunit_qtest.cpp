// One pressure-drop unit for the operating check, the comparison, the charts
// and the column rating: mbar/m and mbar by default, Pa/m and Pa on choice
// (1 mbar = 100 Pa), inH2O/ft and inH2O in the US unit system; the choices are
// kept in the option file like the language. The US system also sets every
// selector of the calculation page.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>
#include <QTest>

#include "ComparisonTable.h"
#include "Messages.h"
#include "PressureDropDisplay.h"
#include "UnitMain.h"

class PressureDropUnitTest : public QObject
{
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
        choose("MUnitSystem_SI");
        choose("MPressureDropUnit_Mbar");
        w->Page().Modified = false;
        w.reset();
        SetMessageSink(nullptr);
    }

    void headingsAndNumbersFollowTheChoice_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<double>("factor");    // shown value per mbar/m
        QTest::addColumn<double>("bedFactor"); // shown value per mbar
        QTest::addColumn<QString>("perMetre");
        QTest::addColumn<QString>("bed");
        QTest::newRow("mbar") << "MPressureDropUnit_Mbar" << 1.0 << 1.0 << "mbar/m"
                              << "mbar";
        QTest::newRow("Pa") << "MPressureDropUnit_Pa" << 100.0 << 100.0 << "Pa/m"
                            << "Pa";
        // 1 inH2O = 1000 kg/m3 x 9.80665 m/s2 x 0.0254 m; 1 ft = 0.3048 m.
        const double inH2O = 1000 * 9.80665 * 0.0254;
        QTest::newRow("US") << "MUnitSystem_US" << 100 * 0.3048 / inH2O << 100 / inH2O << "inH2O/ft"
                            << "inH2O";
    }
    void headingsAndNumbersFollowTheChoice()
    {
        QFETCH(QString, action);
        QFETCH(double, factor);
        QFETCH(double, bedFactor);
        QFETCH(QString, perMetre);
        QFETCH(QString, bed);
        const char* values[][2] = {{"LD", "2.5"},     {"VD", "3.0"},      {"DlD", "800"},   {"DvD", "2.5"},
                                   {"MlD", "0.0003"}, {"MvD", "0.00001"}, {"SLD", "0.02"},  {"DlfD", "2e-9"},
                                   {"DvfD", "1e-5"},  {"alfD", "2"},      {"StagesD", "10"}};
        for (auto& v : values)
            w->Page().Field(v[0])->SetText(v[1]);
        w->Page().LDExit();
        choose(action.toLatin1().constData());
        const OperatingFigures& f = w->Page().Operation().figures;
        QVERIFY(f.pressureDropMbarPerM && f.bedPressureDrop);
        // Operating check: the figures and their units.
        QCOMPARE(text("Figure6").toDouble(),
                 QString::number(*f.pressureDropMbarPerM * factor, 'g', 4).toDouble());
        QCOMPARE(text("Figure9").toDouble(),
                 QString::number(*f.bedPressureDrop * bedFactor, 'g', 4).toDouble());
        QCOMPARE(text("Figure6U"), perMetre);
        QCOMPARE(text("Figure9U"), bed);
        // Comparison: headings and a row's numbers.
        QVERIFY(ComparisonColumnHeading(ComparisonColumn::PressureDrop)
                    .endsWith(QStringLiteral("(%1)").arg(perMetre)));
        QVERIFY(ComparisonColumnHeading(ComparisonColumn::BedPressureDrop)
                    .endsWith(QStringLiteral("(%1)").arg(bed)));
        ComparisonRow row;
        row.completed = true;
        row.operation.figures.pressureDropMbarPerM = 2.5;
        row.operation.figures.bedPressureDrop = 40.0;
        QVERIFY(qAbs(*ComparisonCellNumber(row, ComparisonColumn::PressureDrop) - 2.5 * factor) < 1e-12);
        QVERIFY(qAbs(*ComparisonCellNumber(row, ComparisonColumn::BedPressureDrop) - 40.0 * bedFactor) <
                1e-12);
        // Column rating: the stage table's heading.
        const QString other =
            perMetre == QLatin1String("Pa/m") ? QStringLiteral("mbar/m") : QStringLiteral("Pa/m");
        QVERIFY(stageHeadings().contains(QStringLiteral("\n%1|").arg(perMetre)));
        QVERIFY(!stageHeadings().contains(QStringLiteral("\n%1|").arg(other)));
    }

    void usSystemSetsEverySelectorAndTheNewerPages()
    {
        w->Page().Field("LD")->SetText("7200");
        w->Page().Modified = false;
        QCOMPARE(text("dPwaterL"), QStringLiteral("湿塔压降(每米)"));
        choose("MUnitSystem_US");
        // The captions of the pressure drops per length name the unit's length.
        QCOMPARE(text("dPdryL"), QStringLiteral("干塔压降(每英尺)"));
        QCOMPARE(text("dPwaterL"), QStringLiteral("湿塔压降(每英尺)"));
        const std::pair<const char*, const char*> units[] = {
            {"LD", "lb/h"},      {"VD", "lb/h"},         {"DlD", "lb/ft3"},
            {"DvD", "lb/ft3"},   {"MlD", "cp"},          {"MvD", "cp"},
            {"SLD", "dyn/cm"},   {"DlfD", "ft2/h"},      {"DvfD", "ft2/h"},
            {"UfD", "ft/s"},     {"UpD", "ft/s"},        {"UvsD", "ft/s"},
            {"UlsD", "gpm/ft2"}, {"dpD", "ft"},          {"dD", "ft"},
            {"HTUVD", "ft"},     {"HTULD", "ft"},        {"HTUOVD", "ft"},
            {"HETPD", "ft"},     {"dPdryD", "inH2O/ft"}, {"dPwaterD", "inH2O/ft"},
            {"HTD", "m3/m3"},
        };
        for (const auto& [field, unit] : units)
            QCOMPARE(QString::fromStdString(w->Page().UnitOf(w->Page().Field(field))->GetUnit()),
                     QString::fromLatin1(unit));
        // 7200 kg/s in lb/h: 7200 x 3600 / 0.45359237, the text converted as a selection does.
        QVERIFY(qAbs(QString::fromStdString(w->Page().Field("LD")->Text()).toDouble() /
                         (7200 * 3600 / 0.45359237) -
                     1) < 1e-11);
        QTRY_VERIFY(w->Page().Modified);
        QCOMPARE(w->findChild<QComboBox*>(QStringLiteral("BedHeightU"))->currentText(), QStringLiteral("ft"));
        QCOMPARE(text("Figure3U"), QStringLiteral("ft/s"));
        QCOMPARE(text("Figure4U"), QStringLiteral("gpm/ft2"));
        QVERIFY(ComparisonColumnHeading(ComparisonColumn::ActualDiameter).endsWith(QStringLiteral("(ft)")));
        QVERIFY(ComparisonColumnHeading(ComparisonColumn::FloodVelocity).endsWith(QStringLiteral("(ft/s)")));
        QVERIFY(!w->findChild<QMenu*>(QStringLiteral("MPressureDropUnit"))->isEnabled());
        // The column rating's data and results in US units too.
        for (const char* unit :
             {"\nlb/h|", "\nlb/ft3|", "\ncp|", "\ndyn/cm|", "\nft2/h|", "\nft|", "\ninH2O/ft|"})
            QVERIFY2(stageHeadings().contains(QString::fromLatin1(unit)), unit);
        // Kept across starts; a new page starts in it, unmodified.
        w->Page().Modified = false;
        w.reset();
        SetDisplaySystem(UnitSystem::SI); // as a fresh program starts
        open();
        QCOMPARE(CurrentDisplaySystem(), UnitSystem::US);
        QVERIFY(w->findChild<QAction*>(QStringLiteral("MUnitSystem_US"))->isChecked());
        QCOMPARE(QString::fromStdString(w->Page().UnitOf(w->Page().Field("VD"))->GetUnit()),
                 QStringLiteral("lb/h"));
        QVERIFY(!w->Page().Modified);
        choose("MUnitSystem_SI");
        QCOMPARE(QString::fromStdString(w->Page().UnitOf(w->Page().Field("VD"))->GetUnit()),
                 QStringLiteral("kg/s"));
        QCOMPARE(w->findChild<QComboBox*>(QStringLiteral("BedHeightU"))->currentText(), QStringLiteral("m"));
        QVERIFY(ComparisonColumnHeading(ComparisonColumn::ActualDiameter).endsWith(QStringLiteral("(m)")));
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
