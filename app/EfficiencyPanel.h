#pragma once
// Beside the calculation page's heights: the Rocha-Bravo-Fair HETP, the
// spread between the models and the HETP the design takes, with the choice.

#include <QStringList>
#include <QWidget>

class CalcPage;
class QLabel;
class TComboWidget;

// The texts the panel shows, in this order: the RBF HETP, the spread, the
// design HETP (both heights in the unit of HETPD, 4 digits; "" where the
// model failed or nothing is computed), and HETPD's unit.
QStringList EfficiencyFigureTexts(const CalcPage& page);
// Why the RBF model did not complete, in the interface language; "" when it did.
QString EfficiencyFailureText(const CalcPage& page);

class TEfficiencyPanel : public QWidget
{
    Q_OBJECT
public:
    explicit TEfficiencyPanel(CalcPage& page, QWidget* parent = nullptr);
    TComboWidget* Choice() const { return choice_; }
    // Shows the figures of the page's last recalculation.
    void Refresh();

private:
    CalcPage& page_;
    QLabel* rbf_ = nullptr;
    QLabel* spread_ = nullptr;
    QLabel* design_ = nullptr;
    QLabel* rbfUnit_ = nullptr;
    QLabel* designUnit_ = nullptr;
    TComboWidget* choice_ = nullptr;
};
