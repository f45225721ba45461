#include "LoadCaseReport.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPdfWriter>
#include <cstdio>

#include "ColumnProfile.h"
#include "CsvText.h"
#include "MyXls.h"
#include "PdfTable.h"
#include "PerformanceDiagram.h"
#include "PressureDropDisplay.h"

namespace
{

std::string Tr(const char* text)
{
    return QCoreApplication::translate("Velk", text).toStdString();
}

std::string Number(const std::optional<double>& v)
{
    if (!v) return {};
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", *v);
    return buf;
}

// The results' columns, after the name.
enum Column { kFlood = 1, kCapacity, kFFactor, kLiquidLoad, kPressureDrop, kHoldup, kHETP, kNote };

std::string LimitText(const std::string& code)
{
    if (code == "min-wetting") return Tr(QT_TRANSLATE_NOOP("Velk", "最小润湿"));
    if (code == "min-f-factor") return Tr(QT_TRANSLATE_NOOP("Velk", "最小F因子"));
    if (code == "design-flood") return Tr(QT_TRANSLATE_NOOP("Velk", "设计泛点率"));
    if (code == "pressure-drop") return Tr(QT_TRANSLATE_NOOP("Velk", "压降限值"));
    return code;
}

std::string Percent(double factor)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", factor * 100.0);
    return buf;
}

// Three digits: the window's ends are known to a few per cent.
std::string Turndown(double ratio)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3g", ratio);
    return buf;
}

std::string Arg(std::string text, const std::vector<std::string>& args)
{
    QString q = QString::fromStdString(text);
    for (const std::string& a : args)
        q = q.arg(QString::fromStdString(a));
    return q.toStdString();
}

void Row(const AutoVariant& sheet, int row, const std::vector<std::string>& cells)
{
    for (std::size_t c = 0; c < cells.size(); ++c)
        if (!cells[c].empty()) sheet.Put("Cells", {row, static_cast<int>(c) + 1}, cells[c]);
}

const char* const kValueUnits[10] = {"kg/s", "kg/m3", "Pa.s", "kg/s", "kg/m3",
                                     "Pa.s", "N/m",   "m2/s", "m2/s", ""};
// How the display system converts each of kProfileValues (the slope stays).
const std::optional<FigureKind> kValueKinds[10] = {
    FigureKind::MassFlow,    FigureKind::Density,   FigureKind::Viscosity,      FigureKind::MassFlow,
    FigureKind::Density,     FigureKind::Viscosity, FigureKind::SurfaceTension, FigureKind::Diffusivity,
    FigureKind::Diffusivity, std::nullopt};

bool Us()
{
    return CurrentDisplaySystem() == UnitSystem::US;
}

} // namespace

std::optional<double> ShownCaseValue(int index, const std::optional<double>& si)
{
    return kValueKinds[index] ? ShownFigure(*kValueKinds[index], si) : si;
}

double CaseValueFromShown(int index, double shown)
{
    // In SI the factor is 1 and the typed number is stored as it is.
    return kValueKinds[index] ? shown / ShownFigure(*kValueKinds[index], 1.0) : shown;
}

std::string CaseValueUnit(int index)
{
    return kValueKinds[index] ? WithFigureUnit(QString::fromLatin1(kValueUnits[index]), *kValueKinds[index],
                                               QString::fromLatin1(kValueUnits[index]))
                                    .toStdString()
                              : std::string();
}

std::vector<std::string> LoadCaseResultHeadings()
{
    std::vector<std::string> h{Tr(QT_TRANSLATE_NOOP("Velk", "工况")),
                               Tr(QT_TRANSLATE_NOOP("Velk", "泛点率\n%")),
                               Tr(QT_TRANSLATE_NOOP("Velk", "系统极限负荷率\n%")),
                               Tr(QT_TRANSLATE_NOOP("Velk", "F因子\nPa^0.5")),
                               WithFigureUnit(QCoreApplication::translate("Velk", "液体喷淋密度\nm3/(m2·h)"),
                                              FigureKind::LiquidLoad, QStringLiteral("m3/(m2·h)"))
                                   .toStdString(),
                               QString::fromStdString(Tr(QT_TRANSLATE_NOOP("Velk", "压降\nPa/m")))
                                   .replace(QStringLiteral("Pa/m"), PerMetrePressureDropUnit())
                                   .toStdString(),
                               Tr(QT_TRANSLATE_NOOP("Velk", "持液量\nm3/m3")),
                               WithFigureUnit(QCoreApplication::translate("Velk", "HETP\nm"),
                                              FigureKind::Length, QStringLiteral("m"))
                                   .toStdString(),
                               Tr(QT_TRANSLATE_NOOP("Velk", "说明"))};
    return h;
}

