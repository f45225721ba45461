#include "ReportCommands.h"
#include "ReportOperation.h"

#include "DataFiles.h"
#include "TrNoop.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cmath>
#include <map>
#include <memory>

#include "CalcPage.h"
#include "CaseState.h"
#include "DesignLimits.h"
#include "PdfComparison.h"
#include "PdfToUnicode.h"
#include "FloatGuard.h"
#include "Messages.h"
#include "MyXls.h"
#include "PackingCatalogue.h"
#include "PackingComparison.h"
#include "PressureDropDisplay.h"
#include "ReportCharts.h"
#include "SafeFileReplacer.h"
#include "TextToFloat.h"
#include "XlsxDocument.h"
#include "XlsxSheetPainter.h"

TFileDialogState SaveDialogXLS{QT_TRANSLATE_NOOP("Velk", "保存计算报表"), "", "xls", "", true};
TFileDialogState OpenDialogXLS{QT_TRANSLATE_NOOP("Velk", "打印计算报表"), "Excel 文件(*.xls;xlsx)|*.xls;*xlsx", "cts", "",
                               false};
TFileDialogState SaveDialogPDF{QT_TRANSLATE_NOOP("Velk", "导出PDF计算报表"), "PDF 文件(*.pdf)|*.pdf", "pdf", "", true};
std::string LastReportFileName;

