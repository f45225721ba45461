#include "ReportOperation.h"

#include <QCoreApplication>
#include <QString>

#include "PressureDropDisplay.h"

namespace
{
std::string Tr(const char* s)
{
    return QCoreApplication::translate("Velk", s).toStdString();
}

std::string Number(const std::optional<double>& v)
{
    return v ? QString::number(*v, 'g', 4).toStdString() : std::string();
}

std::string Item(const std::vector<std::string>& items, std::optional<int> i)
{
    return i && *i >= 0 && static_cast<std::size_t>(*i) < items.size()
               ? Tr(items[static_cast<std::size_t>(*i)].c_str())
               : std::string();
}
// The pressure-drop limit, typed in mbar/m, in the unit the report shows
// pressure drops per length in (as typed when that is mbar/m).
std::string LimitText(const std::string& typed)
{
    const std::string unit = FigureUnit(FigureKind::PressureDropPerLength).toStdString();
    bool ok = false;
    const double mbarPerM = QString::fromStdString(typed).toDouble(&ok);
    if (unit == "mbar/m" || !ok) return typed + " mbar/m";
    return Number(ShownFigure(FigureKind::PressureDropPerLength, mbarPerM)) + " " + unit;
}
// The diameter the results rest on and why it is that one: given (rating),
// or the theoretical diameter rounded (up, where the basis asks for it).
std::string DiameterUsedText(const CaseState& state)
{
    if (!state.diameter) return {};
    const std::string unit = FigureUnit(FigureKind::Length).toStdString();
    const std::string used = Number(ShownFigure(FigureKind::Length, state.diameter)) + " " + unit;
    const std::optional<double> dp = state.design.theoreticalDiameter;
    if (state.rating || !dp) return used + Tr(QT_TRANSLATE_NOOP("Velk", "（给定塔径，核算）"));
    const QString why = QCoreApplication::translate(
        "Velk", state.roundedUp ? QT_TRANSLATE_NOOP("Velk", "（理论塔径%1向上圆整，不突破设计基准）")
                                : QT_TRANSLATE_NOOP("Velk", "（理论塔径%1圆整）"));
    return used + why.arg(QString::fromStdString(Number(ShownFigure(FigureKind::Length, dp)) + " " + unit))
                      .toStdString();
}
} // namespace

std::vector<std::string> ReportWarningLines(const CaseState& state)
{
    std::vector<std::string> lines;
    if (state.notRecalculated) lines.push_back(Tr(kNotRecalculatedText));
    // Each message the failed run showed, translated line by line.
    const QStringList failure =
        QString::fromStdString(state.failure).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (int i = 0; i < failure.size(); ++i)
        lines.push_back((i ? std::string() : Tr(kFailedRecalcText)) + Tr(failure[i].toUtf8().constData()));
    for (const OperatingWarning& w : state.operation.warnings)
        lines.push_back(Tr(w.text.c_str()));
    if (lines.empty()) lines.push_back(Tr(QT_TRANSLATE_NOOP("Velk", "无")));
    return lines;
}

std::vector<std::pair<std::string, std::string>> DesignBasisLines(const CaseState& state,
                                                                  const DesignBasisWords& words)
{
    std::vector<std::pair<std::string, std::string>> lines;
    if (!state.DesignDiffers(words.loadCases)) return lines;
    const DesignOutcome& d = state.design;
    lines.emplace_back(Tr(QT_TRANSLATE_NOOP("Velk", "设计基准")),
                       Item(words.basisNames, static_cast<int>(state.basis)));
    if (!state.limitText.empty())
        lines.emplace_back(Tr(QT_TRANSLATE_NOOP("Velk", "压降限值")), LimitText(state.limitText));
    lines.emplace_back(
        Tr(QT_TRANSLATE_NOOP("Velk", "最保守泛点")),
        Tr(state.conservative ? QT_TRANSLATE_NOOP("Velk", "是") : QT_TRANSLATE_NOOP("Velk", "否")));
    // The correlation whose flood velocity the diameter rests on.
    const std::string method = Item(words.floodMethods, d.conservative ? d.floodMethod : state.floodMethod);
    if (!method.empty()) lines.emplace_back(Tr(QT_TRANSLATE_NOOP("Velk", "控制泛点的关联式")), method);
    if (d.governs == "flood" || d.governs == "pressure-drop")
        lines.emplace_back(Tr(QT_TRANSLATE_NOOP("Velk", "控制塔径")),
                           Tr(d.governs == "flood" ? QT_TRANSLATE_NOOP("Velk", "泛点率控制塔径")
                                                   : QT_TRANSLATE_NOOP("Velk", "压降限值控制塔径")));
    if (const std::string used = DiameterUsedText(state); !used.empty())
        lines.emplace_back(Tr(QT_TRANSLATE_NOOP("Velk", "采用塔径")), used);
    if (words.loadCases && !words.caseWindow.empty())
        lines.emplace_back(Tr(QT_TRANSLATE_NOOP("Velk", "操作范围")), words.caseWindow);
    lines.emplace_back(Tr(QT_TRANSLATE_NOOP("Velk", "单位制")),
                       Tr(state.units == UnitSystem::US ? QT_TRANSLATE_NOOP("Velk", "英制 (US)")
                                                        : QT_TRANSLATE_NOOP("Velk", "公制 (SI)")));
    return lines;
}

