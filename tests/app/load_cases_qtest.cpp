// The page "工况校核" in the main window: each case's results equal a single
// run of the calculation page at the section's diameter, the heaviest load
// governs, a double click loads a case (asking first), the CSV export holds
// the table, and the cases go with the project: kept on Save and Open, a
// damaged record changes nothing, and a tool that does not read them keeps
// them byte for byte.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <sstream>

#include "CaseRun.h"
#include "LoadCaseRecords.h"
#include "LoadCasesPage.h"
#include "Messages.h"
#include "SaveFormData.h"
#include "SaveFormDataFile.h"
#include "SaveFormDataTool.h"
#include "TypicalCase.h"
#include "UnitMain.h"
#include "WarningMarks.h"

namespace
{

class Prompts : public UiPrompts
{
public:
    QString savePath;
    Answer answer = Answer::No;
    Answer askYesNoCancel(QWidget*, const QString&, const QString&) override { return answer; }
    QString askSaveFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return savePath;
    }
    QString askOpenFileName(QWidget*, const QString&) override { return {}; }
    void information(QWidget*, const QString&, const QString&) override {}
    int execDialog(QDialog*) override { return 0; }
};

// The typical section at k times its flows; `rhoL`, when given, the case's own liquid density.
LoadCase Case(const char* name, double k, std::optional<double> rhoL = {})
{
    LoadCase c;
    c.name = name;
    c.values.V = 3.0 * k;
    c.values.L = 2.5 * k;
    c.values.rhoL = rhoL;
    return c;
}

std::vector<LoadCase> FourCases()
{
    return {Case("最小", 0.5), Case("正常", 1.0), Case("最大", 1.2), Case("重液", 1.0, 900.0)};
}

QString Shown(const std::optional<double>& v)
{
    return v ? QString::number(*v, 'g', 6) : QString();
}

} // namespace

class LoadCasesPageTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<TFormVELK> w;
    LoadCasesPage* page = nullptr;
    Prompts* prompts = nullptr;
    RecordingSink sink;
    QTemporaryDir dir;
    QStringList asked;
    QStringList questions;

    QString Cell(int row, int column) const
    {
        const QTableWidgetItem* item = page->ResultTable()->item(row, column);
        return item ? item->text() : QString();
    }

