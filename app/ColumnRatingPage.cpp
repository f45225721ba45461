#include "ColumnRatingPage.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "CalcPage.h"
#include "CaseTableCells.h"
#include "CaseRun.h"
#include "CaseRunText.h"
#include "ColumnRatingHeadings.h"
#include "ColumnRatingLayout.h"
#include "Messages.h"
#include "NumberText.h"
#include "ProfileChartView.h"
#include "ProfileImport.h"
#include "ProfileRecords.h"
#include "ProfileReport.h"

namespace
{

QString Tr(const char* text)
{
    return QCoreApplication::translate("Velk", text);
}

constexpr int kFirstValueColumn = 2;
constexpr int kFirstResultColumn = kFirstValueColumn + 10;
const QColor kLimitingColour(0xFF, 0xFF, 0x80);
// How often the window looks at a rating on its worker.
constexpr int kPollMs = 50;

// "校核" is also the report's "checked by"; the button means "rate".
QString RateCaption()
{
    return QCoreApplication::translate("Velk", "校核", "rate the column");
}

QTableWidget* MakeTable(const QString& name, const QStringList& headings, QWidget* parent)
{
    auto* t = new QTableWidget(0, static_cast<int>(headings.size()), parent);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels(headings);
    t->verticalHeader()->hide();
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    return t;
}

} // namespace

ColumnRatingPage::ColumnRatingPage(CalcPage& page, QWidget* parent) : QWidget(parent), page_(page)
{
    setObjectName(QStringLiteral("TabSheetRating"));
    auto* layout = new QVBoxLayout(this);

    auto* bar = new QHBoxLayout;
    auto* importCsv = new QPushButton(Tr(QT_TRANSLATE_NOOP("Velk", "导入CSV")), this);
    importCsv->setObjectName(QStringLiteral("BImportCsv"));
    rate_ = new QPushButton(RateCaption(), this);
    rate_->setObjectName(QStringLiteral("BRate"));
    ratingMode_ = new QCheckBox(Tr(QT_TRANSLATE_NOOP("Velk", "按给定塔径校核")), this);
    ratingMode_->setObjectName(QStringLiteral("CBProfileRating"));
    source_ = new QLabel(this);
    source_->setObjectName(QStringLiteral("ProfileSource"));
    bar->addWidget(importCsv);
    bar->addWidget(rate_);
    bar->addWidget(ratingMode_);
    bar->addWidget(source_, 1);
    layout->addLayout(bar);

    auto* split = new QSplitter(Qt::Horizontal, this);
    auto* left = new QWidget(split);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    BuildBedEditor(left);
    leftLayout->addWidget(beds_, 1);

    stages_ = MakeTable(QStringLiteral("ProfileStages"), ColumnRatingStageHeadings(), left);
    stages_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    leftLayout->addWidget(stages_, 4);
    totals_ = MakeTable(QStringLiteral("ProfileBedTotals"), ColumnRatingTotalHeadings(), left);
    totals_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    leftLayout->addWidget(totals_, 1);
    charts_ = new ProfileChartView(split);
    GiveTablesTheWidth(split);
    layout->addWidget(split, 1);
    PutResultsFirst(stages_, kFirstValueColumn, kFirstResultColumn, 7);
    FitColumns(stages_);
    FitColumns(totals_);
    FitColumns(beds_);
    ShowChartsWhenRated(charts_, false);

    connect(importCsv, &QPushButton::clicked, this, [this] {
        const QString path =
            AskCsvFile
                ? AskCsvFile()
                : QFileDialog::getOpenFileName(this, Tr(QT_TRANSLATE_NOOP("Velk", "导入CSV")), QString(),
                                               Tr(QT_TRANSLATE_NOOP("Velk", "塔板数据 (*.csv)")));
        if (!path.isEmpty()) ImportCsv(path);
    });
    connect(rate_, &QPushButton::clicked, this, [this] { Rate(); });
    connect(stages_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { LoadStage(row); });

    undo_ = new QAction(Tr(QT_TRANSLATE_NOOP("Velk", "撤销载入塔板")), this);
    undo_->setObjectName(QStringLiteral("AUndoStageLoad"));
    undo_->setShortcut(QKeySequence::Undo);
    undo_->setEnabled(false);
    addAction(undo_);
    connect(undo_, &QAction::triggered, this, [this] { UndoStageLoad(); });

    tick_ = new QTimer(this);
    tick_->setInterval(kPollMs);
    connect(tick_, &QTimer::timeout, this, [this] { RatingTick(); });
}

