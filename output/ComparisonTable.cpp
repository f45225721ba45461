#include "ComparisonTable.h"
#include "PressureDropDisplay.h"

#include <QCoreApplication>

#include <algorithm>

#include "CaseRun.h"
#include "TrNoop.h"

namespace
{

struct ColumnInfo {
    const char* caption;
    int decimals; // shown decimals; -1 for text columns
};

const ColumnInfo kColumns[] = {
    {QT_TRANSLATE_NOOP("Velk", "填料类型"), -1},
    {QT_TRANSLATE_NOOP("Velk", "泛点算法"), -1},
    {QT_TRANSLATE_NOOP("Velk", "比表面积(m²/m³)"), 0},
    {QT_TRANSLATE_NOOP("Velk", "泛点气速(m/s)"), 3},
    {QT_TRANSLATE_NOOP("Velk", "理论塔径(m)"), 3},
    {QT_TRANSLATE_NOOP("Velk", "实际塔径(m)"), 3},
    {QT_TRANSLATE_NOOP("Velk", "实际泛点率(%)"), 1},
    {QT_TRANSLATE_NOOP("Velk", "F因子(Pa^0.5)"), 2},
    {QT_TRANSLATE_NOOP("Velk", "湿塔压降(mbar/m)"), 2},
    {QT_TRANSLATE_NOOP("Velk", "持液量(m³/m³)"), 4},
    {QT_TRANSLATE_NOOP("Velk", "HTUOV(m)"), 3},
    {QT_TRANSLATE_NOOP("Velk", "HETP(m)"), 3},
    {QT_TRANSLATE_NOOP("Velk", "填料高度(m)"), 2},
    {QT_TRANSLATE_NOOP("Velk", "床层压降(mbar)"), 1},
    {QT_TRANSLATE_NOOP("Velk", "泛点气速差异(%)"), 1},
    {QT_TRANSLATE_NOOP("Velk", "塔径差异(%)"), 1},
    {QT_TRANSLATE_NOOP("Velk", "警告"), -1},
    {QT_TRANSLATE_NOOP("Velk", "HETP离散度(大/小)"), 2},
};
static_assert(std::size(kColumns) == static_cast<size_t>(ComparisonColumn::Count));

const char* const kMethods[] = {QT_TRANSLATE_NOOP("Velk", "Rusk-Tovan"), QT_TRANSLATE_NOOP("Velk", "Billet"),
                                QT_TRANSLATE_NOOP("Velk", "Kister-Gill")};
const char* const kLagrange = QT_TRANSLATE_NOOP("Velk", "Kister-Gill局部插值");

QString Tr(const char* text)
{
    return QCoreApplication::translate("Velk", text);
}

} // namespace

QString CaseErrorText(const std::string& error)
{
    const std::string prefix = kMissingInputsText;
    if (error.compare(0, prefix.size(), prefix) == 0)
        return Tr(kMissingInputsText) + QString::fromStdString(error.substr(prefix.size()));
    return Tr(error.c_str());
}

