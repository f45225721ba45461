// The report commands: the saved report read back by openpyxl cell by cell,
// the operating range, a blank project, an error while writing, a missing
// template, printing and the PDF export (text found by pdftotext).
#include <QDate>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QtTest>

#include <cmath>

#include "PressureDropDisplay.h"
#include "AutoRegistry.h"
#include "CalcPage.h"
#include "Messages.h"
#include "MyXls.h"
#include "PackingCatalogue.h"
#include "ReportCommands.h"
#include "SpreadsheetApplication.h"
#include "xls_support.h"

using namespace xls_support;

namespace
{

const std::string kBinDir = VELK_BINARY_DIR "/bin/";

// Reference case worked out independently (the engine's recalculation
// tests): Flexipac-1, first method, 80 %, foaming factor 0.8.
constexpr double kUp = 0.7814430157441086;    // m/s
constexpr double kUls = 0.002030037539437441; // m/s
constexpr double kDpDry = 86.54678826487897;  // Pa/m
constexpr double kHetp = 0.1619662712408296;  // m
constexpr double kUvs = 0.7795344151439773;   // m/s
constexpr double kUf = 1.2210047121001697;    // m/s

void TypeReferenceCase(CalcPage& page, bool withMassTransfer)
{
    CurrentPacking = PackingParams{};
    page.Field("LD")->SetText("2.5");
    page.Field("VD")->SetText("3.0");
    page.Field("DlD")->SetText("800");
    page.Field("DvD")->SetText("2.5");
    page.Field("MlD")->SetText("0.0003");
    page.Field("MvD")->SetText("0.00001");
    if (withMassTransfer) {
        page.Field("SLD")->SetText("0.02");
        page.Field("DlfD")->SetText("2e-9");
        page.Field("DvfD")->SetText("1e-5");
        page.Field("alfD")->SetText("2");
    }
    page.LDExit();
}

QString CellText(const QJsonObject& cells, const char* ref)
{
    const QJsonArray c = cells.value(ref).toArray();
    if (c.isEmpty()) return {};
    return c.at(0).toString() == "n" ? QString::number(c.at(1).toDouble(), 'g', 15) : c.at(1).toString();
}

double CellNumber(const QJsonObject& cells, const char* ref)
{
    const QJsonArray c = cells.value(ref).toArray();
    return c.at(0).toString() == "n" ? c.at(1).toDouble() : std::nan("");
}

// A display string and a cell agree when they are the same text, or the
// same number (the spreadsheet keeps numbers as numbers).
bool SameValue(const QJsonObject& cells, const char* ref, const std::string& shown)
{
    const QJsonArray c = cells.value(ref).toArray();
    if (shown.empty()) return c.isEmpty();
    if (c.at(0).toString() == "n") return c.at(1).toDouble() == QString::fromStdString(shown).toDouble();
    return c.at(1).toString() == QString::fromStdString(shown);
}

// pdftotext maps some CJK glyphs of the font to their Kangxi-radical code
// points (U+2F12 for 力); NFKC folds them back.
QString PdfText(const QByteArray& out)
{
    return QString::fromUtf8(out).normalized(QString::NormalizationForm_KC);
}

class ReportTest : public QObject
{
    Q_OBJECT

private:
    RecordingSink sink;
    QTemporaryDir dir;
    TFileDialogState lastDialog;
    QString nextChoice; // empty: the user cancels
    int dialogs = 0;

    void Answer(const QString& path) { nextChoice = path; }
    std::string Messages() const
    {
        std::string all;
        for (const auto& m : sink.messages)
            all += m.text + "\n";
        return all;
    }
    QJsonObject Saved(const QString& path, const QString& sheet)
    {
        QString err;
        const QJsonObject book = ReadBack(path, &err);
        if (book.isEmpty()) qWarning() << "openpyxl:" << err;
        return Cells(book, sheet);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QVERIFY2(QFile::exists(QString::fromStdString(kBinDir + "VELK2016-07-15.xltx")), "template built");
        SetMessageSink(&sink);
        MyXlsInitialization();
        QCOMPARE(XlsDocumentExtension, std::string(".xlsx"));
        SetFileDialogRunner([this](QWidget*, TFileDialogState& d) {
            ++dialogs;
            lastDialog = d;
            if (nextChoice.isEmpty()) return false;
            d.fileName = nextChoice.toStdString();
            return true;
        });
    }
    void cleanupTestCase()
    {
        SetFileDialogRunner({});
        SetMessageSink(nullptr);
    }
    void init() { sink.messages.clear(); }

