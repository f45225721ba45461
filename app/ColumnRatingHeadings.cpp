#include "ColumnRatingHeadings.h"

#include <QCoreApplication>

#include "ColumnProfile.h"
#include "PressureDropDisplay.h"

namespace
{

QString Tr(const char* text)
{
    return QCoreApplication::translate("Velk", text);
}

const char* const kUnits[10] = {"kg/s", "kg/m3", "Pa.s", "kg/s", "kg/m3", "Pa.s", "N/m", "m2/s", "m2/s", ""};
// How the display units convert each of kProfileValues (the slope stays).
const std::optional<FigureKind> kKinds[10] = {FigureKind::MassFlow,  FigureKind::Density,     FigureKind::Viscosity,
                                              FigureKind::MassFlow,  FigureKind::Density,     FigureKind::Viscosity,
                                              FigureKind::SurfaceTension, FigureKind::Diffusivity,
                                              FigureKind::Diffusivity, std::nullopt};
QString ValueUnit(int i)
{
    const QString unit = QString::fromLatin1(kUnits[i]);
    return kKinds[i] ? WithFigureUnit(unit, *kKinds[i], unit) : unit;
}
} // namespace

std::optional<double> ShownProfileValue(int index, const std::optional<double>& si)
{
    return kKinds[index] ? ShownFigure(*kKinds[index], si) : si;
}

QStringList ColumnRatingStageHeadings()
{
    QStringList headings{Tr(QT_TRANSLATE_NOOP("Velk", "板")), Tr(QT_TRANSLATE_NOOP("Velk", "段"))};
    for (int i = 0; i < 10; ++i)
        headings << Tr(kProfileValues[i].caption) +
                        (kUnits[i][0] ? QStringLiteral("\n") + ValueUnit(i) : QString());
    const auto length = [](const char* text) { return WithFigureUnit(Tr(text), FigureKind::Length, QStringLiteral("m")); };
    headings << length(QT_TRANSLATE_NOOP("Velk", "理论塔径\nm")) << Tr(QT_TRANSLATE_NOOP("Velk", "泛点率\n%"))
             << Tr(QT_TRANSLATE_NOOP("Velk", "F因子\nPa^0.5")) << Tr(QT_TRANSLATE_NOOP("Velk", "压降\nPa/m")).replace(QStringLiteral("Pa/m"), PerMetrePressureDropUnit())
             << Tr(QT_TRANSLATE_NOOP("Velk", "持液量\nm3/m3")) << length(QT_TRANSLATE_NOOP("Velk", "HETP\nm"))
             << Tr(QT_TRANSLATE_NOOP("Velk", "说明"));
    return headings;
}

QStringList ColumnRatingTotalHeadings()
{
    const auto length = [](const char* text) { return WithFigureUnit(Tr(text), FigureKind::Length, QStringLiteral("m")); };
    return {Tr(QT_TRANSLATE_NOOP("Velk", "填料段")),    Tr(QT_TRANSLATE_NOOP("Velk", "填料")),
            Tr(QT_TRANSLATE_NOOP("Velk", "算法")),      length(QT_TRANSLATE_NOOP("Velk", "塔径\nm")),
            Tr(QT_TRANSLATE_NOOP("Velk", "控制板")),    length(QT_TRANSLATE_NOOP("Velk", "填料高度\nm")),
            Tr(QT_TRANSLATE_NOOP("Velk", "压降\nmbar")).replace(QStringLiteral("mbar"), BedPressureDropUnit())};
}

QStringList ColumnRatingBedHeadings()
{
    return {Tr(QT_TRANSLATE_NOOP("Velk", "起始板")),   Tr(QT_TRANSLATE_NOOP("Velk", "终止板")),
            Tr(QT_TRANSLATE_NOOP("Velk", "填料")),     Tr(QT_TRANSLATE_NOOP("Velk", "算法")),
            Tr(QT_TRANSLATE_NOOP("Velk", "局部插值")), Tr(QT_TRANSLATE_NOOP("Velk", "塔径(m)"))};
}
