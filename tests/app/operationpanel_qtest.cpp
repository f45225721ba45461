// The operating check on the calculation page: the page scrolls on a
// 1366 x 768 screen, warnings are coloured by severity, out-of-date results
// are drawn grey and italic until their input is typed again.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "BoundWidgets.h"
#include "CalcPage.h"
#include "CaseState.h"
#include "Messages.h"
#include "OperationPanel.h"
#include "UnitMain.h"

class OperationPanelTest : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TFormVELK> w;
    RecordingSink sink;

    TEditDWidget* edit(const char* name) { return w->findChild<TEditDWidget*>(QString::fromUtf8(name)); }
    void type(const char* field, const char* text)
    {
        w->Page().Field(field)->SetText(text);
        w->Page().LDExit();
    }
    void typeCase()
    {
        const char* values[][2] = {{"LD", "2.5"},     {"VD", "3.0"},      {"DlD", "800"},  {"DvD", "2.5"},
                                   {"MlD", "0.0003"}, {"MvD", "0.00001"}, {"SLD", "0.02"}, {"DlfD", "2e-9"},
                                   {"DvfD", "1e-5"},  {"alfD", "2"}};
        for (auto& v : values)
            w->Page().Field(v[0])->SetText(v[1]);
        w->Page().LDExit();
    }

private slots:
    void init()
    {
        SetMessageSink(&sink);
        qputenv("XDG_CONFIG_HOME", QByteArray(VELK_BINARY_DIR "/test-config"));
        w = std::make_unique<TFormVELK>();
        w->resize(1366, 768 - 40); // a maximised window below a task bar
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void cleanup()
    {
        w->Page().Modified = false;
        w.reset();
        SetMessageSink(nullptr);
    }

    void pageScrollsDownButFitsTheWidth()
    {
        auto* scroll = w->findChild<QScrollArea*>(QStringLiteral("ScrollBoxCalc"));
        QVERIFY(scroll);
        QCOMPARE(scroll->horizontalScrollBar()->maximum(), 0);
        QVERIFY(scroll->verticalScrollBar()->maximum() > 0);
        QVERIFY(scroll->widget()->findChild<QWidget*>(QStringLiteral("GroupBoxOperation")));
    }

    void theDesignBasisControlsSayWhatGovernedOnlyWhenChosen()
    {
        typeCase();
        auto* governs = w->findChild<QLabel*>(QStringLiteral("DesignGoverns"));
        QVERIFY(governs);
        QCOMPARE(governs->text(), QString()); // both off: nothing new on the page
        auto* basis = w->findChild<TComboWidget*>(QStringLiteral("DesignBasisD"));
        QVERIFY(basis);
        // Both limits; 0.5 mbar/m is below this section's drop at its flooding diameter: it governs.
        basis->setCurrentIndex(2);
        emit basis->activated(2); // as a user's choice
        QCOMPARE(w->Page().Combo("DesignBasisD")->ItemIndex(), 2);
        type("DpLimitD", "0.5");
        QCOMPARE(governs->text(), QStringLiteral("压降限值控制塔径"));
        // A limit far above it: flooding governs.
        type("DpLimitD", "50");
        QCOMPARE(governs->text(), QStringLiteral("泛点率控制塔径"));
        basis->setCurrentIndex(0);
        emit basis->activated(0);
        auto* conservative = w->findChild<QCheckBox*>(QStringLiteral("CBConservative"));
        QVERIFY(conservative);
        conservative->click();
        QVERIFY(w->Page().Check("CBConservative")->Checked());
        QVERIFY(governs->text().startsWith(QStringLiteral("最低泛点：")));
    }

    void warningsAreColouredBySeverity()
    {
        typeCase();
        auto* list = w->findChild<QListWidget*>(QStringLiteral("ListWarnings"));
        QCOMPARE(list->count(), 0);
        auto* figure = w->findChild<QLabel*>(QStringLiteral("Figure1"));
        QCOMPARE(figure->text(), QStringLiteral("64")); // design basis 80 % x 0.8
        // Ten stages of HETP 0.16197 m (the recalculation test's python value).
        type("StagesD", "10");
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("Figure8"))->text(), QStringLiteral("1.62"));
        w->findChild<QComboBox*>(QStringLiteral("BedHeightU"))->setCurrentIndex(2); // mm
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("Figure8"))->text(), QStringLiteral("1620"));
        w->Page().Check("CBRating")->UserClick();
        type("dD", "1.0"); // 125 % of flood: flooded, above the design basis, HETP beyond the model
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(0)->data(Qt::UserRole).toString(), QStringLiteral("flooded"));
        QCOMPARE(list->item(0)->foreground().color(), QColor(200, 0, 0));
        QCOMPARE(list->item(1)->foreground().color(), QColor(176, 96, 0));
        // HETP keeps its text but is drawn unlike a result, with a hint.
        QVERIFY(!edit("HETPD")->text().isEmpty());
        QVERIFY(edit("HETPD")->isInvalid());
        QVERIFY(edit("HETPD")->font().strikeOut());
        QVERIFY(!edit("HETPD")->toolTip().isEmpty());
        QVERIFY(!edit("UfD")->isInvalid());
        QVERIFY(!edit("UfD")->font().strikeOut());
    }

    void staleResultsAreGreyItalicUntilTheInputReturns()
    {
        typeCase();
        type("DlD", "");
        QVERIFY(edit("UfD")->isStale());
        QVERIFY(edit("UfD")->font().italic());
        QVERIFY(!edit("UfD")->toolTip().isEmpty());
        QVERIFY(!edit("FpD")->isStale()); // cleared, not stale
        type("DlD", "800");
        QVERIFY(!edit("UfD")->isStale());
        QVERIFY(!edit("UfD")->font().italic());
    }

    // A failed recalculation leaves the results of before on the page, marked
    // as the printed outputs mark them: the same state for both.
    void failedRunMarksThePreviousResultsAsThePrintsDo()
    {
        typeCase();
        QVERIFY(!edit("UfD")->isStale());
        w->Page().Combo("DesignBasisD")->SetItemIndex(1); // by the pressure-drop limit
        w->Page().Field("DpLimitD")->SetText("1000");     // not reached below flood
        try {
            w->Page().LDExit();
        } catch (const std::exception&) {
        }
        const CaseState state = CaseStateOf(w->Page());
        QVERIFY(state.Failed());
        int stale = 0;
        for (TEditDWidget* e : w->findChildren<TEditDWidget*>()) {
            const ValueMarks marks = state.Marks(e->model()->Name());
            QCOMPARE(e->isStale(), marks.stale);
            stale += marks.stale;
        }
        QVERIFY(stale > 0);
    }

    // Inputs taken over and not recalculated (an import): the results and the
    // operating figures shown are the case before's, marked as the prints mark them.
    void inputsNotRecalculatedMarkResultsAndFigures()
    {
        typeCase();
        auto staleFigures = [this] {
            int n = 0;
            for (QLabel* l : w->findChildren<QLabel*>())
                n += l->property("stale").toBool() && l->styleSheet().contains(QStringLiteral("italic")) &&
                     !l->toolTip().isEmpty();
            return n;
        };
        QCOMPARE(staleFigures(), 0);
        w->Page().Field("DlD")->SetText("900"); // as the import writes it
        w->Page().OnOperationChanged();
        QVERIFY(edit("UfD")->isStale());
        QVERIFY(staleFigures() > 0);
        w->Page().LDExit();
        QVERIFY(!edit("UfD")->isStale());
        QCOMPARE(staleFigures(), 0);
    }
};

QTEST_MAIN(OperationPanelTest)
#include "operationpanel_qtest.moc"
