// The page "塔段校核" in the main window: the example column taken from its
// tray-profile CSV, the limiting stage highlighted, a damaged file refused
// without touching the profile, a double click loading a stage into the
// calculation page, and the profile kept with the project.
#include <QApplication>
#include <QSignalSpy>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "ColumnRatingPage.h"
#include "Messages.h"
#include "UnitHysys.h"
#include "UnitMain.h"
#include "UnitProii.h"

class ColumnRatingPageTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<TFormVELK> w;
    ColumnRatingPage* page = nullptr;
    RecordingSink sink;
    QTemporaryDir dir;
    bool replace = true;
    QList<int> asked;

private slots:
    void init()
    {
        SetMessageSink(&sink);
        sink.messages.clear();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config")));
        w = std::make_unique<TFormVELK>();
        w->resize(1366, 768);
        w->show();
        page = w->findChild<ColumnRatingPage*>(QStringLiteral("TabSheetRating"));
        QVERIFY(page);
        page->ChooseColumn = [](const QStringList& columns) {
            return static_cast<int>(columns.indexOf(QRegularExpression(".*T-100")));
        };
        asked.clear();
        replace = true;
        page->AskReplaceCase = [this](int stage) {
            asked << stage;
            return replace;
        };
        for (auto [f, t] : {std::pair{"DlfD", "2e-9"}, {"DvfD", "1e-5"}, {"alfD", "2"}})
            w->Page().Field(f)->SetText(t);
    }
    void cleanup()
    {
        w->Page().Modified = false;
        w.reset();
        SetMessageSink(nullptr);
    }

    void exampleColumnIsRatedAndItsLimitingStageShown()
    {
        QVERIFY(page->ImportCsv(QStringLiteral(VELK_SOURCE_DIR "/examples/debutanizer.csv")));
        QCOMPARE(w->PageControlMain()->tabText(w->PageControlMain()->indexOf(page)),
                 QStringLiteral("塔段校核"));
        QVERIFY(w->Page().Modified);
        QTableWidget* stages = page->StageTable();
        const std::size_t n = page->Profile().stages.size();
        QCOMPARE(stages->rowCount(), static_cast<int>(n));
        const ProfileRating& r = page->Rating();
        QVERIFY(r.beds.size() == 1 && r.beds[0].limitingStage);
        // The limiting stage has the highest flood percentage of the bed, and its row is highlighted.
        double highest = 0;
        for (const StageRating& s : r.stages)
            if (s.completed && s.floodPercent) highest = std::max(highest, *s.floodPercent);
        const int row = page->Profile().StageIndex(*r.beds[0].limitingStage);
        QCOMPARE(*r.stages[static_cast<std::size_t>(row)].floodPercent, highest);
        QVERIFY(stages->item(row, 0)->background().color() !=
                stages->item(row == 0 ? 1 : 0, 0)->background().color());
        // Tray 1 of the example has no vapour: no packed stage, skipped with a note.
        QVERIFY(!r.stages[0].completed);
        QVERIFY(r.stages[0].skipped);
        QVERIFY(!stages->item(0, stages->columnCount() - 1)->text().isEmpty());
        const QString shot = qEnvironmentVariable("VELK_SCREENSHOT_DIR");
        if (!shot.isEmpty()) {
            w->PageControlMain()->setCurrentWidget(page);
            QTest::qWait(200);
            w->grab().save(shot + "/column-rating.png");
            TFormProii proii(nullptr, w->Page());
            proii.grab().save(shot + "/proii.png");
            TFormHysys hysys(nullptr, w->Page());
            hysys.grab().save(shot + "/hysys.png");
        }

        // A damaged file: refused, the profile stays as it was.
        QFile bad(dir.filePath("bad.csv"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("column,tray,temperature,pressure,liq_molar_rate,liq_mw,liq_density,liq_viscosity,"
                  "liq_surface_tension,vap_molar_rate,vap_mw,vap_density,vap_viscosity\n"
                  "T,1,350,1000,0.04,60,800,0.0003,0.02,0.05,58,2.5,0.00001\n"
                  "T,2,351,1001,0.04,60,800,x,0.02,0.05,58,2.5,0.00001\n");
        bad.close();
        sink.messages.clear();
        QVERIFY(!page->ImportCsv(bad.fileName()));
        QCOMPARE(sink.messages.size(), size_t(1));
        QVERIFY(QString::fromStdString(sink.messages[0].text).contains("bad.csv:3:"));
        QCOMPARE(page->Profile().stages.size(), n);

        // Double click on the limiting stage: the calculation page takes it over.
        emit stages->cellDoubleClicked(row, 0);
        QCOMPARE(w->PageControlMain()->currentIndex(), 0);
        QCOMPARE(w->Page().Field("VD")->GetValue(), *page->Profile().stages[static_cast<std::size_t>(row)].V);
        QCOMPARE(w->Page().Field("dD")->GetValue(), *r.beds[0].diameter);
    }

    void aDoubleClickAsksBeforeReplacingAModifiedCaseAndUndoBringsItBack()
    {
        CalcPage& calc = w->Page();
        for (auto [f, t] : {std::pair{"LD", "2.5"}, {"VD", "3.0"}, {"DlD", "800"}, {"DvD", "2.5"}, {"MlD", "0.0003"},
                            {"MvD", "0.00001"}, {"SLD", "0.02"}})
            calc.Field(f)->SetText(t);
        calc.NeedsRecalc = true;
        calc.LDExit();
        QVERIFY(page->ImportCsv(QStringLiteral(VELK_SOURCE_DIR "/examples/debutanizer.csv")));
        auto texts = [&] {
            QStringList t;
            for (const TEditD* f : calc.ValueFields())
                t << QString::fromStdString(f->Text());
            return t;
        };
        const QStringList before = texts();
        const double flood = *calc.Operation().figures.floodPercent;
        QVERIFY(calc.Modified);
        // Refused: nothing changes, nothing to undo.
        replace = false;
        QVERIFY(!page->LoadStage(4));
        QCOMPARE(asked, QList<int>{5});
        QCOMPARE(texts(), before);
        QVERIFY(!page->UndoAction()->isEnabled());
        // Agreed: the stage is loaded, and Ctrl+Z in the window brings the case back.
        replace = true;
        QVERIFY(page->LoadStage(4));
        QCOMPARE(calc.Field("VD")->GetValue(), *page->Profile().stages[4].V);
        QVERIFY(texts() != before);
        QCOMPARE(page->UndoAction()->shortcut(), QKeySequence(QKeySequence::Undo));
        QVERIFY(w->actions().contains(page->UndoAction()));
        page->UndoAction()->trigger();
        QCOMPARE(texts(), before);
        QCOMPARE(*calc.Operation().figures.floodPercent, flood);
        QVERIFY(calc.Modified);
        QVERIFY(!page->UndoAction()->isEnabled());
        // An unmodified case is replaced without asking.
        calc.Modified = false;
        asked.clear();
        QVERIFY(page->LoadStage(4));
        QVERIFY(asked.isEmpty());
        QVERIFY(page->UndoStageLoad());
        QVERIFY(!calc.Modified);
    }

    void aLargeProfileIsRatedInStepsWithProgressAndCancel()
    {
        ColumnProfile large;
        for (int n = 1; n <= 150; ++n) {
            ProfileStage s;
            s.number = n;
            s.L = 2.5 * (1 + n / 150.0);
            s.V = 3.0;
            s.rhoL = 800;
            s.rhoV = 2.5;
            s.muL = 0.0003;
            s.muV = 0.00001;
            s.sigma = 0.02;
            large.stages.push_back(s);
        }
        QSignalSpy finished(page, &ColumnRatingPage::ratingFinished);
        page->SetProfile(large);
        QVERIFY(page->RatingInProgress());
        QVERIFY(page->Rating().stages.empty()); // returned before the work was done
        QVERIFY2(finished.wait(30000), "the rating did not finish within 30 s");
        QCOMPARE(finished.takeFirst().at(0).toBool(), true);
        QVERIFY(!page->RatingInProgress());
        // The same rating as in one go.
        ColumnProfile effective = page->Profile();
        const ProfileRating once = RateProfile(w->Page(), effective);
        const ProfileRating& stepped = page->Rating();
        QCOMPARE(stepped.stages.size(), size_t(150));
        for (std::size_t i = 0; i < 150; i += 37) {
            QVERIFY(stepped.stages[i].completed);
            QCOMPARE(*stepped.stages[i].floodPercent, *once.stages[i].floodPercent);
        }
        QCOMPARE(*stepped.beds[0].height, *once.beds[0].height);
        QCOMPARE(page->StageTable()->rowCount(), 150);
        // Cancel: the rating shown before stays, the button works again.
        const double height = *stepped.beds[0].height;
        QVERIFY(page->Rate());
        QVERIFY(page->RatingInProgress());
        page->CancelRating();
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.takeFirst().at(0).toBool(), false);
        QVERIFY(!page->RatingInProgress());
        QCOMPARE(*page->Rating().beds[0].height, height);
        QVERIFY(page->findChild<QPushButton*>(QStringLiteral("BRate"))->isEnabled());
    }
};

QTEST_MAIN(ColumnRatingPageTest)
#include "column_rating_qtest.moc"