namespace
{

constexpr const char* kTemplateBaseName = "VELK2016-07-15";
constexpr const char* kOperatingRangeCaption = QT_TRANSLATE_NOOP("Velk", "操作弹性");
constexpr const char* kLagrangeMethodText = QT_TRANSLATE_NOOP("Velk", "Kister-Gill-Tovan局部插值");
// The file descriptions of the dialogs' filters.
[[maybe_unused]] const char* const kFilterNames[] = {QT_TRANSLATE_NOOP("Velk", "Excel 文件"), QT_TRANSLATE_NOOP("Velk", "PDF 文件")};
// "-en" for the English template (same layout, English texts), else "".
std::string g_templateSuffix;

// A fixed text of the report or its dialogs in the interface language.
std::string Tr(const std::string& source)
{
    return QCoreApplication::translate("Velk", source.c_str()).toStdString();
}

// Where the dialog opens; not part of the kept state.
std::string g_initialDir;

QString QtFilter(const std::string& delphiFilter)
{
    // "description|p1;p2" pairs become "description (p1 p2)" lines.
    const QStringList parts = QString::fromStdString(delphiFilter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filters << QCoreApplication::translate("Velk", parts[i].toUtf8().constData()) + " (" +
                       QString(parts[i + 1]).replace(';', ' ') + ")";
    return filters.join(";;");
}

bool RunQtFileDialog(QWidget* parent, TFileDialogState& d)
{
    QFileDialog dlg(parent, QCoreApplication::translate("Velk", d.title.c_str()));
    dlg.setAcceptMode(d.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(d.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dlg.setNameFilter(QtFilter(d.filter));
    dlg.setDefaultSuffix(QString::fromStdString(d.defaultExt));
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !d.save);
    const QFileInfo proposed(QString::fromStdString(d.fileName));
    if (!g_initialDir.empty() && proposed.isRelative())
        dlg.setDirectory(QString::fromStdString(g_initialDir));
    if (!d.fileName.empty()) dlg.selectFile(QString::fromStdString(d.fileName));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
    d.fileName = QDir::toNativeSeparators(dlg.selectedFiles().first()).toStdString();
    return true;
}

FileDialogRunner g_runner;

bool RunDialog(QWidget* parent, TFileDialogState& d)
{
    return g_runner ? g_runner(parent, d) : RunQtFileDialog(parent, d);
}

// Delphi's Trim: blanks and control characters off both ends.
std::string TrimControl(const std::string& s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32)
        --e;
    return s.substr(b, e - b);
}

std::string CommentText(const std::string& memo)
{
    // The memo's lines as one text; cells break lines with LF alone.
    std::string lines;
    for (std::size_t i = 0; i < memo.size(); ++i)
        if (!(memo[i] == '\r' && i + 1 < memo.size() && memo[i + 1] == '\n'))
            lines += memo[i] == '\r' ? '\n' : memo[i];
    return TrimControl(lines);
}

std::string FileNamePart(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

// Rounds to the nearest integer, halves to even; out-of-range is overflow.
long long RoundHalfEven(double x)
{
    if (!std::isfinite(x) || std::fabs(x) >= 9.2e18) throw EMathError(kOverflowText);
    return static_cast<long long>(std::nearbyint(x));
}

// Records the messages shown while passing them on, so that a caller
// without a window can tell why an operation stopped.
class TeeSink : public MessageSink
{
public:
    explicit TeeSink(MessageSink* next) : next_(next) {}
    void showMessage(MsgKind kind, const std::string& text, const std::string& title) override
    {
        last = text;
        if (next_) next_->showMessage(kind, text, title);
    }
    std::string last;

private:
    MessageSink* next_;
};

// Marks a value cell as the state says: struck through when invalid, and a
// note whose lines begin with the marks (the printed sheet shows them after
// the value); the number stays in the cell.
void MarkReportCell(TMyXls& xls, int row, int col, ValueMarks m)
{
    if (!m.Any()) return;
    const AutoVariant cell = xls.Sheet.Get("Cells", {row, col});
    if (m.invalid) cell.Get("Font").Put("Strikethrough", true);
    std::string note = m.invalid ? Tr(kInvalidMarkNote) : std::string();
    if (m.stale) note += (note.empty() ? "" : "\n") + Tr(kStaleMarkNote);
    cell.Call("AddComment", {note});
}

std::string EnsureDocumentExtension()
{
    if (XlsDocumentExtension.empty()) MyXlsInitialization();
    return XlsDocumentExtension;
}

void WriteWorkbookOrThrow(const std::string& path, CalcPage& page, const std::string& currentFileName,
                          const std::string& programDir,
                          const std::function<std::string(const std::string&)>& caption,
                          const ProfileReport& profile = {}, const LoadCaseReport& cases = {})
{
    EnsureDocumentExtension();
    auto xls = std::make_unique<TMyXls>(ReportTemplatePath(programDir, XlsTemplateExtension),
                                        TMyXls::ModeNewReport, path);
    // Whatever happens while writing, the part written is saved and the
    // workbook closed; then the writing error goes on. A failing save is
    // reported instead (the workbook is still closed).
    std::exception_ptr writeError;
    try {
        WriteReportCells(*xls, page, currentFileName, caption, cases);
        WriteProfileSheet(*xls, profile);
        WriteLoadCaseSheet(*xls, cases);
    } catch (...) {
        writeError = std::current_exception();
    }
    xls->SaveWorkbook();
    xls.reset();
    if (writeError) std::rethrow_exception(writeError);
    // The charts on a sheet of their own; a case without them keeps the
    // report as it is.
    std::string why;
    AddReportChartSheet(path, page, why, cases);
}

std::string ProposedName(const std::string& currentFileName, const std::string& extension)
{
    // The project's file name without its last four characters (".vel").
    QString name = QFileInfo(QString::fromStdString(currentFileName)).fileName();
    name.chop(4);
    return name.toStdString() + extension;
}

void ExportPdfOrThrow(const std::string& pdfPath, CalcPage& page, const std::string& currentFileName,
                      const std::string& programDir, std::string& note, const ProfileReport& profile = {},
                      const LoadCaseReport& cases = {})
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw EVelkError("PDF export needs a graphical session");
    QTemporaryDir tmp;
    if (!tmp.isValid()) throw EInOutError("Cannot create a temporary folder for the report");
    const std::string book = tmp.filePath("report.xlsx").toStdString();
    // The column rating is laid out from its own rows, not from the sheet.
    WriteWorkbookOrThrow(book, page, currentFileName, programDir, {}, {}, cases);

    XlsxDocument doc;
    doc.Load(book);
    // Into memory first: the file is replaced only by a complete PDF.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setTitle(QCoreApplication::translate("Velk", "波纹规整填料塔流体力学计算书"));
    writer.setCreator(QStringLiteral("VELK"));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&writer)) throw EInOutError("Cannot write the PDF file " + pdfPath);
    XlsxSheetPainter(doc, doc.ActiveSheet()).Paint(painter, writer);
    // The diagram and the packing's performance charts, drawn on the page.
    PaintReportChartPages(painter, writer, page, note, cases);
    // Every catalogue packing rated for this case, from a page of its own.
    PackingComparison comparison;
    PaintPageTable(painter, writer,
                   ComparisonPageTable(comparison.Run(page, false), false,
                                       QCoreApplication::translate("Velk", "填料比较")));
    PaintProfilePages(painter, writer, profile);
    PaintLoadCasePages(painter, writer, cases);
    if (!painter.end()) throw EInOutError("Cannot write the PDF file " + pdfPath);
    const QByteArray bytes = UnifyPdfTextLayer(pdf.data());
    SafeReplaceFile(pdfPath, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace

std::string ReportSheetName(const std::string& name)
{
    // At most 31 characters, none of : \ / ? * [ ], not empty.
    QString sheet = QString::fromStdString(name);
    for (QChar& c : sheet)
        if (QStringLiteral(":\\/?*[]").contains(c))
            c = QLatin1Char('_');
    sheet = sheet.left(31);
    if (sheet.trimmed().isEmpty())
        sheet = QCoreApplication::translate("Velk", "计算报表");
    return sheet.toStdString();
}

void SetFileDialogRunner(FileDialogRunner runner)
{
    g_runner = std::move(runner);
}

std::string ReportProgramDir()
{
    QString dir;
    if (QCoreApplication::instance())
        dir = QCoreApplication::applicationDirPath();
    else
        dir = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
    return QDir::toNativeSeparators(dir + '/').toStdString();
}

std::string ReportTemplatePath(const std::string& programDir, const std::string& templateExtension)
{
    if (programDir.empty()) {
        // Beside the program, or in the shared data folder of an installation;
        // the English interface takes the English template when it is there.
        if (!g_templateSuffix.empty()) {
            const QString translated =
                DataFilePath(QString::fromStdString(kTemplateBaseName + g_templateSuffix + templateExtension));
            if (QFileInfo::exists(translated)) return translated.toStdString();
        }
        return DataFilePath(QString::fromStdString(kTemplateBaseName + templateExtension)).toStdString();
    }
    return programDir + kTemplateBaseName + templateExtension;
}

void SetReportTemplateSuffix(const std::string& suffix) { g_templateSuffix = suffix; }

std::string ReportLabelCaption(const std::string& labelName)
{
    static const std::map<std::string, std::string> captions = {
        {"CommentL", "说明"},
        {"DlL", "液相密度"},
        {"DvL", "气相密度"},
        {"MlL", "液相粘度"},
        {"MvL", "气相粘度"},
        {"SLL", "液相表面张力"},
        {"DvfL", "气相扩散系数"},
        {"DlfL", "液相扩散系数"},
        {"fpercentL", "泛点预设"},
        {"fpercentU", "%"},
        {"AfL", "液体发泡系数"},
        {"LL", "液相质量流量"},
        {"VL", "气相质量流量"},
        {"PTL", "填料选择"},
        {"alfL", "相对挥发度"},
        {"meL", "平衡线斜率"},
        {"LmdL", "参数λ"},
        {"UfML", "泛点算法"},
        {"FpL", "流动参数"},
        {"CgmaxL", "最大负荷因子"},
        {"UfL", "泛点气速"},
        {"dpL", "理论塔径"},
        {"UpL", "空速"},
        {"dL", "实际塔径"},
        {"UlsL", "液相负荷"},
        {"HTL", "持液量"},
        {"UvsL", "气相负荷"},
        {"dPdryL", "干塔压降(每米)"},
        {"dPwaterL", "湿塔压降(每米)"},
        {"HTUVL", "HTUV"},
        {"HTUOVL", "HTUOV"},
        {"HTULL", "HTUL"},
        {"HETPL", "HETP(等板高度)"},
    };
    auto it = captions.find(labelName);
    return it == captions.end() ? std::string() : it->second;
}

std::string OperatingRangeText(CalcPage& page)
{
    // LD and VD are read only to check that they are valid.
    page.Field("LD")->GetValue();
    const double uL = page.Field("UlsD")->GetValue();
    page.Field("VD")->GetValue();
    // While rating, the flood point lies where the actual load's percentage says.
    const double f = DiagramLoadPercent(page);
    if (!std::isfinite(f))
        return std::string();
    FloatGuard guard;
    const double low = CurrentPacking.uLmin * 100 / uL;
    const double high = 10000 / f;
    guard.check();
    return std::to_string(RoundHalfEven(low)) + " - " + std::to_string(RoundHalfEven(high));
}

void WriteReportCells(TMyXls& xls, CalcPage& page, const std::string& currentFileName,
                      const std::function<std::string(const std::string&)>& caption, const LoadCaseReport& cases)
{
    // Every mark comes from the case's state, as the page and the JSON show it.
    const CaseState state = CaseStateOf(page, CurrentDisplaySystem());
    ValueMarks used;
    const ReportCellWriter out{
        [&](int row, int col, const std::string& text) { xls.Sheet.Put("Cells", {row, col}, text); },
        [&](int row, int col, ValueMarks m) {
            MarkReportCell(xls, row, col, m);
            used.invalid = used.invalid || m.invalid;
            used.stale = used.stale || m.stale;
        }};
    // Captions, units and choices are the program's texts and go into the
    // interface language; what the user typed goes in as it is.
    auto cap = [&](const std::string& label) { return Tr(caption ? caption(label) : ReportLabelCaption(label)); };
    auto cell = [&](int row, int col, const std::string& text) { xls.Sheet.Put("Cells", {row, col}, text); };
    auto text = [&](const char* name) { return page.TextBox(name)->Text(); };
    auto value = [&](const char* name) { return page.Field(name)->FloatStr(); };
    auto unit = [&](const char* name) { return Tr(page.Unit(name)->GetUnit()); };
    // label / value / unit from column col on.
    auto triple = [&](int row, int col, const char* label, const char* field, const char* unitName) {
        cell(row, col, cap(label));
        cell(row, col + 1, value(field));
        if (!value(field).empty()) out.mark(row, col + 1, state.Marks(field));
        if (unitName) cell(row, col + 2, unit(unitName));
    };

    if (!currentFileName.empty()) {
        const std::string name = FileNamePart(currentFileName);
        // A long or unusual project name would be refused as a sheet name
        // and end the report before its first value: the sheet gets a name
        // a spreadsheet accepts, row 3 the full one.
        xls.Sheet.Put("Name", ReportSheetName(name));
        cell(3, 3, name);
    }
    cell(2, 3, QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")).toStdString());
    cell(5, 3, text("ProjectD"));
    cell(6, 3, text("ProjPD"));
    cell(7, 3, text("DevicenameD"));
    cell(8, 3, text("DeviceNoD"));
    cell(11, 2, cap("CommentL"));
    cell(11, 3, CommentText(text("CommentD")));

    triple(15, 2, "DlL", "DlD", "DlU");
    triple(15, 6, "DvL", "DvD", "DvU");
    triple(16, 2, "MlL", "MlD", "MlU");
    triple(16, 6, "MvL", "MvD", "MvU");
    triple(17, 2, "SLL", "SLD", "SLU");
    triple(17, 6, "DvfL", "DvfD", "DvfU");
    triple(18, 2, "DlfL", "DlfD", "DlfU");
    cell(18, 6, cap("fpercentL"));
    cell(18, 7, page.Combo("fpercentD")->Text());
    cell(18, 8, cap("fpercentU"));
    cell(19, 2, cap("AfL"));
    cell(19, 3, page.Combo("AfD")->Text());
    triple(27, 2, "LL", "LD", "LU");
    triple(27, 6, "VL", "VD", "VU");
    cell(32, 2, cap("PTL"));
    cell(32, 3, Tr(page.Combo("PTD")->Text()));
    triple(32, 6, "alfL", "alfD", nullptr);
    triple(33, 2, "meL", "meD", nullptr);
    triple(33, 6, "LmdL", "LmdD", nullptr);
    cell(34, 2, cap("UfML"));
    const TCheckModel* lagrange = page.Check("CBLagrange");
    cell(34, 3,
         Tr(lagrange->Enabled() && lagrange->Checked() ? kLagrangeMethodText : page.Combo("UfMD")->Text()));

    triple(36, 2, "FpL", "FpD", nullptr);
    triple(36, 6, "CgmaxL", "CgmaxD", nullptr);
    triple(37, 2, "UfL", "UfD", "UfU");
    triple(37, 6, "dpL", "dpD", "dpU");
    triple(38, 2, "UpL", "UpD", "UpU");
    triple(38, 6, "dL", "dD", "dU");
    // A diameter in feet is also given in feet and inches, as it is built.
    if (double d; page.Unit("dU")->GetUnit() == "ft" && page.Field("dD")->TryGetValue(d))
        if (const std::string fi = FeetAndInchesText(d); !fi.empty()) cell(38, 8, unit("dU") + " (" + fi + ")");
    triple(39, 2, "UlsL", "UlsD", "UlsU");
    triple(39, 6, "HTL", "HTD", "HTU");
    triple(40, 2, "UvsL", "UvsD", "UvsU");
    triple(40, 6, "dPdryL", "dPdryD", "dPdryU");
    cell(41, 2, Tr(kOperatingRangeCaption));
    const std::string range = OperatingRangeText(page);
    cell(41, 3, range);
    if (!range.empty()) out.mark(41, 3, state.FigureMarks());
    cell(41, 4, "%");
    triple(41, 6, "dPwaterL", "dPwaterD", "dPwaterU");
    triple(42, 2, "HTUVL", "HTUVD", "HTUVU");
    triple(42, 6, "HTUOVL", "HTUOVD", "HTUOVU");
    triple(43, 2, "HTULL", "HTULD", "HTULU");
    triple(43, 6, "HETPL", "HETPD", "HETPU");
    DesignBasisWords words{page.Combo("UfMD")->Items(), page.Combo("DesignBasisD")->Items(), {}, cases.Present()};
    if (cases.Present()) words.caseWindow = LoadCaseWindowText(*cases.rating);
    int row = WriteOperationCells(state, words, out);
    // The notes that explain the marks, on the page that carries them.
    if (used.invalid) cell(++row, 2, Tr(kInvalidMarkNote));
    if (used.stale) cell(++row, 2, Tr(kStaleMarkNote));
}

ReportOutcome MReport_SaveClick(const ReportContext& ctx)
{
    if (!ctx.page) return ReportOutcome::Failed;
    try {
        const std::string ext = EnsureDocumentExtension();
        SaveDialogXLS.title = QT_TRANSLATE_NOOP("Velk", "保存计算报表");
        SaveDialogXLS.save = true;
        // The filter's extension: with "xls" a name typed without extension
        // would not match the workbook format the spreadsheet writes.
        SaveDialogXLS.defaultExt = ext.empty() ? "xls" : ext.substr(1);
        g_initialDir.clear();
        if (!ctx.currentFileName.empty()) {
            SaveDialogXLS.fileName = ProposedName(ctx.currentFileName, ext);
            g_initialDir =
                QFileInfo(QString::fromStdString(ctx.currentFileName)).absolutePath().toStdString();
        }
        SaveDialogXLS.filter = "Excel 文件(*" + ext + ")|*" + ext;
        if (!RunDialog(ctx.parent, SaveDialogXLS)) return ReportOutcome::Cancelled;
        LastReportFileName = SaveDialogXLS.fileName;
        WriteWorkbookOrThrow(LastReportFileName, *ctx.page, ctx.currentFileName, ctx.programDir, ctx.caption,
                             ctx.profile, ctx.cases);
        return ReportOutcome::Done;
    } catch (const std::exception& e) {
        ReportError(e);
        return ReportOutcome::Failed;
    }
}

ReportOutcome MReport_PrintClick(const ReportContext& ctx)
{
    try {
        OpenDialogXLS.title = QT_TRANSLATE_NOOP("Velk", "打印计算报表");
        OpenDialogXLS.filter = "Excel 文件(*.xls;xlsx)|*.xls;*xlsx";
        OpenDialogXLS.defaultExt = "cts";
        OpenDialogXLS.save = false;
        OpenDialogXLS.fileName = LastReportFileName;
        g_initialDir.clear();
        if (!RunDialog(ctx.parent, OpenDialogXLS)) return ReportOutcome::Cancelled;
        TMyXls xls("", TMyXls::ModeOpenFile, OpenDialogXLS.fileName);
        xls.PrintSheet();
        return ReportOutcome::Done;
    } catch (const std::exception& e) {
        ReportError(e);
        return ReportOutcome::Failed;
    }
}

ReportOutcome MReport_PdfClick(const ReportContext& ctx)
{
    if (!ctx.page) return ReportOutcome::Failed;
    try {
        g_initialDir.clear();
        if (!ctx.currentFileName.empty()) {
            SaveDialogPDF.fileName = ProposedName(ctx.currentFileName, ".pdf");
            g_initialDir =
                QFileInfo(QString::fromStdString(ctx.currentFileName)).absolutePath().toStdString();
        }
        if (!RunDialog(ctx.parent, SaveDialogPDF)) return ReportOutcome::Cancelled;
        std::string note;
        ExportPdfOrThrow(SaveDialogPDF.fileName, *ctx.page, ctx.currentFileName, ctx.programDir, note, ctx.profile,
                         ctx.cases);
        if (!note.empty())
            ShowMessage(MsgKind::Warning,
                        Tr(QT_TRANSLATE_NOOP("Velk", "PDF 报表已保存，但没有运行图：")) + note);
        return ReportOutcome::Done;
    } catch (const std::exception& e) {
        ReportError(e);
        return ReportOutcome::Failed;
    }
}

bool WriteReportWorkbook(const std::string& path, CalcPage& page, const std::string& currentFileName,
                         std::string& error, const std::string& programDir)
{
    TeeSink tee(GetMessageSink());
    ScopedMessageSink scope(&tee);
    try {
        WriteWorkbookOrThrow(path, page, currentFileName, programDir, {});
        return true;
    } catch (const EAbort&) {
        error = tee.last.empty() ? "the report was stopped" : tee.last;
    } catch (const std::exception& e) {
        error = e.what();
    }
    return false;
}

bool ExportReportPdf(const std::string& pdfPath, CalcPage& page, const std::string& currentFileName,
                     std::string& error, const std::string& programDir, const ProfileReport& profile,
                     const LoadCaseReport& cases)
{
    TeeSink tee(GetMessageSink());
    ScopedMessageSink scope(&tee);
    try {
        error.clear();
        ExportPdfOrThrow(pdfPath, page, currentFileName, programDir, error, profile, cases);
        return true;
    } catch (const EAbort&) {
        error = tee.last.empty() ? "the report was stopped" : tee.last;
    } catch (const std::exception& e) {
        error = e.what();
    }
    return false;
}