void ColumnRatingPage::BuildBedEditor(QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    auto* add = new QPushButton(Tr(QT_TRANSLATE_NOOP("Velk", "增加填料段")), box);
    add->setObjectName(QStringLiteral("BAddBed"));
    auto* remove = new QPushButton(Tr(QT_TRANSLATE_NOOP("Velk", "删除填料段")), box);
    remove->setObjectName(QStringLiteral("BRemoveBed"));
    row->addWidget(new QLabel(Tr(QT_TRANSLATE_NOOP("Velk", "填料段")), box));
    row->addWidget(add);
    row->addWidget(remove);
    row->addStretch();
    static_cast<QVBoxLayout*>(parent->layout())->addWidget(box);
    beds_ = MakeTable(QStringLiteral("ProfileBeds"), ColumnRatingBedHeadings(), parent);
    connect(add, &QPushButton::clicked, this, [this] {
        ProfileBed bed = EffectiveBeds(ColumnProfile{"", profile_.stages, {}, false}, page_).at(0);
        AddBedRow(bed);
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (beds_->currentRow() >= 0) beds_->removeRow(beds_->currentRow());
    });
}

void ColumnRatingPage::AddBedRow(const ProfileBed& bed)
{
    const int r = beds_->rowCount();
    beds_->insertRow(r);
    beds_->setItem(r, 0, new QTableWidgetItem(QString::number(bed.first)));
    beds_->setItem(r, 1, new QTableWidgetItem(QString::number(bed.last)));
    auto* packing = new QComboBox(beds_);
    for (const std::string& name : page_.Combo("PTD")->Items())
        packing->addItem(Tr(name.c_str()), QString::fromStdString(name));
    packing->setCurrentIndex(std::max(0, packing->findData(QString::fromStdString(bed.packing))));
    beds_->setCellWidget(r, 2, packing);
    auto* method = new QComboBox(beds_);
    for (const std::string& name : page_.Combo("UfMD")->Items())
        method->addItem(Tr(name.c_str()));
    method->setCurrentIndex(bed.method);
    beds_->setCellWidget(r, 3, method);
    auto* lagrange = new QTableWidgetItem;
    lagrange->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
    lagrange->setCheckState(bed.lagrange ? Qt::Checked : Qt::Unchecked);
    beds_->setItem(r, 4, lagrange);
    beds_->setItem(r, 5, new QTableWidgetItem(CaseCellNumber(bed.diameter)));
    FitColumns(beds_);
}

std::vector<ProfileBed> ColumnRatingPage::ReadBedEditor() const
{
    std::vector<ProfileBed> beds;
    auto text = [&](int r, int c) {
        return beds_->item(r, c) ? beds_->item(r, c)->text().toStdString() : std::string();
    };
    for (int r = 0; r < beds_->rowCount(); ++r) {
        ProfileBed b;
        double first = 0, last = 0, d = 0;
        if (!ParseNumber(Trim(text(r, 0)), first) || !ParseNumber(Trim(text(r, 1)), last) ||
            first != std::floor(first) || last != std::floor(last) || std::fabs(first) > 1e6 ||
            std::fabs(last) > 1e6)
            throw EConvertError(Tr(QT_TRANSLATE_NOOP("Velk", "填料段的板号不是整数：")).toStdString() +
                                text(r, 0) + " - " + text(r, 1));
        b.first = static_cast<int>(first);
        b.last = static_cast<int>(last);
        b.packing = static_cast<QComboBox*>(beds_->cellWidget(r, 2))->currentData().toString().toStdString();
        b.method = static_cast<QComboBox*>(beds_->cellWidget(r, 3))->currentIndex();
        b.lagrange = beds_->item(r, 4)->checkState() == Qt::Checked;
        const std::string diameter = Trim(text(r, 5));
        if (!diameter.empty()) {
            if (!ParseNumber(diameter, d))
                throw EConvertError(Tr(QT_TRANSLATE_NOOP("Velk", "塔径不是数字：")).toStdString() + diameter);
            b.diameter = d;
        }
        beds.push_back(b);
    }
    return beds;
}

void ColumnRatingPage::SetProfile(ColumnProfile profile)
{
    if (profile.Empty()) {
        Clear();
        return;
    }
    profile_ = std::move(profile);
    if (profile_.beds.empty()) profile_.beds = EffectiveBeds(profile_, page_);
    rating_ = {};
    ShowBeds();
    Modified();
    Rate();
}

