#pragma once
// The page "塔段校核" (column rating): a column profile taken from a
// simulator or a tray-profile CSV file, split into packed beds, each stage
// rated by the calculation page's own recalculation. Shows the stages with
// the limiting stage of each bed highlighted, the bed totals and the
// profile charts; a double click loads a stage into the calculation page.
//
// The logic sits in plain member functions (Rate, SetProfile, LoadStage,
// ReadBedEditor), so a test drives the page without clicking.

#include <QWidget>
#include <functional>
#include <memory>

#include "BackgroundRating.h"
#include "ColumnRating.h"
#include "PressureDropDisplay.h"
#include "ProfileChart.h"

class CalcPage;
class QAction;
class QProgressDialog;
class QTimer;
class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;
class ProfileChartView;

class ColumnRatingPage : public QWidget
{
    Q_OBJECT
public:
    explicit ColumnRatingPage(CalcPage& page, QWidget* parent = nullptr);

    const ColumnProfile& Profile() const { return profile_; }
    const ProfileRating& Rating() const { return rating_; }
    // Takes a profile over (one bed over all stages when it has none) and rates it.
    void SetProfile(ColumnProfile profile);
    // Forgets the profile (a new project).
    void Clear();
    // Takes the bed editor over into the profile and rates every stage;
    // false (after the message) when the beds are not valid. A profile of
    // more than kInlineStages stages is rated on a worker thread with
    // progress and Cancel: Rate returns at once and ratingFinished follows.
    bool Rate();
    static constexpr std::size_t kInlineStages = 100;
    bool RatingInProgress() const { return rater_ != nullptr; }
    // Stops a rating on the worker; the rating shown before stays.
    void CancelRating();
    // Reads a tray-profile CSV file; with several columns ChooseColumn picks one.
    bool ImportCsv(const QString& path);
    // Writes the stage of a table row into the calculation page and
    // recalculates it; a modified case is replaced only after AskReplaceCase
    // agrees, and UndoStageLoad brings it back. False when nothing was loaded.
    bool LoadStage(int row);
    // Puts back the case the last LoadStage replaced; false when there is none.
    bool UndoStageLoad();
    // Undo of a stage load (Ctrl+Z), enabled while there is one; the main
    // window carries it, so that it works on the calculation page.
    QAction* UndoAction() const { return undo_; }
    // The bed editor's rows as beds (EConvertError for a cell that does not convert).
    std::vector<ProfileBed> ReadBedEditor() const;

    // The charts' curves of the current rating, one per bed.
    std::vector<ProfileChartCurve> ChartCurves() const;

    QTableWidget* StageTable() const { return stages_; }
    QTableWidget* BedTable() const { return beds_; }
    QTableWidget* TotalsTable() const { return totals_; }
    QCheckBox* RatingMode() const { return ratingMode_; }

    // The profile changed (the project is modified).
    std::function<void()> OnModified;
    // A stage was loaded into the calculation page.
    std::function<void()> OnStageLoaded;
    // Asks for a CSV file ("" = cancel) and picks a column of several.
    std::function<QString()> AskCsvFile;
    std::function<int(const QStringList& columns)> ChooseColumn;
    // Asks whether the modified case may be replaced by stage `stage` (default: a message box).
    std::function<bool(int stage)> AskReplaceCase;

signals:
    // A rating in steps ended: completed, or cancelled.
    void ratingFinished(bool completed);

protected:
    void changeEvent(QEvent* event) override;

private:
    void BuildBedEditor(QWidget* parent);
    void AddBedRow(const ProfileBed& bed);
    void ShowBeds();
    void ShowResults();
    void ShowPressureDropUnit();
    void ShowStages();
    void ShowTotals();
    void Modified();
    void StartRating(ColumnProfile next, bool changed);
    void RatingTick();
    void EndRating();

    CalcPage& page_;
    ColumnProfile profile_;
    ProfileRating rating_;
    QLabel* source_ = nullptr;
    QCheckBox* ratingMode_ = nullptr;
    QPushButton* rate_ = nullptr;
    QTableWidget* beds_ = nullptr;
    QTableWidget* stages_ = nullptr;
    QTableWidget* totals_ = nullptr;
    ProfileChartView* charts_ = nullptr;
    QAction* undo_ = nullptr;
    std::unique_ptr<CalcPage> replaced_; // the case before the last stage load
    // A rating on a worker: the rating, the profile it rates and whether
    // that differs from the one before.
    std::unique_ptr<BackgroundRating> rater_;
    ColumnProfile pending_;
    bool pendingChanged_ = false;
    QTimer* tick_ = nullptr;
    QProgressDialog* progress_ = nullptr;
    // Pressure-drop headings and numbers follow the display unit.
    PressureDropUnitWatch unitWatch_{[this] { ShowPressureDropUnit(); }};
};
