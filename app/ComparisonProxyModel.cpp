#include "ComparisonProxyModel.h"

#include "ComparisonTableModel.h"

TComparisonProxyModel::TComparisonProxyModel(QObject* parent) : QSortFilterProxyModel(parent)
{
    setSortRole(TComparisonTableModel::SortRole);
    setDynamicSortFilter(true);
}

void TComparisonProxyModel::SetFamily(const QString& family)
{
    family_ = family;
    invalidateFilter();
}

bool TComparisonProxyModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const QVariant a = left.data(sortRole());
    const QVariant b = right.data(sortRole());
    // Empty cells last whichever way the column is sorted.
    const bool descending = sortOrder() == Qt::DescendingOrder;
    if (!a.isValid() || !b.isValid()) {
        if (a.isValid() == b.isValid()) return left.row() < right.row();
        return a.isValid() != descending;
    }
    if (a.typeId() == QMetaType::QString || b.typeId() == QMetaType::QString)
        return QString::localeAwareCompare(a.toString(), b.toString()) < 0;
    const double x = a.toDouble(), y = b.toDouble();
    if (x == y) return left.row() < right.row();
    return x < y;
}

bool TComparisonProxyModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (family_.isEmpty()) return true;
    const QModelIndex i = sourceModel()->index(sourceRow, 0, sourceParent);
    return i.data(TComparisonTableModel::FamilyRole).toString() == family_;
}