void ColumnRatingPage::Clear()
{
    CancelRating();
    // Another project: the case a stage replaced belongs to the one before.
    replaced_.reset();
    undo_->setEnabled(false);
    profile_ = {};
    rating_ = {};
    ShowBeds();
    ShowResults();
}

bool ColumnRatingPage::Rate()
{
    try {
        ColumnProfile next = profile_;
        next.beds = ReadBedEditor();
        next.rating = ratingMode_->isChecked();
        ValidateProfile(next);
        const bool changed = ProfileRecordsText(next) != ProfileRecordsText(profile_);
        CancelRating();
        if (next.stages.size() > kInlineStages) {
            StartRating(std::move(next), changed);
            ShowResults(); // the stages without results until the rating is done
            return true;
        }
        rating_ = next.Empty() ? ProfileRating{} : RateProfile(page_, next);
        profile_ = std::move(next);
        if (changed) Modified();
    } catch (const std::exception& e) {
        ReportError(e);
        return false;
    }
    ShowResults();
    return true;
}

// A large profile is rated on a worker thread. The rater copies the page
// here, on the window's thread; the worker then runs only on that copy, and
// the engine's state (packing parameters, hooks, message sink) is each
// thread's own, so the window may calculate meanwhile. The progress dialog
// is modal to the window, so the profile and the beds do not change.
void ColumnRatingPage::StartRating(ColumnProfile next, bool changed)
{
    // The rater throws here, before any thread, on beds that do not validate.
    rater_ = std::make_unique<BackgroundRating>(std::make_unique<ProfileRater>(page_, next));
    pending_ = std::move(next);
    pendingChanged_ = changed;
    progress_ = new QProgressDialog(Tr(QT_TRANSLATE_NOOP("Velk", "正在校核塔板……")),
                                    Tr(QT_TRANSLATE_NOOP("Velk", "取消")), 0, rater_->Total(), this);
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setMinimumDuration(300);
    progress_->setAutoReset(false);
    connect(progress_, &QProgressDialog::canceled, this, [this] { CancelRating(); });
    rate_->setEnabled(false);
    tick_->start();
}

void ColumnRatingPage::RatingTick()
{
    if (!rater_) return;
    progress_->setValue(rater_->Done());
    if (!rater_->Finished()) return;
    try {
        rating_ = rater_->Take();
    } catch (const std::exception& e) {
        EndRating();
        ReportError(e);
        emit ratingFinished(false);
        return;
    }
    profile_ = std::move(pending_);
    const bool changed = pendingChanged_;
    EndRating();
    if (changed) Modified();
    ShowResults();
    emit ratingFinished(true);
}

void ColumnRatingPage::CancelRating()
{
    if (!rater_) return;
    EndRating();
    emit ratingFinished(false);
}

void ColumnRatingPage::EndRating()
{
    tick_->stop();
    rater_.reset();
    pending_ = {};
    if (progress_) {
        progress_->disconnect(this);
        progress_->deleteLater();
        progress_ = nullptr;
    }
    rate_->setEnabled(true);
}

bool ColumnRatingPage::ImportCsv(const QString& path)
{
    try {
        std::vector<ColumnProfile> columns = ProfilesFromCsvFile(path.toStdString());
        int pick = 0;
        if (columns.size() > 1) {
            QStringList names;
            for (const ColumnProfile& c : columns)
                names << QString::fromStdString(c.source);
            pick = ChooseColumn ? ChooseColumn(names) : [&] {
                bool ok = false;
                const QString chosen =
                    QInputDialog::getItem(this, Tr(QT_TRANSLATE_NOOP("Velk", "导入CSV")),
                                          Tr(QT_TRANSLATE_NOOP("Velk", "塔器模块")), names, 0, false, &ok);
                return ok ? static_cast<int>(names.indexOf(chosen)) : -1;
            }();
            if (pick < 0 || pick >= static_cast<int>(columns.size())) return false;
        }
        SetProfile(std::move(columns[static_cast<std::size_t>(pick)]));
        return true;
    } catch (const std::exception& e) {
        ReportError(e);
        return false;
    }
}