    void solvedExampleReportHasEveryCell()
    {
        CalcPage page(false);
        TypeReferenceCase(page, true);
        QVERIFY2(!page.NeedsRecalc, Messages().c_str());
        page.TextBox("ProjectD")->SetText("乙烯装置");
        page.TextBox("ProjPD")->SetText("详细设计");
        page.TextBox("DevicenameD")->SetText("脱乙烷塔");
        page.TextBox("DeviceNoD")->SetText("T-0101");
        page.TextBox("CommentD")->SetText("  \r\n第一行\r\n第二行  \r\n\r\n");
        page.Combo("UfMD")->SetItemIndex(2);
        page.Check("CBLagrange")->SetEnabled(true);
        page.Check("CBLagrange")->SetChecked(true);

        const QString project = dir.filePath("column1.vel");
        const QString target = dir.filePath("column1-report.xlsx");
        Answer(target);
        ReportContext ctx;
        ctx.page = &page;
        ctx.currentFileName = project.toStdString();
        ctx.programDir = kBinDir;
        QCOMPARE(MReport_SaveClick(ctx), ReportOutcome::Done);
        QVERIFY2(sink.messages.empty(), Messages().c_str());
        // The dialog proposed the project's name with the document extension.
        QCOMPARE(lastDialog.fileName, std::string("column1.xlsx"));
        QCOMPARE(lastDialog.title, std::string("保存计算报表"));
        QCOMPARE(lastDialog.filter, std::string("Excel 文件(*.xlsx)|*.xlsx"));
        QCOMPARE(LastReportFileName, target.toStdString());

        QString err;
        const QJsonObject book = ReadBack(target, &err);
        QVERIFY2(!book.isEmpty(), qPrintable(err));
        QCOMPARE(book.value("sheets").toArray().first().toString(), QString("column1.vel"));
        QVERIFY(!book.value("template").toBool());
        const QJsonObject c = Cells(book, "column1.vel");
        QCOMPARE(CellText(c, "C3"), QString("column1.vel"));
        QCOMPARE(CellText(c, "C2"), QDate::currentDate().toString("yyyy-MM-dd"));
        QCOMPARE(CellText(c, "C5"), QString("乙烯装置"));
        QCOMPARE(CellText(c, "C6"), QString("详细设计"));
        QCOMPARE(CellText(c, "C7"), QString("脱乙烷塔"));
        QCOMPARE(CellText(c, "C8"), QString("T-0101"));
        QCOMPARE(CellText(c, "B11"), QString("说明"));
        QCOMPARE(CellText(c, "C11"), QString("第一行\n第二行"));

        struct Triple {
            const char* label;
            const char* value;
            const char* unit;
            const char* caption;
            const char* field;
            const char* unitName;
        };
        const Triple triples[] = {
            {"B15", "C15", "D15", "液相密度", "DlD", "DlU"},
            {"F15", "G15", "H15", "气相密度", "DvD", "DvU"},
            {"B16", "C16", "D16", "液相粘度", "MlD", "MlU"},
            {"F16", "G16", "H16", "气相粘度", "MvD", "MvU"},
            {"B17", "C17", "D17", "液相表面张力", "SLD", "SLU"},
            {"F17", "G17", "H17", "气相扩散系数", "DvfD", "DvfU"},
            {"B18", "C18", "D18", "液相扩散系数", "DlfD", "DlfU"},
            {"B27", "C27", "D27", "液相质量流量", "LD", "LU"},
            {"F27", "G27", "H27", "气相质量流量", "VD", "VU"},
            {"F32", "G32", nullptr, "相对挥发度", "alfD", nullptr},
            {"B33", "C33", nullptr, "平衡线斜率", "meD", nullptr},
            {"F33", "G33", nullptr, "参数λ", "LmdD", nullptr},
            {"B36", "C36", nullptr, "流动参数", "FpD", nullptr},
            {"F36", "G36", nullptr, "最大负荷因子", "CgmaxD", nullptr},
            {"B37", "C37", "D37", "泛点气速", "UfD", "UfU"},
            {"F37", "G37", "H37", "理论塔径", "dpD", "dpU"},
            {"B38", "C38", "D38", "空速", "UpD", "UpU"},
            {"F38", "G38", "H38", "实际塔径", "dD", "dU"},
            {"B39", "C39", "D39", "液相负荷", "UlsD", "UlsU"},
            {"F39", "G39", "H39", "持液量", "HTD", "HTU"},
            {"B40", "C40", "D40", "气相负荷", "UvsD", "UvsU"},
            {"F40", "G40", "H40", "干塔压降(每米)", "dPdryD", "dPdryU"},
            {"F41", "G41", "H41", "湿塔压降(每米)", "dPwaterD", "dPwaterU"},
            {"B42", "C42", "D42", "HTUV", "HTUVD", "HTUVU"},
            {"F42", "G42", "H42", "HTUOV", "HTUOVD", "HTUOVU"},
            {"B43", "C43", "D43", "HTUL", "HTULD", "HTULU"},
            {"F43", "G43", "H43", "HETP(等板高度)", "HETPD", "HETPU"},
        };
        for (const Triple& t : triples) {
            QVERIFY2(CellText(c, t.label) == QString(t.caption), t.label);
            const std::string shown = page.Field(t.field)->FloatStr();
            QVERIFY2(!shown.empty(), t.field);
            QVERIFY2(SameValue(c, t.value, shown), (std::string(t.value) + " vs " + shown).c_str());
            if (t.unit)
                QVERIFY2(CellText(c, t.unit) == QString::fromStdString(page.Unit(t.unitName)->GetUnit()),
                         t.unit);
        }
        // Unit names as the selectors start.
        QCOMPARE(CellText(c, "D15"), QString("kg/m3"));
        QCOMPARE(CellText(c, "D38"), QString("m/s"));
        // Seven significant digits of the independently computed values.
        QVERIFY(std::fabs(CellNumber(c, "C38") - kUp) < 5e-7);
        QVERIFY(std::fabs(CellNumber(c, "G40") - kDpDry) < 5e-5);
        QVERIFY(std::fabs(CellNumber(c, "G43") - kHetp) < 5e-8);
        // Choices as their selectors show them.
        QCOMPARE(CellText(c, "F18"), QString("泛点预设"));
        QCOMPARE(CellText(c, "G18"), QString("80"));
        QCOMPARE(CellText(c, "H18"), QString("%"));
        QCOMPARE(CellText(c, "B19"), QString("液体发泡系数"));
        QCOMPARE(CellText(c, "C19"), QString("0.8"));
        QVERIFY(!c.contains("D19"));
        QCOMPARE(CellText(c, "B32"), QString("填料选择"));
        QCOMPARE(CellText(c, "C32"), QString("Flexipac-1"));
        QCOMPARE(CellText(c, "B34"), QString("泛点算法"));
        QCOMPARE(CellText(c, "C34"), QString("Kister-Gill-Tovan局部插值"));
        // Operating range: uL,min = 2.222222222222e-7 * 560 m/s for Flexipac-1,
        // 100 * uL,min / uL = 6.13 -> 6; 10000 / 80 = 125.
        QCOMPARE(CellText(c, "B41"), QString("操作弹性"));
        QCOMPARE(CellText(c, "C41"), QString("6 - 125"));
        QCOMPARE(CellText(c, "D41"), QString("%"));
        // The template's own texts are still there.
        QCOMPARE(CellText(c, "B1"), QString("波纹规整填料塔流体力学计算书"));
    }