private slots:
    void init()
    {
        SetMessageSink(&sink);
        sink.messages.clear();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config")));
        w = std::make_unique<TFormVELK>();
        auto p = std::make_unique<Prompts>();
        prompts = p.get();
        w->SetPrompts(std::move(p));
        w->resize(1366, 768);
        w->show();
        page = w->findChild<LoadCasesPage*>(QStringLiteral("TabSheetLoadCases"));
        QVERIFY(page);
        asked.clear();
        questions.clear();
        page->AskReplaceCase = [this](const QString& name, const QString& question) {
            asked << name;
            questions << question;
            return prompts->answer == UiPrompts::Answer::Yes;
        };
        TypeTypicalCase(w->Page());
        QVERIFY(w->Page().RecalcReported());
    }
    void cleanup()
    {
        w->Page().Modified = false;
        w.reset();
        SetMessageSink(nullptr);
    }

    void eachCaseEqualsASingleRunAtTheSectionsDiameter()
    {
        QCOMPARE(w->PageControlMain()->tabText(w->PageControlMain()->indexOf(page)),
                 QStringLiteral("工况校核"));
        page->SetCases(FourCases());
        const EnvelopeResult& r = page->Rating();
        QCOMPARE(r.cases.size(), std::size_t(4));
        QCOMPARE(page->ResultTable()->rowCount(), 4);
        QVERIFY(r.diameter);
        // Same properties, the largest flows: the highest share of the capacity.
        QCOMPARE(r.governing, std::optional<int>(2));
        QCOMPARE(page->ResultTable()->item(2, 0)->background().color(), QColor(0xFF, 0xFF, 0x80));
        QVERIFY(page->ResultTable()->item(1, 0)->background() == QBrush());

        // Sizing mode: the diameter is what the governing case needs alone, rounded as the page rounds.
        CalcPage alone(false);
        CopyPageState(w->Page(), alone);
        QVERIFY(RunCase(alone, [&](CalcPage& p) { ApplyLoadCase(p, FourCases()[2]); }).completed);
        QCOMPARE(alone.Field("dD")->GetValue(), *r.diameter);

        for (int i = 0; i < 4; ++i) {
            CalcPage single(false);
            CopyPageState(w->Page(), single);
            const CaseRunResult run = RunCase(single, [&](CalcPage& p) {
                ApplyLoadCase(p, FourCases()[static_cast<std::size_t>(i)]);
                p.SetRatingMode(true);
                p.Field("dD")->SetValue(*r.diameter);
            });
            QVERIFY2(run.completed, run.error.c_str());
            const OperatingFigures& f = single.Operation().figures;
            QCOMPARE(Cell(i, 0), QString::fromUtf8(FourCases()[static_cast<std::size_t>(i)].name.c_str()));
            QCOMPARE(Cell(i, 1), Shown(f.floodPercent));
            QCOMPARE(Cell(i, 2), Shown(f.systemFloodPercent));
            QCOMPARE(Cell(i, 3), Shown(f.FsFactor));
            QCOMPARE(Cell(i, 4), Shown(f.liquidLoad));
            QCOMPARE(Cell(i, 5), Shown(f.pressureDropMbarPerM)); // mbar/m is the default display unit
            QCOMPARE(Cell(i, 6), Shown(single.Field("HTD")->GetValue()));
            QCOMPARE(Cell(i, 7), Shown(single.Field("HETPD")->GetValue()));
        }
        // The calculation page itself is untouched.
        QCOMPARE(w->Page().Field("VD")->Text(), std::string("3.0"));
        QVERIFY(!page->WindowLabel()->isHidden());
        QVERIFY(page->WindowLabel()->text().contains(QStringLiteral("最大")));
    }

    void aCaseLackingAnInputSaysWhichInRed()
    {
        w->Page().Field("SLD")->SetText(""); // no surface tension on the page, none in the cases
        page->SetCases({Case("正常", 1.0)});
        QCOMPARE(page->Rating().cases.size(), std::size_t(1));
        QVERIFY(!page->Rating().cases[0].completed);
        QCOMPARE(Cell(0, 8), QStringLiteral("数据不全：SLD"));
        QCOMPARE(Cell(0, 1), QString()); // no figure of a case that did not complete
        QCOMPARE(page->ResultTable()->item(0, 8)->foreground().color(),
                 SeverityColour(WarningSeverity::Error));
    }

    void aDoubleClickLoadsACaseAskingFirstWhenThePageIsModified()
    {
        page->SetCases(FourCases());
        CalcPage& calc = w->Page();
        calc.Modified = true;
        prompts->answer = UiPrompts::Answer::No;
        QVERIFY(!page->LoadCaseIntoPage(3));
        QCOMPARE(asked, QStringList{QStringLiteral("重液")});
        // The question names what the case replaces: its density and the mode.
        QVERIFY(questions.at(0).contains(QStringLiteral("液相密度")));
        QVERIFY(questions.at(0).contains(QStringLiteral("核算给定塔径")));
        QVERIFY(!questions.at(0).contains(QStringLiteral("气相密度")));
        QCOMPARE(calc.Field("DlD")->GetValue(), 800.0);

        prompts->answer = UiPrompts::Answer::Yes;
        QVERIFY(page->LoadCaseIntoPage(3));
        QCOMPARE(w->PageControlMain()->currentIndex(), 0);
        QCOMPARE(calc.Field("DlD")->GetValue(), 900.0);
        QCOMPARE(calc.Field("VD")->GetValue(), 3.0);
        QCOMPARE(calc.Field("LD")->GetValue(), 2.5);
        QVERIFY(calc.Modified);

        // An unmodified page is replaced without a question.
        calc.Modified = false;
        asked.clear();
        QVERIFY(page->LoadCaseIntoPage(0));
        QVERIFY(asked.isEmpty());
        QCOMPARE(calc.Field("VD")->GetValue(), 1.5);
        QVERIFY(!page->LoadCaseIntoPage(4));

        // Loading the same case again replaces nothing: no question.
        calc.Modified = true;
        QVERIFY(page->LoadCaseIntoPage(0));
        QVERIFY(asked.isEmpty());
    }

    void aLoadedCaseShowsTheNumbersOfItsRow()
    {
        page->SetCases(FourCases());
        const CaseResult row = page->Rating().cases[0]; // the smallest case, below the section's size
        prompts->answer = UiPrompts::Answer::Yes;
        QVERIFY(page->LoadCaseIntoPage(0));
        CalcPage& calc = w->Page();
        QVERIFY(calc.Check("CBRating")->Checked());
        QCOMPARE(calc.Field("dD")->GetValue(), *page->Rating().diameter);
        QVERIFY(calc.RecalcReported());
        QCOMPARE(calc.Operation().figures.floodPercent, row.figures.floodPercent);
        QCOMPARE(calc.Field("HETPD")->GetValue(), *row.HETP);
    }

    void theCaseTableIsExportedAsCsv()
    {
        std::vector<LoadCase> cases = FourCases();
        cases[0].name = "最小, 开车"; // a comma: the field is quoted
        page->SetCases(cases);
        const QString path = dir.filePath("cases.csv");
        QString error;
        QVERIFY2(page->ExportCsv(path, &error), qPrintable(error));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QByteArray bytes = f.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QStringList lines =
            QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        // The reader's keys, the units, four cases, the window as a comment.
        QCOMPARE(lines.size(), 7);
        QVERIFY(lines[0].startsWith(QStringLiteral("name,vapour_mass_flow,liquid_mass_flow,vap_density,")));
        QVERIFY(lines[0].endsWith(QStringLiteral(",equilibrium_slope,flood_percent,system_flood_percent,"
                                                 "f_factor,liquid_load,pressure_drop,holdup,hetp,note")));
        QVERIFY(lines[1].startsWith(QStringLiteral("# units: name=text, vapour_mass_flow=kg/s,")));
        QVERIFY(lines[2].startsWith(QStringLiteral("\"最小, 开车\",1.5,1.25,,,,,,,,,")));
        QVERIFY(lines[5].startsWith(QStringLiteral("\"重液\",3,2.5,,,900,,,,,,")));
        const QStringList heavy = lines[5].split(QLatin1Char(','));
        QCOMPARE(QString::number(heavy[11].toDouble(), 'g', 6),
                 Cell(3, 1)); // % of flood after the ten values
        QCOMPARE(QString::number(heavy[17].toDouble(), 'g', 6), Cell(3, 7)); // HETP
        QVERIFY(lines[6].startsWith(QStringLiteral("# ")) && lines[6].contains(QStringLiteral("最大")));
    }

    void anExportedFileImportsToTheSameCasesAfterAsking()
    {
        std::vector<LoadCase> cases = FourCases();
        cases[1].name = "正常, \"B\" #2";
        cases[2].values.V = 0.1 + 0.2; // no short decimal form
        cases[3].values.slope = 1.25;
        page->SetCases(cases);
        const QString path = dir.filePath("round.csv");
        QVERIFY(page->ExportCsv(path, nullptr));
        page->SetCases({Case("其他", 2.0)});
        QList<int> asked;
        for (const bool answer : {false, true}) {
            page->AskReplaceCases = [&](int count) { return asked << count, answer; };
            QCOMPARE(page->ImportCsv(path), answer);
        }
        QCOMPARE(asked, (QList<int>{1, 1}));
        QCOMPARE(page->Cases().size(), cases.size());
        for (std::size_t i = 0; i < cases.size(); ++i) {
            QCOMPARE(page->Cases()[i].name, cases[i].name);
            for (const ProfileValue& v : kProfileValues)
                QCOMPARE(page->Cases()[i].values.*v.member, cases[i].values.*v.member);
        }
    }

    void aRefusedImportKeepsTheCasesAndTheirResults()
    {
        page->SetCases(FourCases());
        page->AskReplaceCases = [](int) { return true; };
        const auto shown = [this] {
            QStringList cells{QString::number(page->CaseTable()->rowCount())};
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 8; ++c)
                    cells << Cell(r, c);
            return cells;
        };
        const QStringList before = shown();
        const QString path = dir.filePath("bad.csv");
        for (const char* text : {"name,vapour_mass_flow,liquid_mass_flow\na,3,2.5\n\"a \",3.3,2.5\n",
                                 "name,vapour_mass_flow,liquid_mass_flow\nnormal\xff,3,2.5\n",
                                 "name,vapour_mass_flow,liquid_mass_flow,equilibrium_slope\na,3,2.5,0\n"}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) > 0);
            f.close();
            QVERIFY(!page->ImportCsv(path));
            QCOMPARE(page->Cases().size(), std::size_t(4));
            QCOMPARE(shown(), before);
        }
    }

    void aCaseFileIsImportedAndADamagedOneChangesNothing()
    {
        const QString path = dir.filePath("in.csv");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("name,vapour_mass_flow,liquid_mass_flow,liq_density\n最小,1.5,1.25,\n重液,3,2.5,900\n");
        f.close();
        w->Page().Modified = false;
        QVERIFY(page->ImportCsv(path));
        QVERIFY(w->Page().Modified);
        QCOMPARE(page->Cases().size(), std::size_t(2));
        QCOMPARE(page->Cases()[1].name, std::string("重液"));
        QCOMPARE(page->Cases()[1].values.rhoL, std::optional<double>(900.0));
        QVERIFY(!page->Cases()[0].values.rhoL);
        QCOMPARE(page->CaseTable()->rowCount(), 2);
        QCOMPARE(page->ResultTable()->rowCount(), 2);

        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("name,vapour_mass_flow,liquid_mass_flow\nA,1.5,abc\n");
        f.close();
        sink.messages.clear();
        QVERIFY(!page->ImportCsv(path));
        QCOMPARE(sink.messages.size(), std::size_t(1));
        QCOMPARE(page->Cases().size(), std::size_t(2));
    }

    void casesGoWithTheProjectAndADamagedRecordChangesNothing()
    {
        page->SetCases(FourCases());
        // The design basis goes with the page's own records.
        CalcPage& calc = w->Page();
        calc.Combo("DesignBasisD")->SetItemIndex(2);
        calc.Field("DpLimitD")->SetText("1.5");
        calc.Check("CBConservative")->SetChecked(true);
        calc.NeedsRecalc = true;
        QVERIFY(calc.RecalcReported());
        const QString path = dir.filePath("cases.vel");
        prompts->savePath = path;
        w->MFile_SaveClick(true);
        QVERIFY(!calc.Modified);

        page->SetCases({Case("其他", 2.0)});
        calc.Combo("DesignBasisD")->SetItemIndex(0);
        calc.Field("DpLimitD")->SetText("");
        calc.Check("CBConservative")->SetChecked(false);
        prompts->answer = UiPrompts::Answer::No; // do not save the change
        w->MFile_OpenClick(path);
        QCOMPARE(calc.Combo("DesignBasisD")->ItemIndex(), 2);
        QCOMPARE(calc.Field("DpLimitD")->Text(), std::string("1.5"));
        QVERIFY(calc.Check("CBConservative")->Checked());
        QCOMPARE(page->Cases().size(), std::size_t(4));
        for (std::size_t i = 0; i < 4; ++i) {
            QCOMPARE(page->Cases()[i].name, FourCases()[i].name);
            for (const ProfileValue& v : kProfileValues)
                QCOMPARE(page->Cases()[i].values.*v.member, FourCases()[i].values.*v.member);
        }
        QCOMPARE(page->Rating().governing, std::optional<int>(2));

        // A reader that knows no cases gets the page it would get without them.
        const std::string plain = ProjectPlainText(ReadProjectFileBytes(path.toStdString()));
        QVERIFY(plain.find("LoadCases\r\nString\r\nCase\r\n") != std::string::npos);
        CalcPage older(false), without(false);
        QVERIFY(ApplyFormRecords(older, plain));
        QVERIFY(ApplyFormRecords(without, FormRecordsText(w->Page())));
        for (std::size_t i = 0; i < older.ValueFields().size(); ++i)
            QCOMPARE(older.ValueFields()[i]->Text(), without.ValueFields()[i]->Text());

        // A tool that does not read them writes them back byte for byte.
        const QString copy = dir.filePath("copy.vel");
        std::ostringstream err;
        QCOMPARE(RunVelkProject({path.toStdString(), copy.toStdString(), "--form", "plain"}, err), 0);
        const std::string copied = ProjectPlainText(ReadProjectFileBytes(copy.toStdString()));
        const auto records = [](const std::string& text) { return text.substr(text.find("LoadCases\r\n")); };
        QCOMPARE(records(copied), records(plain));

        // A case value that does not convert: the open fails, nothing changes.
        std::string bad = plain;
        const std::string from = "LoadCases\r\nString\r\nCase\r\n1.5;";
        QVERIFY(bad.find(from) != std::string::npos);
        bad.replace(bad.find(from), from.size(), "LoadCases\r\nString\r\nCase\r\nx.5;");
        const QString damaged = dir.filePath("damaged.vel");
        QFile out(damaged);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bad.data(), static_cast<qint64>(bad.size()));
        out.close();
        page->SetCases({Case("其他", 2.0)});
        w->Page().Field("DlD")->SetText("777");
        w->Page().Modified = false;
        sink.messages.clear();
        w->MFile_OpenClick(damaged);
        QCOMPARE(sink.messages.size(), std::size_t(1));
        QCOMPARE(page->Cases().size(), std::size_t(1));
        QCOMPARE(page->Cases()[0].name, std::string("其他"));
        QCOMPARE(w->Page().Field("DlD")->Text(), std::string("777"));
        QCOMPARE(w->CurrentFileName(), path);
    }
};

QTEST_MAIN(LoadCasesPageTest)
#include "load_cases_qtest.moc"