int WriteOperationCells(const CaseState& state, const DesignBasisWords& words, const ReportCellWriter& out)
{
    const auto& put = out.put;
    // Title block of a datasheet: the engineer fills the row above the captions.
    const char* title[] = {QT_TRANSLATE_NOOP("Velk", "版次"), QT_TRANSLATE_NOOP("Velk", "日期"),
                           QT_TRANSLATE_NOOP("Velk", "编制"), QT_TRANSLATE_NOOP("Velk", "校核"),
                           QT_TRANSLATE_NOOP("Velk", "审核")};
    const int titleColumns[] = {2, 3, 4, 6, 7};
    for (int i = 0; i < 5; ++i)
        put(kReportTitleBlockRow + 1, titleColumns[i], Tr(title[i]));

    const OperatingFigures& f = state.operation.figures;
    // The page units in SI, as the report has always shown them; the US units in US.
    const bool us = CurrentDisplaySystem() == UnitSystem::US;
    const auto shown = [us](FigureKind kind, const std::optional<double>& v) {
        return us ? ShownFigure(kind, v) : v;
    };
    const auto unit = [us](FigureKind kind, const char* pageUnit) {
        return us ? FigureUnit(kind).toStdString() : std::string(pageUnit);
    };
    int row = kReportOperationRow;
    put(row++, 2, Tr(QT_TRANSLATE_NOOP("Velk", "四、操作核算")));
    struct Cell {
        const char* caption;
        std::string value;
        std::string unit;
    };
    const Cell cells[] = {
        {QT_TRANSLATE_NOOP("Velk", "实际泛点率"), Number(f.floodPercent), "%"},
        {QT_TRANSLATE_NOOP("Velk", "设计泛点率(f×A)"), Number(f.designFloodPercent), "%"},
        {QT_TRANSLATE_NOOP("Velk", "F因子"), Number(f.FsFactor), "Pa^0.5"},
        {QT_TRANSLATE_NOOP("Velk", "容量因子"), Number(shown(FigureKind::Velocity, f.capacityFactor)),
         unit(FigureKind::Velocity, "m/s")},
        {QT_TRANSLATE_NOOP("Velk", "液体喷淋密度"), Number(shown(FigureKind::LiquidLoad, f.liquidLoad)),
         unit(FigureKind::LiquidLoad, "m3/(m2·h)")},
        {QT_TRANSLATE_NOOP("Velk", "润湿比"), Number(f.wettingRatio), ""},
        {QT_TRANSLATE_NOOP("Velk", "湿塔压降"),
         Number(shown(FigureKind::PressureDropPerLength, f.pressureDropMbarPerM)),
         unit(FigureKind::PressureDropPerLength, "mbar/m")},
        {QT_TRANSLATE_NOOP("Velk", "理论板数"), f.stages ? std::to_string(*f.stages) : std::string(), ""},
        {QT_TRANSLATE_NOOP("Velk", "填料层高度"), Number(shown(FigureKind::Length, f.bedHeight)),
         unit(FigureKind::Length, "m")},
        {QT_TRANSLATE_NOOP("Velk", "床层压降"), Number(shown(FigureKind::BedPressureDrop, f.bedPressureDrop)),
         unit(FigureKind::BedPressureDrop, "mbar")},
    };
    for (int i = 0; i < 10; ++i) {
        const int r = row + i / 2, c = i % 2 ? 6 : 2;
        put(r, c, Tr(cells[i].caption));
        put(r, c + 1, cells[i].value);
        if (!cells[i].value.empty()) out.mark(r, c + 1, state.FigureMarks());
        put(r, c + 2, cells[i].unit);
    }
    row += 5;
    put(row, 2, Tr(QT_TRANSLATE_NOOP("Velk", "警告")));
    for (const std::string& line : ReportWarningLines(state))
        put(row++, 3, line);
    // The design basis after the blocks that were there before it.
    if (const auto lines = DesignBasisLines(state, words); !lines.empty()) {
        put(++row, 2, Tr(QT_TRANSLATE_NOOP("Velk", "五、设计基准")));
        for (const auto& [label, value] : lines) {
            put(++row, 2, label);
            put(row, 3, value);
        }
        ++row;
    }
    return row;
}
