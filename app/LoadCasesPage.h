#pragma once
// The page "工况校核" (load cases): named loadings of the calculation page's
// section, each rated by the page's own recalculation on a copy at the
// section's diameter, the governing case highlighted and the operating
// window between the lowest and the highest load shown. A double click
// loads a case into the calculation page.
//
// The logic sits in plain member functions (SetCases, Rate, LoadCase,
// ExportCsv, ReadCaseTable), so a test drives the page without clicking.

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "LoadCaseCsv.h"
#include "LoadCaseReport.h"
#include "LoadCases.h"
#include "PressureDropDisplay.h"

class CalcPage;
class QLabel;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

class LoadCasesPage : public QWidget
{
    Q_OBJECT
public:
    explicit LoadCasesPage(CalcPage& page, QWidget* parent = nullptr);

    const std::vector<LoadCase>& Cases() const { return cases_; }
    const EnvelopeResult& Rating() const { return rating_; }
    // Takes cases over (a project's) and rates them.
    void SetCases(std::vector<LoadCase> cases);
    // Forgets the cases (a new project).
    void Clear();
    // Takes the table over into the cases and rates them; false (after the
    // message) when a cell does not convert or the cases do not validate.
    bool Rate();
    // Rates the cases again against the calculation page as it stands now
    // (the page changed since); the table's unrated edits stay as they are.
    void Refresh();
    // Writes the case of a results row into the calculation page, rating
    // the section's diameter as the row was rated; a modified page whose
    // inputs the case would change is replaced only after AskReplaceCase
    // agrees. False when nothing was loaded.
    bool LoadCaseIntoPage(int row);
    // Reads a load-case CSV file (the format velk-calc --cases reads) into the
    // table and rates it; false (after the message) when it does not read or
    // its cases do not validate, and when replacing the cases there was
    // refused (AskReplaceCases): then nothing changes.
    bool ImportCsv(const QString& path);
    // Writes the case table with its results and the window as CSV.
    bool ExportCsv(const QString& path, QString* error) const;
    // The table's rows as cases (EConvertError naming the cell that does not convert).
    std::vector<LoadCase> ReadCaseTable() const;
    void AddCaseRow(const LoadCase& c);

    // The cases for the report, the CSV and the diagram.
    LoadCaseReport Report() const;

    QTableWidget* CaseTable() const { return inputs_; }
    QTableWidget* ResultTable() const { return results_; }
    QLabel* WindowLabel() const { return window_; }

    // The cases changed (the project is modified).
    std::function<void()> OnModified;
    // A case was loaded into the calculation page.
    std::function<void()> OnCaseLoaded;
    // The rating changed (the diagram and the tab's mark follow).
    std::function<void()> OnRated;
    // Asks whether the modified page may be replaced by case `name`; the
    // question names what would be replaced (default: a message box).
    std::function<bool(const QString& name, const QString& question)> AskReplaceCase;
    // Asks whether an import may replace the `count` cases there (default: a message box).
    std::function<bool(int count)> AskReplaceCases;
    // Ask for the CSV file to write or to read ("" = cancel).
    std::function<QString()> AskExportFile;
    std::function<QString()> AskImportFile;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool ConfirmReplaceCases();
    void InsertCaseRow(const LoadCase& c);
    void ShowCases();
    void ShowResults();
    void ShowResultRow(int row, const CaseResult& r);
    void ShowWindow();
    void Retranslate();
    // SI per display unit of each case value, as the table shows them.
    using ShownFactors = std::array<double, 10>;
    static ShownFactors CurrentShownFactors();
    static void ShowCaseValue(QTableWidgetItem* item, int v, const std::optional<double>& si);
    // A value cell's SI value; nullopt when its text is no number.
    static std::optional<double> CellValue(const QTableWidgetItem* item, int v,
                                           const ShownFactors& siPerShown);
    // Shows the table's values in the display system chosen now.
    void FollowDisplaySystem();

    CalcPage& page_;
    std::vector<LoadCase> cases_;
    EnvelopeResult rating_;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* rate_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* import_ = nullptr;
    QLabel* window_ = nullptr;
    QTableWidget* inputs_ = nullptr;
    QTableWidget* results_ = nullptr;
    ShownFactors siPerShown_ = CurrentShownFactors();
    PressureDropUnitWatch unitWatch_{[this] { FollowDisplaySystem(); }};
};

// The question before a case replaces the page's data, naming the replaced
// fields ("" when nothing would change).
QString ReplaceCaseQuestion(const QString& name, const std::vector<std::string>& replaced);
