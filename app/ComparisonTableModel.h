#pragma once
// The rows of the packing comparison as a Qt table model: texts as shown,
// numbers for sorting, warning icons with their texts as hints, the current
// packing highlighted.

#include <QAbstractTableModel>

#include <vector>

#include "ComparisonTable.h"

#include <QColor>

// Background of a flooded row.
inline const QColor kFloodedRowColour{0xFF, 0xD0, 0xD0};

class TComparisonTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Sort key (a double, or the text for text columns; missing numbers
    // give an invalid variant) and the packing family of a row.
    enum Role { SortRole = Qt::UserRole + 1, FamilyRole, ErrorRole };

    explicit TComparisonTableModel(QObject* parent = nullptr);

    void SetRows(std::vector<ComparisonRow> rows, bool allMethods, const std::string& currentPacking,
                 int currentMethod);
    const std::vector<ComparisonRow>& Rows() const { return rows_; }
    bool AllMethods() const { return allMethods_; }
    const std::vector<ComparisonColumn>& Columns() const { return columns_; }
    int ColumnOf(ComparisonColumn c) const; // -1 when not shown
    bool IsCurrent(const ComparisonRow& row) const;
    // At or above flood, hydraulic or foaming-limited.
    static bool IsFlooded(const ComparisonRow& row);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<ComparisonRow> rows_;
    std::vector<ComparisonColumn> columns_;
    bool allMethods_ = false;
    std::string currentPacking_;
    int currentMethod_ = 0;
};
