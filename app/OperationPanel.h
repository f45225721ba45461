#pragma once
// The operating check on the calculation page: rating a given diameter, the
// number of theoretical stages, the operating figures and the compact list
// of warnings, coloured by severity. Refreshed after every recalculation.

#include <QGroupBox>
#include <vector>

#include "PressureDropDisplay.h"

class CalcPage;
class QComboBox;
class QLabel;
class QListWidget;

class TOperationPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit TOperationPanel(CalcPage& page, QWidget* parent = nullptr);
    // The controls that take the focus, in tab order.
    std::vector<QWidget*> TabOrder() const { return tabOrder_; }
    // Shows Operation() of the page.
    void Refresh();
    QListWidget* Warnings() const { return warnings_; }
    // The figure labels in the order of OperatingFigures; a marked one has
    // the property "severity" (0 note, 1 warning, 2 error; -1 unmarked).
    const std::vector<QLabel*>& Figures() const { return figures_; }

private:
    QWidget* BuildInputs();
    void BuildDesignBasis(class QGridLayout* g, QWidget* box);
    QWidget* BuildFigures();
    void MarkFigures();

    CalcPage& page_;
    std::vector<QLabel*> figures_;
    QComboBox* bedHeightUnit_ = nullptr; // the length units of the diameter
    QListWidget* warnings_ = nullptr;
    QLabel* design_ = nullptr; // what governed the diameter
    std::vector<QWidget*> tabOrder_;
    std::vector<std::pair<QLabel*, int>> unitLabels_; // the unit labels of converted figures, by figure
    UnitSystem shownSystem_ = CurrentDisplaySystem();
    void ShowDisplayUnits();
    PressureDropUnitWatch unitWatch_{[this] { ShowDisplayUnits(); }};
};

// The figures as the panel shows them: one text per figure in the order of
// OperatingFigures, empty where undefined; the bed height divided by
// bedHeightFactor (its unit's factor to metres).
QStringList OperatingFigureTexts(const CalcPage& page, double bedHeightFactor = 1.0);
// Which limit governed the diameter and which correlation the conservative
// flood velocity took (and those it left out); "" with both options off.
QString DesignOutcomeText(const CalcPage& page);
