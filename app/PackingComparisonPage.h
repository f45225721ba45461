#pragma once
// The page "填料比较": every catalogue packing rated for the inputs of the
// calculation page, as a table beside a chart. It follows the calculation
// page: any change of its controls recomputes the table shortly after. A
// double click on a row chooses that packing (and method) on the
// calculation page as the user's own choice would.

#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

#include "ComparisonChart.h"
#include "PressureDropDisplay.h"
#include "PackingComparison.h"

class CalcPage;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class TComparisonChartView;
class TComparisonProxyModel;
class TComparisonTableModel;

class TPackingComparisonPage : public QWidget {
    Q_OBJECT
public:
    explicit TPackingComparisonPage(CalcPage& page, QWidget* parent = nullptr);
    ~TPackingComparisonPage() override;

    // Recomputes the table now (the debounced recomputation calls this).
    void Recompute();
    // How many times the table was recomputed.
    int RecomputeCount() const { return recomputes_; }

    void SetAllMethods(bool all);
    bool AllMethods() const;
    // Empty: every family.
    void SetFamilyFilter(const QString& family);
    void SetChartAxis(ComparisonChartAxis axis);

    // The double click: row of the view (after sorting and filtering).
    void ActivateRow(int viewRow);
    // Writes the table as CSV or .xlsx (by the extension).
    bool ExportTable(const QString& path, QString* error) const;

    QTableView* Table() const { return table_; }
    TComparisonTableModel* Model() const { return model_; }
    TComparisonProxyModel* Proxy() const { return proxy_; }
    TComparisonChartView* Chart() const { return chart_; }

signals:
    // After every recomputation: whether a row failed.
    void ErrorsChanged(bool hasError);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void RetranslateUi();
    void ScheduleRecompute();
    void UpdateSpans();
    void UpdateChart();
    void ExportWithDialog();

    CalcPage& page_;
    PackingComparison comparison_;
    std::vector<int> subscriptions_;
    QTimer debounce_;
    bool dirty_ = true;
    int recomputes_ = 0;
    QComboBox* mode_ = nullptr;
    QComboBox* family_ = nullptr;
    QComboBox* axis_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* captions_[3] = {};
    QPushButton* exportButton_ = nullptr;
    QTableView* table_ = nullptr;
    TComparisonTableModel* model_ = nullptr;
    TComparisonProxyModel* proxy_ = nullptr;
    TComparisonChartView* chart_ = nullptr;
    // Headings, numbers and the chart follow the pressure-drop unit.
    PressureDropUnitWatch unitWatch_{[this] { Recompute(); }};
};
