#pragma once
// The dialog that adds or edits one of the user's packings: the table's
// columns after the row number, checked as the file's rows are before it
// closes.

#include <QDialog>
#include <array>
#include <vector>

#include "PackingCatalogue.h"

class QLabel;
class QLineEdit;

class TUserPackingDialog : public QDialog
{
    Q_OBJECT
public:
    // others: the user rows the packing sits with (its own not among them).
    TUserPackingDialog(const CatalogueRow& row, std::vector<CatalogueRow> others, QWidget* parent = nullptr);
    CatalogueRow Row() const;
    QLineEdit* Cell(int column) const { return cells_[column]; }
    // Checks the row and shows its faults; true when it has none.
    bool CheckRow();
    void accept() override;

private:
    std::array<QLineEdit*, kCatalogueColumns> cells_{};
    std::vector<CatalogueRow> others_;
    QLabel* faults_ = nullptr;
};