namespace
{

std::optional<double> Value(const ComparisonRow& row, ComparisonValue v)
{
    return row.Value(v);
}

// The operating figures of the row, in the table's units.
std::optional<double> Figure(const ComparisonRow& row, ComparisonColumn c)
{
    const OperatingFigures& f = row.operation.figures;
    switch (c) {
    case ComparisonColumn::FloodPercent:
        return f.floodPercent;
    case ComparisonColumn::FFactor:
        return f.FsFactor;
    case ComparisonColumn::PressureDrop:
        return f.pressureDropMbarPerM;
    case ComparisonColumn::BedHeight:
        return f.bedHeight;
    case ComparisonColumn::BedPressureDrop:
        return f.bedPressureDrop;
    default:
        return std::nullopt;
    }
}

// The columns the display units convert, with the unit their captions carry.
struct ColumnUnit {
    FigureKind kind;
    const char* pageUnit;
};
std::optional<ColumnUnit> UnitOfColumn(ComparisonColumn c)
{
    switch (c) {
    case ComparisonColumn::FloodVelocity:
        return ColumnUnit{FigureKind::Velocity, "m/s"};
    case ComparisonColumn::TheoreticalDiameter:
    case ComparisonColumn::ActualDiameter:
    case ComparisonColumn::HTUOV:
    case ComparisonColumn::HETP:
    case ComparisonColumn::BedHeight:
        return ColumnUnit{FigureKind::Length, "m"};
    case ComparisonColumn::PressureDrop:
        return ColumnUnit{FigureKind::PressureDropPerLength, "mbar/m"};
    case ComparisonColumn::BedPressureDrop:
        return ColumnUnit{FigureKind::BedPressureDrop, "mbar"};
    default:
        return std::nullopt;
    }
}

// The number in the page units (m, m/s, mbar/m, mbar).
std::optional<double> PageNumber(const ComparisonRow& row, ComparisonColumn c)
{
    if (c == ComparisonColumn::Area) return row.specificArea;
    if (!row.completed) return std::nullopt;
    switch (c) {
    case ComparisonColumn::FloodVelocity:
        return Value(row, ComparisonValue::FloodVelocity);
    case ComparisonColumn::TheoreticalDiameter:
        return Value(row, ComparisonValue::TheoreticalDiameter);
    case ComparisonColumn::ActualDiameter:
        return Value(row, ComparisonValue::ActualDiameter);
    case ComparisonColumn::Holdup:
        return Value(row, ComparisonValue::Holdup);
    case ComparisonColumn::HTUOV:
        return Value(row, ComparisonValue::HTUOV);
    case ComparisonColumn::HETP:
        return Value(row, ComparisonValue::HETP);
    case ComparisonColumn::FloodSpread:
        return row.floodVelocitySpread;
    case ComparisonColumn::DiameterSpread:
        return row.diameterSpread;
    case ComparisonColumn::HetpSpread:
        return row.hetpSpread;
    default:
        return Figure(row, c);
    }
}

} // namespace

std::vector<ComparisonColumn> ComparisonColumns(bool allMethods)
{
    std::vector<ComparisonColumn> out;
    for (int i = 0; i < static_cast<int>(ComparisonColumn::Count); ++i) {
        const auto c = static_cast<ComparisonColumn>(i);
        const bool methodOnly = c == ComparisonColumn::Method || c == ComparisonColumn::FloodSpread ||
                                c == ComparisonColumn::DiameterSpread;
        if ((!methodOnly || allMethods) && c != ComparisonColumn::HetpSpread) out.push_back(c);
    }
    return out;
}

std::vector<ComparisonColumn> ComparisonPageColumns(bool allMethods)
{
    std::vector<ComparisonColumn> out = ComparisonColumns(allMethods);
    const auto hetp = std::find(out.begin(), out.end(), ComparisonColumn::HETP);
    out.insert(hetp == out.end() ? out.end() : hetp + 1, ComparisonColumn::HetpSpread);
    return out;
}

QString ComparisonColumnCaption(ComparisonColumn c)
{
    QString caption = Tr(kColumns[static_cast<int>(c)].caption);
    // In the chosen display units (both languages write the units alike).
    if (const auto u = UnitOfColumn(c))
        caption = WithFigureUnit(caption, u->kind, QString::fromLatin1(u->pageUnit));
    return caption;
}

QString ComparisonColumnHeading(ComparisonColumn c)
{
    QString name = ComparisonColumnCaption(c), unit;
    const int open = name.indexOf(QLatin1Char('('));
    if (open > 0) {
        unit = name.mid(open);
        name = name.left(open).trimmed();
    }
    // Names without spaces (the Chinese ones) stay on one line.
    constexpr int kLine = 12;
    const QStringList words = name.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList lines;
    for (const QString& w : words) {
        if (!lines.isEmpty() && lines.back().size() + 1 + w.size() <= kLine)
            lines.back() += QLatin1Char(' ') + w;
        else
            lines << w;
    }
    if (!unit.isEmpty()) lines << unit;
    return lines.join(QLatin1Char('\n'));
}

