#include "ReportOperation.h"

#include <QCoreApplication>
#include <QString>

#include "CalcPage.h"
#include "OperatingCheck.h"
#include "PressureDropDisplay.h"

namespace {
std::string Tr(const char* s) { return QCoreApplication::translate("Velk", s).toStdString(); }

std::string Number(const std::optional<double>& v)
{
    return v ? QString::number(*v, 'g', 4).toStdString() : std::string();
}
} // namespace

void WriteOperationCells(const CalcPage& page, const std::function<void(int, int, const std::string&)>& put)
{
    // Title block of a datasheet: the engineer fills the row above the captions.
    const char* title[] = {QT_TRANSLATE_NOOP("Velk", "版次"), QT_TRANSLATE_NOOP("Velk", "日期"),
                           QT_TRANSLATE_NOOP("Velk", "编制"), QT_TRANSLATE_NOOP("Velk", "校核"),
                           QT_TRANSLATE_NOOP("Velk", "审核")};
    const int titleColumns[] = {2, 3, 4, 6, 7};
    for (int i = 0; i < 5; ++i)
        put(kReportTitleBlockRow + 1, titleColumns[i], Tr(title[i]));

    const OperatingFigures& f = page.Operation().figures;
    // The page units in SI, as the report has always shown them; the US units in US.
    const bool us = CurrentDisplaySystem() == UnitSystem::US;
    const auto shown = [us](FigureKind kind, const std::optional<double>& v) { return us ? ShownFigure(kind, v) : v; };
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
        {QT_TRANSLATE_NOOP("Velk", "湿塔压降"), Number(shown(FigureKind::PressureDropPerLength, f.pressureDropMbarPerM)),
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
        put(r, c + 2, cells[i].unit);
    }
    row += 5;
    put(row, 2, Tr(QT_TRANSLATE_NOOP("Velk", "警告")));
    const auto& warnings = page.Operation().warnings;
    if (warnings.empty())
        put(row, 3, Tr(QT_TRANSLATE_NOOP("Velk", "无")));
    for (const OperatingWarning& w : warnings)
        put(row++, 3, Tr(w.text.c_str()));
}
