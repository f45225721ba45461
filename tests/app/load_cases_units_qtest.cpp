// The case table of the page "工况校核" in the chosen unit system: values
// typed in US units are stored in SI, the headings name the US units, and a
// change of the system shows every value again in the new units, an
// untouched one keeping its exact SI value.
#include <QTableWidget>
#include <QTest>

#include "CalcPage.h"
#include "LoadCasesPage.h"
#include "Messages.h"
#include "PressureDropDisplay.h"
#include "TypicalCase.h"

namespace
{
constexpr double kFt = 0.3048, kLb = 0.45359237;
}

class LoadCasesUnitsTest : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init() { SetMessageSink(&sink); }
    void cleanup()
    {
        SetDisplaySystem(UnitSystem::SI);
        SetMessageSink(nullptr);
    }

    void aValueTypedInUsUnitsIsStoredInSi_data()
    {
        QTest::addColumn<int>("value"); // index of the ten case values
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<double>("si");
        QTest::newRow("vapour flow") << 0 << "7938" << "lb/h" << 7938 * kLb / 3600;
        QTest::newRow("liquid density") << 4 << "50" << "lb/ft3" << 50 * kLb / (kFt * kFt * kFt);
        QTest::newRow("liquid viscosity") << 5 << "0.4" << "cp" << 0.4e-3;
        QTest::newRow("surface tension") << 6 << "20" << "dyn/cm" << 0.02;
        QTest::newRow("diffusivity") << 7 << "1e-4" << "ft2/h" << 1e-4 * kFt * kFt / 3600;
        QTest::newRow("slope") << 9 << "1.5" << "" << 1.5;
    }
    void aValueTypedInUsUnitsIsStoredInSi()
    {
        QFETCH(int, value);
        QFETCH(QString, typed);
        QFETCH(QString, unit);
        QFETCH(double, si);
        CalcPage calc(false);
        SetDisplaySystem(UnitSystem::US);
        LoadCasesPage page(calc);
        LoadCase c;
        c.name = "A";
        page.AddCaseRow(c);
        page.CaseTable()->item(0, 1 + value)->setText(typed);
        const QString heading = page.CaseTable()->horizontalHeaderItem(1 + value)->text();
        QCOMPARE(heading.contains(QLatin1Char('\n')), !unit.isEmpty());
        if (!unit.isEmpty()) QCOMPARE(heading.section(QLatin1Char('\n'), 1), unit);
        const std::optional<double> stored = page.ReadCaseTable().at(0).values.*kProfileValues[value].member;
        QVERIFY(stored);
        QVERIFY2(std::abs(*stored - si) <= 1e-12 * si, qPrintable(QString::number(*stored, 'g', 17)));
    }

    void aChangeOfTheSystemShowsTheValuesAgain()
    {
        CalcPage calc(false);
        LoadCasesPage page(calc);
        LoadCase c;
        c.name = "A";
        c.values.V = 1.0;
        c.values.rhoL = 1000.0 / 3; // more digits than a cell shows
        page.AddCaseRow(c);
        QTableWidget* t = page.CaseTable();
        QCOMPARE(t->item(0, 1)->text(), QStringLiteral("1"));
        SetDisplaySystem(UnitSystem::US);
        QCOMPARE(t->item(0, 1)->text(), QString::number(3600 / kLb, 'g', 6));
        QCOMPARE(t->item(0, 5)->text(), QString::number(1000.0 / 3 * kFt * kFt * kFt / kLb, 'g', 6));
        t->item(0, 4)->setText(QStringLiteral("1000")); // liquid flow typed in lb/h
        t->item(0, 6)->setText(QStringLiteral("x"));    // not a number: stays as typed
        SetDisplaySystem(UnitSystem::SI);
        QCOMPARE(t->item(0, 4)->text(), QString::number(1000 * kLb / 3600, 'g', 6));
        QCOMPARE(t->item(0, 6)->text(), QStringLiteral("x"));
        t->item(0, 6)->setText(QString());
        const LoadCase back = page.ReadCaseTable().at(0);
        QCOMPARE(*back.values.V, 1.0);
        QCOMPARE(*back.values.rhoL, 1000.0 / 3);
        QVERIFY(std::abs(*back.values.L - 1000 * kLb / 3600) <= 1e-15);
    }
};

QTEST_MAIN(LoadCasesUnitsTest)
#include "load_cases_units_qtest.moc"