bool ColumnRatingPage::LoadStage(int row)
{
    if (row < 0 || row >= static_cast<int>(profile_.stages.size()) ||
        row >= static_cast<int>(rating_.stages.size()))
        return false;
    const int bed = rating_.stages[static_cast<std::size_t>(row)].bed;
    const std::vector<ProfileBed> beds = EffectiveBeds(profile_, page_);
    if (bed < 0 || bed >= static_cast<int>(beds.size())) return false;
    const ProfileStage& stage = profile_.stages[static_cast<std::size_t>(row)];
    if (page_.Modified) {
        const bool replace = AskReplaceCase ? AskReplaceCase(stage.number)
                                            : QMessageBox::question(this, Tr(QT_TRANSLATE_NOOP("Velk", "塔段校核")),
                                                                    Tr(QT_TRANSLATE_NOOP("Velk", "计算页的工况已修改。用第%1板的数据替换它吗？（可用Ctrl+Z撤销）"))
                                                                        .arg(stage.number)) == QMessageBox::Yes;
        if (!replace) return false;
    }
    // The whole case as it stands, for Undo.
    auto before = std::make_unique<CalcPage>(false);
    CopyPageState(page_, *before);
    try {
        ApplyStage(page_, stage, beds[static_cast<std::size_t>(bed)], rating_.beds[static_cast<std::size_t>(bed)].diameter);
    } catch (const std::exception& e) {
        ReportError(e);
        return false;
    }
    replaced_ = std::move(before);
    // Where Ctrl+Z is pressed: on the calculation page, in the same window.
    if (window() != this) window()->addAction(undo_);
    undo_->setEnabled(true);
    page_.Modified = true;
    page_.NeedsRecalc = true;
    page_.RecalcReported();
    if (OnStageLoaded) OnStageLoaded();
    return true;
}

bool ColumnRatingPage::UndoStageLoad()
{
    if (!replaced_) return false;
    // Texts, units, colours and both flags as they were; the operating
    // check follows the restored fields.
    CopyPageState(*replaced_, page_);
    page_.UpdateOperation();
    if (page_.OnOperationChanged) page_.OnOperationChanged();
    replaced_.reset();
    undo_->setEnabled(false);
    return true;
}

void ColumnRatingPage::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange) return;
    // Headings with units, notes, hints and chart captions are built from
    // parts, so they are built again in the new language.
    stages_->setHorizontalHeaderLabels(ColumnRatingStageHeadings());
    totals_->setHorizontalHeaderLabels(ColumnRatingTotalHeadings());
    beds_->setHorizontalHeaderLabels(ColumnRatingBedHeadings());
    FitColumns(beds_);
    rate_->setText(RateCaption());
    ShowResults();
    charts_->update();
}

void ColumnRatingPage::ShowPressureDropUnit()
{
    stages_->setHorizontalHeaderLabels(ColumnRatingStageHeadings());
    totals_->setHorizontalHeaderLabels(ColumnRatingTotalHeadings());
    ShowResults();
}

void ColumnRatingPage::ShowBeds()
{
    beds_->setRowCount(0);
    for (const ProfileBed& b : profile_.beds)
        AddBedRow(b);
    ratingMode_->setChecked(profile_.rating);
    source_->setText(QString::fromStdString(profile_.source));
}

void ColumnRatingPage::ShowResults()
{
    ShowStages();
    ShowTotals();
    charts_->setCurves(ChartCurves());
    ShowChartsWhenRated(charts_, !rating_.stages.empty());
}

