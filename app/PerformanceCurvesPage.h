#pragma once
// The page "填料性能曲线": pressure drop, holdup and HETP of the chosen
// packing against load, at the physical properties of the calculation page,
// with the case's operating point. It follows the calculation page: any
// change of its controls recomputes the curves shortly after, on a copy of
// the page, so the live page and the packing parameters are left alone.

#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

#include "CalcPage.h"
#include "PressureDropDisplay.h"
#include "PerformanceCurves.h"

class QLabel;
class QLineEdit;
class TPerformanceChartView;

class TPerformanceCurvesPage : public QWidget {
    Q_OBJECT
public:
    explicit TPerformanceCurvesPage(CalcPage& page, QWidget* parent = nullptr);
    ~TPerformanceCurvesPage() override;

    // Recomputes the curves now (the debounced recomputation calls this).
    void Recompute();
    int RecomputeCount() const { return recomputes_; }
    // The liquid loads of the pressure-drop chart as typed, in the display
    // unit of the liquid load (m3/(m2 h), or gpm/ft2 in US); false for a
    // text that is not a list of loads (the list is then left as it was).
    bool SetLiquidLoadsText(const QString& text);
    // The loads as the box shows them, in that unit.
    QString LiquidLoadsShown() const;
    const std::vector<double>& LiquidLoads() const { return loads_; }
    // The curves last computed (null before the first computation or when
    // the page lacked data) and the reason when there are none.
    std::shared_ptr<const PerformanceCurves> Curves() const { return curves_; }
    QString Status() const;
    TPerformanceChartView* ChartView(int index) const { return views_[static_cast<std::size_t>(index)]; }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ScheduleRecompute();
    void RetranslateUi();
    void ShowDisplayUnits();

    CalcPage& page_;
    CalcPage copy_{false};
    std::vector<double> loads_;
    std::shared_ptr<const PerformanceCurves> curves_;
    std::vector<int> subscriptions_;
    QTimer debounce_;
    bool dirty_ = true;
    int recomputes_ = 0;
    QLineEdit* loadsEdit_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* caption_ = nullptr;
    std::array<TPerformanceChartView*, 3> views_{};
    // The charts and the loads follow the display units.
    PressureDropUnitWatch unitWatch_{[this] { ShowDisplayUnits(); }};
};
