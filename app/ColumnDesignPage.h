#pragma once
// The column-design page: the engineer's limits, the diameter step and the
// bed maxima as inputs (fields of the calculation page), and the column the
// calculation page's section times its stages gives: its beds and internals
// as a table and as an elevation drawing.

#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

#include "BoundWidgets.h"
#include "ColumnDesign.h"

class CalcPage;
class QLabel;
class QTableWidget;

class ColumnDesignPage : public QWidget
{
public:
    explicit ColumnDesignPage(CalcPage& page, QWidget* parent = nullptr);
    ~ColumnDesignPage() override;
    // Designs the column from the page as it stands and shows it.
    void refresh();
    const std::optional<ColumnDesign>& Design() const { return design_; }

protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void FillTable();
    // Many fields change in one recalculation: one refresh after it, and
    // none while the page is hidden (showing it refreshes).
    void Schedule();
    bool pending_ = false;

    CalcPage& page_;
    std::optional<ColumnDesign> design_;
    std::string why_;
    QLabel* note_ = nullptr;
    QTableWidget* table_ = nullptr;
    QWidget* elevation_ = nullptr;
    std::vector<std::unique_ptr<ModelBinding>> bindings_;
};