void ColumnRatingPage::ShowStages()
{
    stages_->setRowCount(0);
    stages_->setRowCount(static_cast<int>(profile_.stages.size()));
    for (std::size_t i = 0; i < profile_.stages.size(); ++i) {
        const int row = static_cast<int>(i);
        const ProfileStage& s = profile_.stages[i];
        const StageRating* r = i < rating_.stages.size() ? &rating_.stages[i] : nullptr;
        stages_->setItem(row, 0, ReadOnlyCell(QString::number(s.number)));
        stages_->setItem(row, 1, ReadOnlyCell(r && r->bed >= 0 ? QString::number(r->bed + 1) : QString()));
        for (int v = 0; v < 10; ++v) {
            const std::optional<double>& x = s.*kProfileValues[v].member;
            const std::optional<double> si = x ? x : PageFieldValue(page_, kProfileValues[v].field);
            QTableWidgetItem* item = ReadOnlyCell(CaseCellNumber(ShownProfileValue(v, si)));
            if (!x) {
                // Not in the stage's data: the calculation page's value is used.
                QFont f = item->font();
                f.setItalic(true);
                item->setFont(f);
                item->setForeground(Qt::gray);
                item->setToolTip(Tr(QT_TRANSLATE_NOOP("Velk", "取自计算页")));
            }
            stages_->setItem(row, kFirstValueColumn + v, item);
        }
        if (!r) continue;
        // The stage's pressure drop comes in Pa/m; 100 Pa make a mbar.
        const std::optional<double> dp =
            r->pressureDrop ? std::optional<double>(ShownPressureDrop(*r->pressureDrop / 100.0)) : std::nullopt;
        const std::optional<double> results[] = {ShownFigure(FigureKind::Length, r->theoreticalDiameter),
                                                 r->floodPercent,
                                                 r->FsFactor,
                                                 dp,
                                                 r->holdup,
                                                 ShownFigure(FigureKind::Length, r->HETP)};
        for (int k = 0; k < 6; ++k)
            stages_->setItem(row, kFirstResultColumn + k, ReadOnlyCell(CaseCellNumber(results[k])));
        QStringList notes;
        if (const QString message = StageMessage(*r); !message.isEmpty()) notes << message;
        for (const OperatingWarning& w : r->warnings)
            notes << Tr(w.text.c_str());
        QTableWidgetItem* note = ReadOnlyCell(notes.join(QStringLiteral("; ")));
        // A skipped stage is no packed stage: a note, not an error.
        if (!r->completed && !r->skipped) note->setForeground(Qt::red);
        if (r->skipped) note->setForeground(Qt::darkGray);
        stages_->setItem(row, kFirstResultColumn + 6, note);
        const bool limiting = r->bed >= 0 && static_cast<std::size_t>(r->bed) < rating_.beds.size() &&
                              rating_.beds[static_cast<std::size_t>(r->bed)].limitingStage == s.number;
        if (limiting)
            for (int c = 0; c < stages_->columnCount(); ++c) {
                QTableWidgetItem* item = stages_->item(row, c);
                if (!item) stages_->setItem(row, c, item = ReadOnlyCell(QString()));
                item->setBackground(kLimitingColour);
                QFont f = item->font();
                f.setBold(true);
                item->setFont(f);
            }
    }
    FitColumns(stages_, kFirstResultColumn + 6, 240);
}

void ColumnRatingPage::ShowTotals()
{
    totals_->setRowCount(static_cast<int>(rating_.beds.size()));
    const auto& methods = page_.Combo("UfMD")->Items();
    for (std::size_t i = 0; i < rating_.beds.size(); ++i) {
        const BedRating& b = rating_.beds[i];
        const int row = static_cast<int>(i);
        totals_->setItem(row, 0, ReadOnlyCell(QStringLiteral("%1: %2-%3").arg(i + 1).arg(b.first).arg(b.last)));
        totals_->setItem(row, 1, ReadOnlyCell(Tr(b.packing.c_str())));
        totals_->setItem(row, 2,
                         ReadOnlyCell(b.method >= 0 && static_cast<std::size_t>(b.method) < methods.size()
                                  ? Tr(methods[static_cast<std::size_t>(b.method)].c_str())
                                  : QString()));
        totals_->setItem(row, 3, ReadOnlyCell(CaseCellNumber(ShownFigure(FigureKind::Length, b.diameter))));
        totals_->setItem(row, 4, ReadOnlyCell(b.limitingStage ? QString::number(*b.limitingStage) : QString()));
        totals_->setSpan(row, 5, 1, 1);
        if (b.note.empty()) {
            totals_->setItem(row, 5, ReadOnlyCell(CaseCellNumber(ShownFigure(FigureKind::Length, b.height))));
            totals_->setItem(row, 6, ReadOnlyCell(CaseCellNumber(ShownFigure(FigureKind::BedPressureDrop, b.pressureDrop))));
        } else {
            // No totals: the reason over both columns.
            totals_->setItem(row, 5, ReadOnlyCell(CaseText(b.note)));
            totals_->setItem(row, 6, ReadOnlyCell(QString()));
            totals_->setSpan(row, 5, 1, 2);
        }
    }
    FitColumns(totals_);
}

std::vector<ProfileChartCurve> ColumnRatingPage::ChartCurves() const
{
    return ProfileChartCurves(rating_);
}

void ColumnRatingPage::Modified()
{
    if (OnModified) OnModified();
}