std::vector<std::string> LoadCaseResultCells(const CaseResult& r, const CaseTextFunction& caseText)
{
    const OperatingFigures& f = r.figures;
    const std::optional<double> dp = f.pressureDropMbarPerM
                                         ? std::optional<double>(ShownPressureDrop(*f.pressureDropMbarPerM))
                                         : std::nullopt;
    std::vector<std::string> cells{r.name};
    for (const auto& x :
         {f.floodPercent, f.systemFloodPercent, f.FsFactor, ShownFigure(FigureKind::LiquidLoad, f.liquidLoad),
          dp, r.holdup, ShownFigure(FigureKind::Length, r.HETP)})
        cells.push_back(r.completed ? Number(x) : std::string());
    std::string note = r.error.empty() ? std::string() : caseText ? caseText(r.error) : Tr(r.error.c_str());
    for (const OperatingWarning& w : r.warnings)
        note += (note.empty() ? "" : "; ") + Tr(w.text.c_str());
    cells.push_back(note);
    return cells;
}

std::vector<int> LoadCaseColumnsOfField(const std::string& field)
{
    if (field == "VsD" || field == "UfD") return {kFlood, kCapacity, kFFactor};
    if (field == "UlsD") return {kLiquidLoad};
    if (field == "dPwaterD") return {kPressureDrop};
    if (field == "HoldupD") return {kHoldup};
    if (field == "HETPD") return {kHETP};
    return {};
}

std::string LoadCaseWindowText(const EnvelopeResult& r)
{
    if (r.cases.empty()) return {};
    // Chinese parts are set apart by a full-width semicolon, English ones by "; ".
    const std::string sep = Tr(QT_TRANSLATE_NOOP("Velk", "；"));
    std::string text;
    if (r.diameter)
        text = Arg(WithFigureUnit(QCoreApplication::translate("Velk", "塔径 %1 m"), FigureKind::Length,
                                  QStringLiteral("m"))
                       .toStdString(),
                   {Number(ShownFigure(FigureKind::Length, r.diameter))});
    const auto named = [&](const std::optional<int>& i) {
        return i && *i >= 0 && static_cast<std::size_t>(*i) < r.cases.size()
                   ? r.cases[static_cast<std::size_t>(*i)].name
                   : std::string();
    };
    if (r.governing)
        text += (text.empty() ? "" : sep) +
                Arg(Tr(QT_TRANSLATE_NOOP("Velk", "控制工况：%1")), {named(r.governing)});
    // Named only where it is news: the case that sized the section is
    // usually the governing one.
    if (r.sizing && r.sizing != r.governing)
        text += (text.empty() ? "" : sep) +
                Arg(Tr(QT_TRANSLATE_NOOP("Velk", "确定塔径的工况：%1")), {named(r.sizing)});
    // An empty window (lowest end not below the highest) turns nothing down:
    // its note stands in place of a ratio below 1.
    if (r.window.valid && r.window.maxFactor > r.window.minFactor) {
        const OperatingWindow& w = r.window;
        text += (text.empty() ? "" : sep) +
                Arg(Tr(QT_TRANSLATE_NOOP(
                        "Velk", "操作范围（%1按等液气比缩放）：最低 %2%（%3），最高 %4%（%5），操作弹性 %6")),
                    {named(r.normal), Percent(w.minFactor), LimitText(w.minLimit), Percent(w.maxFactor),
                     LimitText(w.maxLimit), Turndown(w.turndown)});
    } else if (!r.window.note.empty()) {
        text += (text.empty() ? "" : sep) + Tr(QT_TRANSLATE_NOOP("Velk", "操作范围：")) +
                Tr(r.window.note.c_str());
    }
    return text;
}

LoadCaseSheetText LoadCaseSheetRows(const LoadCaseReport& report)
{
    LoadCaseSheetText t;
    if (!report.Present()) return t;
    t.title = {Tr(kLoadCaseSheetName)};
    std::vector<std::string> heading{Tr(QT_TRANSLATE_NOOP("Velk", "工况"))};
    // In SI the values' headings stay bare, as they always were; in US
    // each names its unit, which is not the one of the case files.
    for (int v = 0; v < 10; ++v) {
        std::string h = Tr(kProfileValues[v].caption);
        if (const std::string unit = CaseValueUnit(v); Us() && !unit.empty())
            h.append("(").append(unit).append(")");
        heading.push_back(h);
    }
    const std::vector<std::string> results = LoadCaseResultHeadings();
    for (std::size_t c = 1; c < results.size(); ++c) {
        // One line per heading: "name (unit)".
        std::string h = results[c];
        if (const auto nl = h.find('\n'); nl != std::string::npos)
            h = h.substr(0, nl) + "(" + h.substr(nl + 1) + ")";
        heading.push_back(h);
    }
    t.table.push_back(heading);
    const std::vector<LoadCase>& cases = *report.cases;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        std::vector<std::string> row{cases[i].name};
        for (int v = 0; v < 10; ++v) {
            const std::optional<double>& x = cases[i].values.*kProfileValues[v].member;
            row.push_back(x ? Number(ShownCaseValue(v, x)) : Tr(QT_TRANSLATE_NOOP("Velk", "(计算页)")));
        }
        if (i < report.rating->cases.size()) {
            const std::vector<std::string> cells =
                LoadCaseResultCells(report.rating->cases[i], report.caseText);
            row.insert(row.end(), cells.begin() + 1, cells.end());
        }
        t.table.push_back(std::move(row));
    }
    if (const std::string w = LoadCaseWindowText(*report.rating); !w.empty()) t.window.push_back(w);
    return t;
}

