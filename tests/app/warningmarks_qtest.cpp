// Warnings where the eye goes: the field and the figure a warning names are
// marked in the severity's colour, a summary line at the top of the
// calculation page leads to the list, the tab carries a red dot while an
// error stands (its text unchanged), and the comparison shows the warnings
// first with flooded rows tinted.
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

#include "BoundWidgets.h"
#include "CalcPageWidget.h"
#include "ComparisonTableModel.h"
#include "Messages.h"
#include "ReadableColour.h"
#include "UnitMain.h"
#include "WarningMarks.h"

class WarningMarksTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TFormVELK> w;
    RecordingSink sink;

    TEditDWidget* edit(const char* name) { return w->findChild<TEditDWidget*>(QString::fromUtf8(name)); }
    int figureSeverity(int i)
    {
        return w->findChild<QLabel*>(QStringLiteral("Figure%1").arg(i))->property("severity").toInt();
    }
    void typeCase(const char* diameter)
    {
        const char* values[][2] = {{"LD", "2.5"},     {"VD", "3.0"},      {"DlD", "800"},  {"DvD", "2.5"},
                                   {"MlD", "0.0003"}, {"MvD", "0.00001"}, {"SLD", "0.02"}, {"DlfD", "2e-9"},
                                   {"DvfD", "1e-5"},  {"alfD", "2"}};
        for (auto& v : values)
            w->Page().Field(v[0])->SetText(v[1]);
        w->Page().LDExit();
        if (diameter) {
            w->Page().Check("CBRating")->UserClick();
            w->Page().Field("dD")->SetText(diameter);
            w->Page().LDExit();
        }
    }