    // While rating, the upper end is 100 * 100 / P, P the actual percentage
    // of flood, not 10000 / f.
    void operatingRangeFollowsTheActualLoadWhileRating()
    {
        CalcPage page(false);
        TypeReferenceCase(page, false);
        page.SetRatingMode(true);
        page.Field("dD")->SetText("1.1");
        page.NeedsRecalc = true;
        page.LDExit();
        const double P = 100 * page.Field("UvsD")->GetValue() / page.Field("UfD")->GetValue();
        const double low = CurrentPacking.uLmin * 100 / page.Field("UlsD")->GetValue();
        QVERIFY(P > 80);
        QCOMPARE(OperatingRangeText(page), std::to_string(static_cast<long>(std::nearbyint(low))) + " - " +
                                               std::to_string(static_cast<long>(std::nearbyint(10000 / P))));
    }

    void operatingRangeRoundsHalvesToEvenAndRefusesBadInput()
    {
        CalcPage page(false);
        page.Field("LD")->SetText("1");
        page.Field("VD")->SetText("1");
        auto range = [&](double uLmin, double uL, const char* f) {
            CurrentPacking.uLmin = uLmin;
            page.Field("UlsD")->SetValue(uL);
            page.Combo("fpercentD")->SetText(f);
            return OperatingRangeText(page);
        };
        QCOMPARE(range(0.0005, 0.002, "80"), std::string("25 - 125"));
        QCOMPARE(range(0.375, 25, "32"), std::string("2 - 312"));  // 1.5 -> 2, 312.5 -> 312
        QCOMPARE(range(0.625, 25, "160"), std::string("2 - 62"));  // 2.5 -> 2, 62.5 -> 62
        QCOMPARE(range(0.0, 0.002, "75"), std::string("0 - 133")); // no packing evaluated yet
        QVERIFY_THROWS_EXCEPTION(EConvertError, range(0.0005, 0.002, "eighty"));
        QVERIFY_THROWS_EXCEPTION(EMathError, range(0.0005, 0.002, "0"));
        QVERIFY_THROWS_EXCEPTION(EMathError, range(0.0005, 0.0, "80"));
        sink.messages.clear();
        page.Field("UlsD")->SetText("abc");
        QVERIFY_THROWS_EXCEPTION(EAbort, OperatingRangeText(page));
        QCOMPARE(sink.messages.size(), std::size_t(1)); // the field's own message
        page.Field("UlsD")->SetValue(0.002);
        page.Field("VD")->SetText("");
        QVERIFY_THROWS_EXCEPTION(EAbort, OperatingRangeText(page));
    }

