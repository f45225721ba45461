#pragma once
// The widgets of the calculation page: project information, the liquid,
// vapour and other data groups, and the result fields below a line. Every
// widget is bound to a control model of the CalcPage; this class only lays
// them out, sets the tab order and hands the hints to the widgets.

#include <QWidget>
#include <vector>

class CalcPage;
class QGridLayout;
class QGroupBox;
class QLabel;
class TEditDWidget;
class TEfficiencyPanel;
class TOperationPanel;
class TTypedInputGuard;

class TCalcPageWidget : public QWidget
{
    Q_OBJECT
public:
    explicit TCalcPageWidget(CalcPage& page, QWidget* parent = nullptr);
    ~TCalcPageWidget() override;
    // Shows the operating check and the stale marks of the last recalculation.
    void RefreshOperation();
    TOperationPanel* OperationPanel() const { return operation_; }
    // The checks of the stages and the flooding percentage as typed.
    TTypedInputGuard* TypedInputGuard() const { return typedGuard_; }
    // The line naming the worst warning at the top of the page; hidden
    // without warnings.
    QLabel* WarningSummary() const { return summary_; }
    // Scrolls the page so that the list of warnings is in sight.
    void JumpToWarnings();

signals:
    // After every refresh of the operating check: whether an error is among
    // the warnings.
    void WarningsChanged(bool hasError);

protected:
    // The warnings and hints built from engine texts follow a language switch.
    void changeEvent(QEvent* e) override;

private:
    QWidget* BuildProjectGroup();
    QWidget* BuildLiquidGroup();
    QWidget* BuildVapourGroup();
    QWidget* BuildOtherGroup();
    QWidget* BuildResults();
    void FinishTabOrderAndHints();
    void MarkWarnings();
    // The pressure drops per length name the length of their unit (per metre,
    // per foot), so that the caption never contradicts the chosen unit.
    void FollowPerLengthUnit(const char* field, QLabel* label);

    QLabel* Caption(const char* control, const char* text, QWidget* parent);
    QWidget* ValueRow(QGridLayout* g, int row, const char* name, const char* text, QWidget* parent);
    QWidget* ComboRow(QGridLayout* g, int row, const char* name, const char* text, QWidget* parent,
                      int span = 1);
    QGroupBox* DataGroup(const char* title, const char* name, const char* hint);

    CalcPage& page_;
    std::vector<QWidget*> tabOrder_;
    std::vector<TEditDWidget*> resultEdits_;
    std::vector<std::pair<class TComboBoxU*, int>> unitSubscriptions_;
    TOperationPanel* operation_ = nullptr;
    TEfficiencyPanel* efficiency_ = nullptr; // beside the heights
    QWidget* flood_ = nullptr;
    QLabel* summary_ = nullptr;
    TTypedInputGuard* typedGuard_ = nullptr;
};
