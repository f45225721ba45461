// The column rating in the report: a sheet of its own after the report's,
// which stays active, and two more pages of the PDF export.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "CalcPage.h"
#include "Messages.h"
#include "MyXls.h"
#include "PackingCatalogue.h"
#include "PressureDropDisplay.h"
#include "ProfileReport.h"
#include "ReportCommands.h"
#include "TypicalCase.h"
#include "XlsxDocument.h"

namespace
{

const std::string kBinDir = VELK_BINARY_DIR "/bin/";

} // namespace

class ProfileReportTest : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    RecordingSink sink;
    QString nextChoice;

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

    void workbookAndPdfCarryTheProfile()
    {
        CurrentPacking = PackingParams{};
        CalcPage page(false);
        TypeTypicalCase(page);
        page.LDExit();
        ColumnProfile profile;
        profile.source = "CSV t.csv T-1";
        profile.stages = {TypicalStage(1, 1), TypicalStage(2, 0.5), TypicalStage(3, 2)};
        profile.beds = {{1, 2, "Flexipac-1", 0, false, {}}, {3, 3, "Flexipac-1", 0, false, {}}};
        const ProfileRating rating = RateProfile(page, profile);

        ReportContext ctx;
        ctx.page = &page;
        ctx.programDir = kBinDir;
        ctx.profile = {&profile, &rating, page.Combo("UfMD")->Items()};
        nextChoice = dir.filePath("r.xlsx");
        QCOMPARE(MReport_SaveClick(ctx), ReportOutcome::Done);
        XlsxDocument doc;
        doc.Load(nextChoice.toStdString());
        QCOMPARE(doc.ActiveSheet(), 0);
        int last = -1;
        for (int i = 0; i < doc.SheetCount(); ++i)
            if (QString::fromStdString(doc.SheetName(i)) == QStringLiteral("塔段校核")) last = i;
        QVERIFY(last > 0);
        // Bed 1 (row 5): stages 1-2, sized by stage 1 (theoretical 1.398 m) to 1.4 m, limited by stage 1.
        QCOMPARE(doc.CellText(last, 5, 2), std::string("1"));
        QCOMPARE(doc.CellText(last, 5, 3), std::string("2"));
        QCOMPARE(doc.CellText(last, 5, 6), std::string("1.4"));
        QCOMPARE(doc.CellText(last, 5, 7), std::string("1"));
        QCOMPARE(doc.CellText(last, 6, 6), std::string("2")); // bed 2: 1.977 m to 2.0 m
        QCOMPARE(doc.CellText(last, 9, 1), std::string("1")); // the first stage row
        QCOMPARE(doc.CellText(last, 11, 1), std::string("3"));

        // The PDF: two pages more than without the profile, the sheet's texts among them.
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
        ReportContext without = ctx;
        without.profile = {};
        const int plain = pages(without, QStringLiteral("plain.pdf"));
        QVERIFY(plain > 0);
        QCOMPARE(pages(ctx, QStringLiteral("r.pdf")), plain + 2);
        QProcess text;
        text.start("pdftotext",
                   {"-f", QString::number(plain + 1), "-l", QString::number(plain + 1), nextChoice, "-"});
        QVERIFY(text.waitForFinished(60000));
        const QString sheet = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(sheet.contains("起始板"), qPrintable(sheet));
        QVERIFY(sink.messages.empty());
    }

    void sheetFollowsTheUsUnitSystem()
    {
        CurrentPacking = PackingParams{};
        CalcPage page(false);
        TypeTypicalCase(page);
        page.LDExit();
        ColumnProfile profile;
        profile.stages = {TypicalStage(1, 1), TypicalStage(2, 0.5)};
        profile.beds = {{1, 2, "Flexipac-1", 0, false, {}}};
        const ProfileRating rating = RateProfile(page, profile);
        const ProfileReport report{&profile, &rating, page.Combo("UfMD")->Items()};
        const ProfileSheetText si = ProfileSheetRows(report);
        SetDisplaySystem(UnitSystem::US);
        const ProfileSheetText us = ProfileSheetRows(report);
        SetDisplaySystem(UnitSystem::SI);
        QCOMPARE(ProfileSheetRows(report).stages, si.stages);
        // Bed diameter 1.4 m = 1.4 / 0.3048 ft; the heading names the unit.
        QCOMPARE(si.beds[1][5], std::string("1.4"));
        QCOMPARE(us.beds[1][5], std::string("4.59318"));
        QVERIFY(QString::fromStdString(us.beds[0][5]).endsWith(QStringLiteral("(ft)")));
        QVERIFY(QString::fromStdString(us.beds[0][8]).endsWith(QStringLiteral("(inH2O)")));
        // Stage 1: V = 3 kg/s = 3 x 3600 / 0.45359237 lb/h, rhoL 800 kg/m3 in lb/ft3.
        QCOMPARE(us.stages[1][2], std::string("23809.9"));
        QCOMPARE(us.stages[1][6], std::string("49.9424"));
        QVERIFY(QString::fromStdString(us.stages[0][2]).endsWith(QStringLiteral("(lb/h)")));
        QCOMPARE(si.stages[1][2], std::string("3"));
    }

    // A stage's error is printed in the interface language; the names of the
    // missing inputs stay as they are.
    void stageErrorInTheInterfaceLanguage()
    {
        struct English : QTranslator {
            QString translate(const char*, const char* source, const char*, int) const override
            {
                return QString::fromUtf8(source) == QStringLiteral("数据不全：")
                           ? QStringLiteral("Incomplete data: ")
                           : QString();
            }
        } english;
        CurrentPacking = PackingParams{};
        CalcPage page(false);
        TypeTypicalCase(page);
        page.LDExit();
        ColumnProfile profile;
        ProfileStage stage = TypicalStage(1, 1);
        stage.sigma.reset(); // taken from the page, where it is blank
        page.Field("SLD")->SetText("");
        profile.stages = {stage};
        profile.beds = {{1, 1, "Flexipac-1", 0, false, {}}};
        const ProfileRating rating = RateProfile(page, profile);
        QCOMPARE(rating.stages.at(0).error, std::string("数据不全：SLD"));
        QCoreApplication::installTranslator(&english);
        const ProfileSheetText en = ProfileSheetRows({&profile, &rating, page.Combo("UfMD")->Items()});
        QCoreApplication::removeTranslator(&english);
        QCOMPARE(en.stages.at(1).back(), std::string("Incomplete data: SLD"));
    }
};

QTEST_MAIN(ProfileReportTest)
#include "profile_report_qtest.moc"