    void blankProjectKeepsTemplateNameAndEmptyFieldsKeepLabels()
    {
        CalcPage page(false);
        TypeReferenceCase(page, false); // no mass-transfer data: those fields stay empty
        SaveDialogXLS.fileName.clear(); // first use in this run
        const QString first = dir.filePath("blank-first.xlsx");
        Answer(first);
        ReportContext ctx;
        ctx.page = &page;
        ctx.programDir = kBinDir;
        QCOMPARE(MReport_SaveClick(ctx), ReportOutcome::Done);
        QCOMPARE(lastDialog.fileName, std::string()); // nothing proposed the first time
        Answer(dir.filePath("blank-second.xlsx"));
        QCOMPARE(MReport_SaveClick(ctx), ReportOutcome::Done);
        QCOMPARE(lastDialog.fileName, first.toStdString()); // the previous choice

        const QJsonObject book = ReadBack(first);
        QCOMPARE(book.value("sheets").toArray().first().toString(), QString("计算报表"));
        const QJsonObject c = Cells(book, "计算报表");
        QVERIFY(!c.contains("C3"));
        QCOMPARE(CellText(c, "B3"), QString("项目文件")); // template text beside it
        QCOMPARE(CellText(c, "B17"), QString("液相表面张力"));
        QVERIFY(!c.contains("C17"));
        QCOMPARE(CellText(c, "D17"), QString("N/m"));
        QCOMPARE(CellText(c, "B42"), QString("HTUV"));
        QVERIFY(!c.contains("C42"));
        QCOMPARE(CellText(c, "D42"), QString("m"));
        QCOMPARE(CellText(c, "C5"), QString());
        QCOMPARE(CellText(c, "C34"), QString("Rusk-Tovan关联式法"));
    }

