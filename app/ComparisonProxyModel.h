#pragma once
// Sorting and filtering of the packing comparison: numbers compare as
// numbers, empty cells go to the end in either order, and a family filter.

#include <QSortFilterProxyModel>

class TComparisonProxyModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit TComparisonProxyModel(QObject* parent = nullptr);
    // Empty: every family.
    void SetFamily(const QString& family);
    QString Family() const { return family_; }

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QString family_;
};