QString ComparisonMethodName(int method)
{
    if (method < 0 || method > 2) return QString();
    return Tr(kMethods[method]);
}

std::optional<double> ComparisonCellNumber(const ComparisonRow& row, ComparisonColumn c)
{
    const auto v = PageNumber(row, c);
    const auto u = UnitOfColumn(c);
    return u ? ShownFigure(u->kind, v) : v;
}

bool ComparisonCellStale(const ComparisonRow& row, ComparisonColumn c)
{
    switch (c) {
    case ComparisonColumn::FloodVelocity:
        return row.IsStale(ComparisonValue::FloodVelocity);
    case ComparisonColumn::TheoreticalDiameter:
        return row.IsStale(ComparisonValue::TheoreticalDiameter);
    case ComparisonColumn::ActualDiameter:
        return row.IsStale(ComparisonValue::ActualDiameter);
    case ComparisonColumn::PressureDrop:
        return row.IsStale(ComparisonValue::WetPressureDrop);
    case ComparisonColumn::Holdup:
        return row.IsStale(ComparisonValue::Holdup);
    case ComparisonColumn::HTUOV:
        return row.IsStale(ComparisonValue::HTUOV);
    case ComparisonColumn::HETP:
    case ComparisonColumn::BedHeight:
        return row.IsStale(ComparisonValue::HETP);
    default:
        return false;
    }
}

QStringList ComparisonWarningTexts(const ComparisonRow& row)
{
    QStringList out;
    for (const OperatingWarning& w : row.operation.warnings)
        out << QCoreApplication::translate("Velk", w.text.c_str());
    return out;
}

int ComparisonWarningLevel(const ComparisonRow& row)
{
    if (!row.completed) return 2;
    int level = -1;
    for (const OperatingWarning& w : row.operation.warnings)
        level = std::max(level, static_cast<int>(w.severity));
    return level;
}

QString ComparisonPackingName(const ComparisonRow& row)
{
    return Tr(row.packing.c_str());
}

QString ComparisonErrorText(const ComparisonRow& row)
{
    return row.completed ? QString() : CaseErrorText(row.error);
}

QString ComparisonCellText(const ComparisonRow& row, ComparisonColumn c)
{
    switch (c) {
    case ComparisonColumn::Packing:
        return ComparisonPackingName(row);
    case ComparisonColumn::Method:
        return row.method == 2 && row.lagrange ? Tr(kLagrange) : ComparisonMethodName(row.method);
    case ComparisonColumn::Warnings:
        return ComparisonWarningTexts(row).join(QStringLiteral("; "));
    default:
        break;
    }
    if (!row.completed && c == kFirstResultColumn) return ComparisonErrorText(row);
    const auto v = ComparisonCellNumber(row, c);
    if (!v) return QString();
    const int decimals = kColumns[static_cast<int>(c)].decimals;
    const auto u = UnitOfColumn(c);
    return QString::number(*v, 'f', u ? FigureDecimals(u->kind, decimals) : decimals);
}

std::vector<QStringList> ComparisonExportRows(const std::vector<ComparisonRow>& rows, bool allMethods)
{
    const auto columns = ComparisonColumns(allMethods);
    std::vector<QStringList> out;
    QStringList head;
    for (ComparisonColumn c : columns)
        head << ComparisonColumnCaption(c);
    // The error text has a column of its own in a file: a reader that sorts
    // by a number column must not meet text there.
    head << Tr(QT_TRANSLATE_NOOP("Velk", "错误"));
    out.push_back(head);
    for (const ComparisonRow& r : rows) {
        QStringList line;
        for (ComparisonColumn c : columns) {
            const auto v = ComparisonCellNumber(r, c);
            if (v)
                line << QString::number(*v, 'g', 6);
            else if (kColumns[static_cast<int>(c)].decimals < 0)
                line << ComparisonCellText(r, c);
            else
                line << QString();
        }
        line << ComparisonErrorText(r);
        out.push_back(line);
    }
    return out;
}