    void titleBlockAndOperatingCheckFollowTheReport()
    {
        CalcPage page(false);
        TypeReferenceCase(page, true);
        page.Field("StagesD")->SetText("10");
        page.NeedsRecalc = true;
        page.LDExit();
        const QString out = dir.filePath("operation.xlsx");
        std::string why;
        QVERIFY2(WriteReportWorkbook(out.toStdString(), page, "", why, kBinDir), why.c_str());
        QJsonObject c = Saved(out, "计算报表");
        QCOMPARE(CellText(c, "B48"), QString("版次"));
        QCOMPARE(CellText(c, "G48"), QString("审核"));
        QVERIFY(!c.contains("B47")); // for the engineer to fill in
        QCOMPARE(CellText(c, "B50"), QString("四、操作核算"));
        QCOMPARE(CellText(c, "B51"), QString("实际泛点率"));
        QCOMPARE(CellText(c, "C51"), QString::number(100 * kUvs / kUf, 'g', 4));
        QCOMPARE(CellText(c, "G51"), QString("64"));
        QCOMPARE(CellText(c, "G54"), QString("10"));
        QCOMPARE(CellText(c, "C55"), QString::number(10 * kHetp, 'g', 4));
        QCOMPARE(CellText(c, "B56"), QString("警告"));
        QCOMPARE(CellText(c, "C56"), QString("无"));
        // In the US system the block's figures and units follow (1 ft = 0.3048 m).
        SetDisplaySystem(UnitSystem::US);
        const bool usWritten = WriteReportWorkbook(out.toStdString(), page, "", why, kBinDir);
        SetDisplaySystem(UnitSystem::SI);
        QVERIFY2(usWritten, why.c_str());
        const QJsonObject us = Saved(out, "计算报表");
        QCOMPARE(CellText(us, "C55"), QString::number(10 * kHetp / 0.3048, 'g', 4));
        QCOMPARE(CellText(us, "D55"), QString("ft"));
        QCOMPARE(CellText(us, "D53"), QString("gpm/ft2"));
        QCOMPARE(CellText(us, "H52"), QString("ft/s"));
        QCOMPARE(CellText(us, "H55"), QString("inH2O"));
        QCOMPARE(CellText(us, "C51"), CellText(c, "C51"));

        // An emptied liquid viscosity: the pressure drops and the heights keep
        // values that no longer follow, and the report lists them.
        page.Field("MlD")->SetText("");
        page.NeedsRecalc = true;
        page.LDExit();
        QVERIFY2(WriteReportWorkbook(out.toStdString(), page, "", why, kBinDir), why.c_str());
        c = Saved(out, "计算报表");
        QVERIFY(!c.contains("C54"));
        QCOMPARE(CellText(c, "C56"), QString("“持液量”已过时：它依赖的输入已清空或改变，未重新计算。"));
        QVERIFY(CellText(c, "C62").contains("HETP"));
    }

    void longProjectNameStillGivesAFullReport()
    {
        CalcPage page(false);
        TypeReferenceCase(page, false);
        const QString out = dir.filePath("long-name.xlsx");
        Answer(out);
        ReportContext ctx;
        ctx.page = &page;
        ctx.programDir = kBinDir;
        const std::string project = "/x/abcdefghijklmnopqrstuvwxyz0123456789[1].vel";
        ctx.currentFileName = project;
        QCOMPARE(MReport_SaveClick(ctx), ReportOutcome::Done);
        const QJsonObject book = ReadBack(out);
        const QString sheet = book.value("sheets").toArray().first().toString();
        QCOMPARE(sheet, QString("abcdefghijklmnopqrstuvwxyz01234")); // 31 characters
        const QJsonObject c = Cells(book, sheet);
        QCOMPARE(CellText(c, "C3"), QString("abcdefghijklmnopqrstuvwxyz0123456789[1].vel"));
        QVERIFY(!CellText(c, "C15").isEmpty()); // the values are there
        QCOMPARE(QString::fromStdString(ReportSheetName("a[1]:b")), QString("a_1__b"));
    }

    void fieldErrorAtRow41SavesTheRowsBeforeIt()
    {
        // A spreadsheet that is already running keeps running afterwards.
        auto running = SpreadsheetApplication::Create();
        AutoRegistry::Instance().RegisterActiveObject(SpreadsheetApplication::kProgId, running);
        CalcPage page(false);
        TypeReferenceCase(page, true);
        page.Field("UlsD")->SetText("oops");
        const QString target = dir.filePath("partial.xlsx");
        Answer(target);
        ReportContext ctx;
        ctx.page = &page;
        ctx.currentFileName = dir.filePath("case.vel").toStdString();
        ctx.programDir = kBinDir;
        const ReportOutcome outcome = MReport_SaveClick(ctx);
        AutoRegistry::Instance().RevokeActiveObject(SpreadsheetApplication::kProgId);
        QCOMPARE(outcome, ReportOutcome::Failed);
        QCOMPARE(sink.messages.size(), std::size_t(1)); // the field's message, nothing more
        QVERIFY(running->OpenWorkbooks().empty());      // the workbook was closed
        QCOMPARE(running->Get("Workbooks").Get("Count").ToInt(), 0);

        const QJsonObject c = Saved(target, "case.vel");
        QCOMPARE(CellText(c, "C3"), QString("case.vel"));
        QCOMPARE(CellText(c, "B40"), QString("气相负荷"));
        QVERIFY(SameValue(c, "G40", page.Field("dPdryD")->FloatStr()));
        QCOMPARE(CellText(c, "C39"), QString("oops")); // written as the field shows it
        QVERIFY(!c.contains("C41"));
        QVERIFY(!c.contains("G41"));
        QVERIFY(!c.contains("C42"));
        QVERIFY(!c.contains("G43"));
        // A flooding percentage that is not a number: the conversion error
        // is reported after the save.
        sink.messages.clear();
        page.Field("UlsD")->SetValue(kUls);
        page.Combo("fpercentD")->SetText("8O");
        QCOMPARE(MReport_SaveClick(ctx), ReportOutcome::Failed);
        QCOMPARE(sink.messages.size(), std::size_t(1));
        QVERIFY(sink.messages[0].text.find("8O") != std::string::npos);
        QVERIFY(SameValue(Saved(target, "case.vel"), "C39", page.Field("UlsD")->FloatStr()));
    }