std::vector<std::string> LoadCaseResultCsvCells(const CaseResult& r, const CaseTextFunction& caseText)
{
    const OperatingFigures& f = r.figures;
    const std::optional<double> dp = f.pressureDropMbarPerM
                                         ? std::optional<double>(*f.pressureDropMbarPerM * 100.0)
                                         : std::nullopt; // Pa/m
    std::vector<std::string> cells;
    for (const auto& x :
         {f.floodPercent, f.systemFloodPercent, f.FsFactor, f.liquidLoad, dp, r.holdup, r.HETP})
        cells.push_back(r.completed && x ? ExactNumber(*x) : std::string());
    cells.push_back(LoadCaseResultCells(r, caseText).back()); // the note, as the table shows it
    return cells;
}

QByteArray LoadCaseCsv(const LoadCaseReport& report)
{
    QByteArray out("\xEF\xBB\xBF");
    if (!report.Present()) return out;
    std::vector<std::vector<std::string>> results;
    for (const CaseResult& r : report.rating->cases)
        results.push_back(LoadCaseResultCsvCells(r, report.caseText));
    // The window's paragraph as a closing comment: the reader skips it.
    std::vector<std::string> trailer;
    if (const std::string w = LoadCaseWindowText(*report.rating); !w.empty()) trailer.push_back(w);
    // Every case has a result row, rated or not: the columns stay the same.
    results.resize(report.cases->size(), std::vector<std::string>(kLoadCaseResultCount));
    const QByteArray text = QByteArray::fromStdString(WriteLoadCasesCsv(*report.cases, results, trailer));
    out += QByteArray(text).replace("\n", "\r\n");
    return out;
}

void WriteLoadCaseSheet(TMyXls& xls, const LoadCaseReport& report)
{
    if (!report.Present()) return;
    const LoadCaseSheetText t = LoadCaseSheetRows(report);
    const AutoVariant sheet = xls.Workbook.Get("Worksheets").Call("Add");
    sheet.Put("Name", Tr(kLoadCaseSheetName));
    int row = 1;
    Row(sheet, row++, t.title);
    ++row;
    for (const auto& cells : t.table)
        Row(sheet, row++, cells);
    ++row;
    for (const std::string& w : t.window)
        Row(sheet, row++, {w});
    xls.Workbook.Get("Worksheets", {1}).Call("Activate");
}

void PaintLoadCasePages(QPainter& painter, QPdfWriter& writer, const LoadCaseReport& report)
{
    if (!report.Present()) return;
    const LoadCaseSheetText t = LoadCaseSheetRows(report);
    PageTable table;
    table.title = QString::fromStdString(t.title[0]);
    for (const std::string& w : t.window)
        table.notes << QString::fromStdString(w);
    // On the page every value heading names its unit (the sheet keeps its
    // bare SI headings), and a value the case takes from the calculation
    // page is a dash, explained once below the table.
    for (std::size_t c = 0; c < t.table.at(0).size(); ++c) {
        std::string h = t.table[0][c];
        if (const std::string unit =
                c >= 1 && c <= 10 ? CaseValueUnit(static_cast<int>(c) - 1) : std::string();
            !Us() && !unit.empty())
            h.append("(").append(unit).append(")");
        table.headings << HeadingBreakingAtUnit(QString::fromStdString(h));
    }
    table.wrap.assign(t.table[0].size(), false);
    table.wrap.front() = table.wrap.back() = true; // the name and the note
    const std::string fromPage = Tr(QT_TRANSLATE_NOOP("Velk", "(计算页)"));
    bool anyFromPage = false;
    for (std::size_t i = 1; i < t.table.size(); ++i) {
        PageTableRow r;
        for (std::size_t c = 0; c < t.table[i].size(); ++c) {
            const bool page = c >= 1 && c <= 10 && t.table[i][c] == fromPage;
            anyFromPage = anyFromPage || page;
            r.cells << (page ? QStringLiteral("\u2014") : QString::fromStdString(t.table[i][c]));
        }
        table.rows.push_back(r);
    }
    if (anyFromPage) table.notes.prepend(QCoreApplication::translate("Velk", "—：取自计算页的值。"));
    PageTablePlace place;
    place.orientation = QPageLayout::Landscape;
    PaintPageTable(painter, writer, table, place);
}

void AddLoadCasesToDiagram(TPerformanceInput& in, const LoadCaseReport& report)
{
    if (!report.Present()) return;
    const std::vector<LoadCase>& cases = *report.cases;
    const EnvelopeResult& r = *report.rating;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        if (!cases[i].values.L || !cases[i].values.V) continue;
        in.cases.push_back({QString::fromStdString(cases[i].name), *cases[i].values.L, *cases[i].values.V,
                            r.governing && static_cast<std::size_t>(*r.governing) == i});
    }
    if (r.window.valid && r.window.maxFactor > r.window.minFactor)
        in.window = TPerformanceInput::Band{r.window.minL, r.window.minV, r.window.maxL, r.window.maxV};
}
