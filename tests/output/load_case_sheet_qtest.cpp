// The load cases in the report: a sheet of their own after the report's,
// which stays active, and one more page of the PDF export; without cases
// neither.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "CalcPage.h"
#include "LoadCases.h"
#include "Messages.h"
#include "MyXls.h"
#include "PackingCatalogue.h"
#include "ReportCommands.h"
#include "TypicalCase.h"
#include "XlsxDocument.h"

class LoadCaseSheetTest : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    RecordingSink sink;
    QString nextChoice;

    static LoadCase Case(const char* name, double k)
    {
        LoadCase c;
        c.name = name;
        c.values.V = 3.0 * k;
        c.values.L = 2.5 * k;
        return c;
    }

private slots:
    void initTestCase()
    {
        SetMessageSink(&sink);
        MyXlsInitialization();
        SetFileDialogRunner([this](QWidget*, TFileDialogState& d) {
            d.fileName = nextChoice.toStdString();
            return true;
        });
    }
    void cleanupTestCase()
    {
        SetFileDialogRunner({});
        SetMessageSink(nullptr);
    }

    void workbookAndPdfCarryTheCasesOnlyWhenThereAreSome()
    {
        CurrentPacking = PackingParams{};
        CalcPage page(false);
        TypeTypicalCase(page);
        page.LDExit();
        const std::vector<LoadCase> cases{Case("最小", 0.5), Case("最大", 1.2)};
        const EnvelopeResult rating = RateLoadCases(page, cases);

        ReportContext ctx;
        ctx.page = &page;
        ctx.programDir = VELK_BINARY_DIR "/bin/";
        ctx.cases = {&cases, &rating, {}};
        const auto sheetOf = [&](const QString& file) {
            XlsxDocument doc;
            doc.Load(file.toStdString());
            int found = -1;
            for (int i = 0; i < doc.SheetCount(); ++i)
                if (QString::fromStdString(doc.SheetName(i)) == QStringLiteral("工况校核")) found = i;
            return std::pair{doc.ActiveSheet(), found};
        };
        nextChoice = dir.filePath("r.xlsx");
        QCOMPARE(MReport_SaveClick(ctx), ReportOutcome::Done);
        const auto [active, sheet] = sheetOf(nextChoice);
        QCOMPARE(active, 0);
        QVERIFY(sheet > 0);
        XlsxDocument doc;
        doc.Load(nextChoice.toStdString());
        // Title, a free row, the headings, the cases, a free row, the window.
        QCOMPARE(doc.CellText(sheet, 3, 1), std::string("工况"));
        QCOMPARE(doc.CellText(sheet, 4, 1), std::string("最小"));
        QCOMPARE(doc.CellText(sheet, 4, 2), std::string("1.5"));
        QCOMPARE(doc.CellText(sheet, 5, 1), std::string("最大"));
        QVERIFY(QString::fromStdString(doc.CellText(sheet, 7, 1)).contains(QStringLiteral("控制工况：最大")));

        ReportContext without = ctx;
        without.cases = {};
        nextChoice = dir.filePath("plain.xlsx");
        QCOMPARE(MReport_SaveClick(without), ReportOutcome::Done);
        QCOMPARE(sheetOf(nextChoice).second, -1);

        // The PDF: one page more than without the cases, the table on it.
        auto pages = [&](const ReportContext& c, const QString& name) {
            nextChoice = dir.filePath(name);
            if (MReport_PdfClick(c) != ReportOutcome::Done) return -1;
            QProcess info;
            info.start("pdfinfo", {nextChoice});
            info.waitForFinished(60000);
            const auto m =
                QRegularExpression("Pages:\\s+(\\d+)").match(QString::fromUtf8(info.readAllStandardOutput()));
            return m.hasMatch() ? m.captured(1).toInt() : -1;
        };
        const int plain = pages(without, QStringLiteral("plain.pdf"));
        QVERIFY(plain > 0);
        QCOMPARE(pages(ctx, QStringLiteral("r.pdf")), plain + 1);
        QProcess text;
        text.start("pdftotext",
                   {"-f", QString::number(plain + 1), "-l", QString::number(plain + 1), nextChoice, "-"});
        QVERIFY(text.waitForFinished(60000));
        const QString last = QString::fromUtf8(text.readAllStandardOutput());
        // (The PDF's text gives some characters as their radicals: "⼯" for "工".)
        QVERIFY2(last.contains(QStringLiteral("况校核")) && last.contains(QStringLiteral("设计泛点率")),
                 qPrintable(last));
        QVERIFY(sink.messages.empty());
    }
};

QTEST_MAIN(LoadCaseSheetTest)
#include "load_case_sheet_qtest.moc"