private slots:
    void init()
    {
        SetMessageSink(&sink);
        qputenv("XDG_CONFIG_HOME", QByteArray(VELK_BINARY_DIR "/test-config"));
        w = std::make_unique<TFormVELK>();
        w->resize(1366, 768 - 40);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void cleanup()
    {
        w->Page().Modified = false;
        w.reset();
        SetMessageSink(nullptr);
    }

    void severityColoursReadOnWhite()
    {
        for (WarningSeverity s : {WarningSeverity::Info, WarningSeverity::Warning, WarningSeverity::Error})
            QVERIFY2(ContrastRatio(SeverityColour(s), Qt::white) >= 4.5, SeverityName(s));
    }

    void fieldsAndFiguresMarkedBySeverity_data()
    {
        QTest::addColumn<QString>("diameter");
        QTest::addColumn<int>("flood");  // severity of figure 0 and the frame of UvsD: -1 none
        QTest::addColumn<int>("design"); // figure 1 and dD
        QTest::newRow("design case: nothing marked") << QString() << -1 << -1;
        // 1.0 m: 125 % of flood (the operating-check test's case), above the design basis.
        QTest::newRow("flooded") << QStringLiteral("1.0") << 2 << 1;
    }
    void fieldsAndFiguresMarkedBySeverity()
    {
        QFETCH(QString, diameter);
        QFETCH(int, flood);
        QFETCH(int, design);
        const QByteArray d = diameter.toUtf8();
        typeCase(diameter.isEmpty() ? nullptr : d.constData());
        const QColor colours[] = {QColor(0, 0, 160), QColor(176, 96, 0), QColor(200, 0, 0)};
        const auto expected = [&](int rank) { return rank < 0 ? QColor() : colours[rank]; };
        QCOMPARE(edit("UvsD")->warningColour(), expected(flood));
        QCOMPARE(edit("dD")->warningColour(), expected(design));
        QCOMPARE(figureSeverity(0), flood);
        QCOMPARE(figureSeverity(1), design);
        QCOMPARE(figureSeverity(3), -1); // the capacity factor is named by no warning
        QVERIFY(!edit("LD")->warningColour().isValid());
    }

    void summaryLineNamesTheWorstAndJumpsToTheList()
    {
        auto* page = w->findChild<TCalcPageWidget*>();
        typeCase(nullptr);
        QVERIFY(page->WarningSummary()->isHidden());
        typeCase("1.0");
        QVERIFY(page->WarningSummary()->isVisible());
        const auto& warnings = w->Page().Operation().warnings;
        QVERIFY(page->WarningSummary()->text().contains(QStringLiteral("%1 条警告").arg(warnings.size())));
        QVERIFY(page->WarningSummary()->text().contains(QString::fromUtf8(warnings.front().text.c_str())));
        auto* scroll = w->findChild<QScrollArea*>(QStringLiteral("ScrollBoxCalc"));
        auto* list = w->findChild<QListWidget*>(QStringLiteral("ListWarnings"));
        scroll->verticalScrollBar()->setValue(0);
        emit page->WarningSummary()->linkActivated(QStringLiteral("#warnings"));
        const QRect shown(list->mapTo(scroll->viewport(), QPoint(0, 0)), list->size());
        QVERIFY(scroll->viewport()->rect().contains(shown));
    }

    void tabBadgeOnlyWithAnErrorAndTabTextUnchanged()
    {
        auto* tabs = w->findChild<QTabWidget*>(QStringLiteral("PageControlMain"));
        QStringList texts;
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i);
        const struct {
            const char* diameter;
            bool badge;
        } cases[] = {{nullptr, false}, {"1.0", true}};
        for (const auto& c : cases) {
            typeCase(c.diameter);
            QCOMPARE(w->HasTabBadge(0), c.badge);
            QCOMPARE(tabs->tabIcon(0).isNull(), !c.badge);
            for (int i = 0; i < tabs->count(); ++i)
                QCOMPARE(tabs->tabText(i), texts[i]);
        }
        QCOMPARE(texts[0], QStringLiteral("计算"));
    }

    void ratingTabBadgeOnFailedOrErrorStages()
    {
        const auto stage = [](bool skipped, bool completed, std::optional<WarningSeverity> w) {
            StageRating s;
            s.skipped = skipped;
            s.completed = completed;
            if (w) s.warnings.push_back({"x", "UvsD", "", *w});
            return s;
        };
        const struct {
            StageRating s;
            bool error;
        } cases[] = {
            {stage(true, false, std::nullopt), false}, // a condenser: skipped, no error
            {stage(false, false, std::nullopt), true}, // failed
            {stage(false, true, WarningSeverity::Warning), false},
            {stage(false, true, WarningSeverity::Error), true},
        };
        for (const auto& c : cases) {
            ProfileRating r;
            r.stages = {stage(false, true, std::nullopt), c.s};
            QCOMPARE(RatingHasError(r), c.error);
        }
    }

    void comparisonShowsWarningsFirstAndTintsFloodedRows()
    {
        ComparisonRow ok, flooded, failed;
        ok.packing = "A";
        ok.completed = true;
        flooded = ok;
        flooded.packing = "B";
        flooded.operation.warnings.push_back({"flooded", "UvsD", "", WarningSeverity::Error});
        failed.packing = "C";
        TComparisonTableModel m;
        m.SetRows({ok, flooded, failed}, false, "none", 0);
        QCOMPARE(m.ColumnOf(ComparisonColumn::Warnings), 0);
        const QVariant tint[] = {QVariant(), QVariant(QBrush(kFloodedRowColour)), QVariant()};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < m.columnCount(); ++c)
                QCOMPARE(m.index(r, c).data(Qt::BackgroundRole), tint[r]);
        // An out-of-date cell says so in its hint; its neighbour does not.
        ComparisonRow stale = ok;
        stale.stale[static_cast<int>(ComparisonValue::WetPressureDrop)] = true;
        m.SetRows({stale}, false, "none", 0);
        QVERIFY(!m.index(0, m.ColumnOf(ComparisonColumn::PressureDrop)).data(Qt::ToolTipRole).toString().isEmpty());
        QVERIFY(m.index(0, m.ColumnOf(ComparisonColumn::HETP)).data(Qt::ToolTipRole).toString().isEmpty());
        // Dark text on the tint stays readable.
        QVERIFY(ContrastRatio(kFloodedRowColour, Qt::black) >= 4.5);
    }
};

QTEST_MAIN(WarningMarksTest)
#include "warningmarks_qtest.moc"