    void missingTemplateAndCancelledDialog()
    {
        CalcPage page(false);
        TypeReferenceCase(page, false);
        QTemporaryDir empty;
        const QString target = dir.filePath("never.xlsx");
        Answer(target);
        ReportContext ctx;
        ctx.page = &page;
        ctx.programDir = QDir::toNativeSeparators(empty.path() + "/").toStdString();
        QCOMPARE(MReport_SaveClick(ctx), ReportOutcome::Failed);
        QCOMPARE(sink.messages.size(), std::size_t(1));
        QVERIFY(sink.messages[0].text.find("VELK2016-07-15.xltx") != std::string::npos);
        QVERIFY(sink.messages[0].text.find("找不到文件") != std::string::npos);
        QVERIFY(!QFile::exists(target));
        QCOMPARE(LastReportFileName, target.toStdString()); // the choice was made before

        sink.messages.clear();
        const std::string before = LastReportFileName;
        Answer(QString());
        ctx.programDir = kBinDir;
        QCOMPARE(MReport_SaveClick(ctx), ReportOutcome::Cancelled);
        QCOMPARE(LastReportFileName, before);
        QVERIFY(sink.messages.empty());
    }

    void printProposesTheLastReportAndNeedsAPrinter()
    {
        CalcPage page(false);
        TypeReferenceCase(page, true);
        const QString report = dir.filePath("to-print.xlsx");
        Answer(report);
        ReportContext ctx;
        ctx.page = &page;
        ctx.programDir = kBinDir;
        QCOMPARE(MReport_SaveClick(ctx), ReportOutcome::Done);

        auto running = SpreadsheetApplication::Create();
        AutoRegistry::Instance().RegisterActiveObject(SpreadsheetApplication::kProgId, running);
        running->Put("ActivePrinter", "no-such-printer-here");
        Answer(report);
        const ReportOutcome outcome = MReport_PrintClick(ctx);
        AutoRegistry::Instance().RevokeActiveObject(SpreadsheetApplication::kProgId);
        QCOMPARE(lastDialog.fileName, report.toStdString());
        QCOMPARE(lastDialog.title, std::string("打印计算报表"));
        QCOMPARE(lastDialog.filter, std::string("Excel 文件(*.xls;xlsx)|*.xls;*xlsx"));
        QCOMPARE(outcome, ReportOutcome::Failed);
        QCOMPARE(sink.messages.size(), std::size_t(1));
        QVERIFY(sink.messages[0].text.find("no-such-printer-here") != std::string::npos);
        QVERIFY(running->OpenWorkbooks().empty()); // closed although printing failed

        sink.messages.clear();
        Answer(dir.filePath("does-not-exist.xlsx"));
        QCOMPARE(MReport_PrintClick(ctx), ReportOutcome::Failed);
        QVERIFY(sink.messages.at(0).text.find("does-not-exist.xlsx") != std::string::npos);
    }

