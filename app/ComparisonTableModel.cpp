#include "ComparisonTableModel.h"

#include <QApplication>
#include <QBrush>
#include <QCoreApplication>
#include <QFont>
#include <QStyle>

#include <algorithm>

#include "CaseRunText.h"

namespace {
// The warnings first, where the eye starts; the exports keep their order.
std::vector<ComparisonColumn> ShownColumns(bool allMethods)
{
    std::vector<ComparisonColumn> c = ComparisonPageColumns(allMethods);
    const auto w = std::find(c.begin(), c.end(), ComparisonColumn::Warnings);
    if (w != c.end()) std::rotate(c.begin(), w, w + 1);
    return c;
}
} // namespace

TComparisonTableModel::TComparisonTableModel(QObject* parent) : QAbstractTableModel(parent)
{
    columns_ = ShownColumns(false);
}

bool TComparisonTableModel::IsFlooded(const ComparisonRow& row)
{
    for (const OperatingWarning& w : row.operation.warnings)
        if (w.code == "flooded" || w.code == "over-capacity") return true;
    return false;
}

void TComparisonTableModel::SetRows(std::vector<ComparisonRow> rows, bool allMethods,
                                    const std::string& currentPacking, int currentMethod)
{
    beginResetModel();
    rows_ = std::move(rows);
    allMethods_ = allMethods;
    columns_ = ShownColumns(allMethods);
    currentPacking_ = currentPacking;
    currentMethod_ = currentMethod;
    endResetModel();
}

int TComparisonTableModel::ColumnOf(ComparisonColumn c) const
{
    const auto it = std::find(columns_.begin(), columns_.end(), c);
    return it == columns_.end() ? -1 : static_cast<int>(it - columns_.begin());
}

bool TComparisonTableModel::IsCurrent(const ComparisonRow& row) const
{
    return row.packing == currentPacking_ && (!allMethods_ || row.method == currentMethod_);
}

int TComparisonTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TComparisonTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant TComparisonTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const ComparisonRow& row = rows_[static_cast<size_t>(index.row())];
    const ComparisonColumn c = columns_[static_cast<size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole:
        return ComparisonCellText(row, c);
    case SortRole: {
        if (c == ComparisonColumn::Warnings) return ComparisonWarningLevel(row);
        if (const auto v = ComparisonCellNumber(row, c)) return *v;
        const bool text = c == ComparisonColumn::Packing || c == ComparisonColumn::Method;
        return text ? QVariant(ComparisonCellText(row, c)) : QVariant();
    }
    case FamilyRole:
        return QString::fromStdString(row.family);
    case ErrorRole:
        return !row.completed;
    case Qt::DecorationRole: {
        if (c != ComparisonColumn::Warnings) return {};
        static const QStyle::StandardPixmap icons[] = {QStyle::SP_MessageBoxInformation,
                                                       QStyle::SP_MessageBoxWarning, QStyle::SP_MessageBoxCritical};
        const int level = ComparisonWarningLevel(row);
        return level < 0 ? QVariant() : QVariant(QApplication::style()->standardIcon(icons[level]));
    }
    case Qt::ToolTipRole:
        if (!row.completed) return ComparisonErrorText(row);
        if (c == ComparisonColumn::Warnings) return ComparisonWarningTexts(row).join(QLatin1Char('\n'));
        // Out of date: said in words, not by the grey italic alone.
        if (ComparisonCellStale(row, c))
            return QCoreApplication::translate("Velk", "该值已过时：它依赖的输入已清空或改变，未重新计算。");
        return {};
    case Qt::TextAlignmentRole:
        if (c == ComparisonColumn::Packing || c == ComparisonColumn::Method || c == ComparisonColumn::Warnings ||
            !row.completed)
            return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (IsCurrent(row)) return QBrush(QColor(0xFF, 0xF2, 0xA8));
        // At or above flood: the whole row tinted, light enough for black text.
        if (row.completed && IsFlooded(row)) return QBrush(kFloodedRowColour);
        return {};
    case Qt::FontRole: {
        const bool stale = ComparisonCellStale(row, c);
        if (!IsCurrent(row) && !stale) return {};
        QFont f;
        f.setBold(IsCurrent(row));
        f.setItalic(stale); // out of date, as the calculation page draws it
        return f;
    }
    case Qt::ForegroundRole:
        if (!row.completed && c != ComparisonColumn::Packing && c != ComparisonColumn::Method)
            return QBrush(QColor(0xC0, 0, 0));
        if (ComparisonCellStale(row, c)) return QBrush(QColor(0x80, 0x80, 0x80));
        return {};
    default:
        return {};
    }
}

QVariant TComparisonTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    return ComparisonColumnHeading(columns_[static_cast<size_t>(section)]);
}
