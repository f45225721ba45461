#pragma once
// A widget that shows the profile charts of the column rating, drawn anew
// at every repaint from the curves it was given.

#include <QWidget>
#include <vector>

#include "ProfileChart.h"

class ProfileChartView : public QWidget
{
    Q_OBJECT
public:
    explicit ProfileChartView(QWidget* parent = nullptr);
    void setCurves(std::vector<ProfileChartCurve> curves);
    const std::vector<ProfileChartCurve>& curves() const { return curves_; }
    QSize sizeHint() const override { return {480, 480}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<ProfileChartCurve> curves_;
};