    void printoutToPdfCarriesTheReportText()
    {
        // No CUPS scheduler runs in the test environment, so the sheet is
        // printed through Qt Print Support into a PDF file (PrintToFile).
        CalcPage page(false);
        TypeReferenceCase(page, true);
        const QString report = dir.filePath("pdf-source.xlsx");
        std::string error;
        QVERIFY2(WriteReportWorkbook(report.toStdString(), page, "/projects/塔1.vel", error, kBinDir),
                 error.c_str());
        const QString pdf = dir.filePath("printed.pdf");
        {
            TMyXls xls("", TMyXls::ModeOpenFile, report.toStdString());
            xls.Sheet.Call("PrintOut",
                           {AutoVariant::Missing(), AutoVariant::Missing(), 1, false, AutoVariant::Missing(),
                            true, AutoVariant::Missing(), pdf.toStdString()});
        }
        QProcess p;
        p.start("pdftotext", {"-layout", pdf, "-"});
        QVERIFY(p.waitForFinished(60000));
        const QString text = PdfText(p.readAllStandardOutput());
        QVERIFY2(text.contains("波纹规整填料塔流体力学计算书"), qPrintable(text));
        QVERIFY(text.contains("塔1.vel"));
        QVERIFY(text.contains("液相密度"));
        QVERIFY(text.contains("6 - 125"));
        QVERIFY(text.contains(QString::fromStdString(page.Field("UpD")->FloatStr())));
        QVERIFY(text.contains("HETP(等板高度)"));
        // The report fits one A4 page.
        QProcess info;
        info.start("pdfinfo", {pdf});
        QVERIFY(info.waitForFinished(60000));
        const QString meta = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(meta.contains(QRegularExpression("Pages:\\s+1\\b")), qPrintable(meta));
        QVERIFY2(meta.contains(QRegularExpression("Page size:\\s+595 x 842")), qPrintable(meta));
    }

    void pdfExportHasTheReportAndTheDiagram()
    {
        CalcPage page(false);
        TypeReferenceCase(page, true);
        const QString pdf = dir.filePath("export.pdf");
        Answer(pdf);
        ReportContext ctx;
        ctx.page = &page;
        ctx.currentFileName = dir.filePath("columnA.vel").toStdString();
        ctx.programDir = kBinDir;
        QCOMPARE(MReport_PdfClick(ctx), ReportOutcome::Done);
        QCOMPARE(lastDialog.fileName, std::string("columnA.pdf"));
        QVERIFY2(sink.messages.empty(), Messages().c_str());
        QProcess p;
        p.start("pdftotext", {"-f", "1", "-l", "1", pdf, "-"});
        QVERIFY(p.waitForFinished(60000));
        const QString page1 = PdfText(p.readAllStandardOutput());
        QVERIFY2(page1.contains("columnA.vel"), qPrintable(page1));
        QVERIFY(page1.contains("实际塔径"));
        QVERIFY(page1.contains("操作核算"));
        QProcess info;
        info.start("pdfinfo", {pdf});
        QVERIFY(info.waitForFinished(60000));
        const QString meta = QString::fromUtf8(info.readAllStandardOutput());
        // The report, the diagram, the three performance charts, the comparison.
        QVERIFY2(meta.contains(QRegularExpression("Pages:\\s+6\\b")), qPrintable(meta));
        // The diagram's axis caption in 8 points of the page (was 3 points
        // when a screen-sized picture was scaled onto the page).
        QProcess words;
        words.start("pdftotext", {"-bbox", "-f", "2", "-l", "2", pdf, "-"});
        QVERIFY(words.waitForFinished(60000));
        const QString boxes = QString::fromUtf8(words.readAllStandardOutput());
        const QRegularExpressionMatch m = QRegularExpression(
            "yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"([0-9.]+)\">L\\(kg/s\\)<").match(boxes);
        QVERIFY2(m.hasMatch(), qPrintable(boxes.left(2000)));
        const double height = m.captured(2).toDouble() - m.captured(1).toDouble();
        QVERIFY2(height > 7 && height < 12, qPrintable(QString::number(height)));
        QProcess charts;
        charts.start("pdftotext", {"-f", "3", "-l", "5", pdf, "-"});
        QVERIFY(charts.waitForFinished(60000));
        const QString chartText = PdfText(charts.readAllStandardOutput());
        QVERIFY2(chartText.contains("Flexipac-1") && chartText.contains("mbar/m"), qPrintable(chartText));
        // The last page rates every catalogue packing.
        QProcess last;
        last.start("pdftotext", {"-f", "6", "-l", "6", pdf, "-"});
        QVERIFY(last.waitForFinished(60000));
        const QString page6 = PdfText(last.readAllStandardOutput());
        QVERIFY2(page6.contains("填料比较") && page6.contains("Flexipac-1") && page6.contains("SW-2"), qPrintable(page6));
    }
};

} // namespace

QTEST_MAIN(ReportTest)
#include "report_qtest.moc"
