#include "LoadCasesPage.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "CalcPage.h"
#include "CaseRunText.h"
#include "CaseTableCells.h"
#include "ColumnRatingLayout.h"
#include "LoadCaseRecords.h"
#include "LoadCaseReport.h"
#include "LoadCaseRules.h"
#include "Messages.h"
#include "NumberText.h"
#include "RegularFile.h"
#include "SafeFileReplacer.h"
#include "WarningMarks.h"

namespace
{

QString Tr(const char* text)
{
    return QCoreApplication::translate("Velk", text);
}

// A value cell keeps its exact SI value and the text it was shown with: an
// untouched cell gives back its exact value, an edited one is read anew.
constexpr int kExactRole = Qt::UserRole;
constexpr int kShownRole = Qt::UserRole + 1;
constexpr int kResultColumns = 9;
const QColor kGoverningColour(0xFF, 0xFF, 0x80);

QStringList InputHeadings()
{
    QStringList headings{Tr(QT_TRANSLATE_NOOP("Velk", "工况"))};
    for (int i = 0; i < 10; ++i) {
        const QString unit = QString::fromStdString(CaseValueUnit(i));
        headings << Tr(kProfileValues[i].caption) +
                        (unit.isEmpty() ? QString() : QStringLiteral("\n") + unit);
    }
    return headings;
}

QStringList ResultHeadings()
{
    QStringList h;
    for (const std::string& s : LoadCaseResultHeadings())
        h << QString::fromStdString(s);
    return h;
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

// An empty value cell shows the calculation page's value, grey and italic:
// the case takes it from there.
class FromPageDelegate : public QStyledItemDelegate
{
public:
    FromPageDelegate(const CalcPage& page, QObject* parent) : QStyledItemDelegate(parent), page_(page) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const int v = index.column() - 1;
        if (v < 0 || v >= 10 || !option->text.trimmed().isEmpty()) return;
        // The flows are the case's own: a case without them is refused.
        if (kProfileValues[v].member == &ProfileStage::V || kProfileValues[v].member == &ProfileStage::L)
            return;
        option->text = CaseCellNumber(ShownCaseValue(v, PageFieldValue(page_, kProfileValues[v].field)));
        option->font.setItalic(true);
        option->palette.setColor(QPalette::Text, Qt::gray);
        option->palette.setColor(QPalette::HighlightedText, Qt::lightGray);
    }

private:
    const CalcPage& page_;
};

} // namespace

LoadCasesPage::LoadCasesPage(CalcPage& page, QWidget* parent) : QWidget(parent), page_(page)
{
    setObjectName(QStringLiteral("TabSheetLoadCases"));
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    add_ = new QPushButton(this);
    add_->setObjectName(QStringLiteral("BAddCase"));
    remove_ = new QPushButton(this);
    remove_->setObjectName(QStringLiteral("BRemoveCase"));
    rate_ = new QPushButton(this);
    rate_->setObjectName(QStringLiteral("BRateCases"));
    export_ = new QPushButton(this);
    export_->setObjectName(QStringLiteral("BExportCases"));
    import_ = new QPushButton(this);
    import_->setObjectName(QStringLiteral("BImportCases"));
    for (QPushButton* b : {import_, add_, remove_, rate_, export_})
        bar->addWidget(b);
    bar->addStretch();
    layout->addLayout(bar);

    auto* split = new QSplitter(Qt::Vertical, this);
    inputs_ = MakeTable(QStringLiteral("LoadCaseInputs"), InputHeadings(), split);
    inputs_->setItemDelegate(new FromPageDelegate(page_, inputs_));
    results_ = MakeTable(QStringLiteral("LoadCaseResults"), ResultHeadings(), split);
    results_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(split, 1);
    window_ = new QLabel(this);
    window_->setObjectName(QStringLiteral("LoadCaseWindow"));
    window_->setWordWrap(true);
    window_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(window_);
    Retranslate();

    connect(add_, &QPushButton::clicked, this, [this] {
        LoadCase c;
        c.name = Tr(QT_TRANSLATE_NOOP("Velk", "工况%1")).arg(inputs_->rowCount() + 1).toStdString();
        AddCaseRow(c);
    });
    connect(remove_, &QPushButton::clicked, this, [this] {
        if (inputs_->currentRow() >= 0) inputs_->removeRow(inputs_->currentRow());
    });
    connect(rate_, &QPushButton::clicked, this, [this] { Rate(); });
    connect(export_, &QPushButton::clicked, this, [this] {
        const QString path =
            AskExportFile ? AskExportFile()
                          : QFileDialog::getSaveFileName(this, Tr(QT_TRANSLATE_NOOP("Velk", "导出CSV")),
                                                         QString(), QStringLiteral("CSV (*.csv)"));
        QString error;
        if (!path.isEmpty() && !ExportCsv(path, &error)) ShowMessage(MsgKind::Error, error.toStdString());
    });
    connect(import_, &QPushButton::clicked, this, [this] {
        const QString path =
            AskImportFile ? AskImportFile()
                          : QFileDialog::getOpenFileName(this, Tr(QT_TRANSLATE_NOOP("Velk", "导入CSV")),
                                                         QString(), QStringLiteral("CSV (*.csv)"));
        if (!path.isEmpty()) ImportCsv(path);
    });
    connect(results_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { LoadCaseIntoPage(row); });
}

void LoadCasesPage::ShowCaseValue(QTableWidgetItem* item, int v, const std::optional<double>& si)
{
    item->setText(CaseCellNumber(ShownCaseValue(v, si)));
    item->setData(kExactRole, si ? QVariant(*si) : QVariant());
    item->setData(kShownRole, item->text());
}

std::optional<double> LoadCasesPage::CellValue(const QTableWidgetItem* item, int v,
                                               const ShownFactors& siPerShown)
{
    const QString text = item->text().trimmed();
    if (const QVariant exact = item->data(kExactRole);
        exact.isValid() && item->data(kShownRole).toString() == text)
        return exact.toDouble();
    double x = 0;
    if (!ParseNumber(text.toStdString(), x)) return std::nullopt;
    // Typed in the column's unit as the table showed it.
    return x * siPerShown[static_cast<std::size_t>(v)];
}

LoadCasesPage::ShownFactors LoadCasesPage::CurrentShownFactors()
{
    ShownFactors f;
    for (int v = 0; v < 10; ++v)
        f[static_cast<std::size_t>(v)] = CaseValueFromShown(v, 1.0);
    return f;
}

void LoadCasesPage::FollowDisplaySystem()
{
    const ShownFactors next = CurrentShownFactors();
    if (next != siPerShown_) {
        // The table's values, edits included, in the new units; a cell that
        // does not read stays as typed.
        for (int r = 0; r < inputs_->rowCount(); ++r)
            for (int v = 0; v < 10; ++v) {
                QTableWidgetItem* item = inputs_->item(r, 1 + v);
                if (!item || item->text().trimmed().isEmpty()) continue;
                if (const std::optional<double> si = CellValue(item, v, siPerShown_))
                    ShowCaseValue(item, v, si);
            }
        siPerShown_ = next;
        FitColumns(inputs_);
    }
    Retranslate();
}

void LoadCasesPage::Retranslate()
{
    add_->setText(Tr(QT_TRANSLATE_NOOP("Velk", "增加工况")));
    remove_->setText(Tr(QT_TRANSLATE_NOOP("Velk", "删除工况")));
    rate_->setText(QCoreApplication::translate("Velk", "校核", "rate the column"));
    export_->setText(Tr(QT_TRANSLATE_NOOP("Velk", "导出CSV")));
    import_->setText(Tr(QT_TRANSLATE_NOOP("Velk", "导入CSV")));
    inputs_->setHorizontalHeaderLabels(InputHeadings());
    FitColumns(inputs_); // headings of another length
    results_->setHorizontalHeaderLabels(ResultHeadings());
    ShowResults();
}

void LoadCasesPage::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) Retranslate();
}

void LoadCasesPage::AddCaseRow(const LoadCase& c)
{
    InsertCaseRow(c);
    FitColumns(inputs_);
}

void LoadCasesPage::InsertCaseRow(const LoadCase& c)
{
    const int r = inputs_->rowCount();
    inputs_->insertRow(r);
    inputs_->setItem(r, 0, new QTableWidgetItem(QString::fromStdString(c.name)));
    for (int v = 0; v < 10; ++v) {
        auto* item = new QTableWidgetItem;
        ShowCaseValue(item, v, c.values.*kProfileValues[v].member);
        inputs_->setItem(r, 1 + v, item);
    }
}

std::vector<LoadCase> LoadCasesPage::ReadCaseTable() const
{
    std::vector<LoadCase> cases;
    auto text = [&](int r, int c) {
        return inputs_->item(r, c) ? inputs_->item(r, c)->text().toStdString() : std::string();
    };
    for (int r = 0; r < inputs_->rowCount(); ++r) {
        LoadCase c;
        c.name = CaseName(text(r, 0));
        for (int v = 0; v < 10; ++v) {
            const std::string cell = Trim(text(r, 1 + v));
            if (cell.empty()) continue;
            const std::optional<double> x = CellValue(inputs_->item(r, 1 + v), v, siPerShown_);
            if (!x)
                throw EConvertError(Tr(QT_TRANSLATE_NOOP("Velk", "工况“%1”的%2不是数字：%3"))
                                        .arg(QString::fromStdString(c.name), Tr(kProfileValues[v].caption),
                                             QString::fromStdString(cell))
                                        .toStdString());
            c.values.*kProfileValues[v].member = *x;
        }
        cases.push_back(std::move(c));
    }
    return cases;
}

void LoadCasesPage::SetCases(std::vector<LoadCase> cases)
{
    cases_ = std::move(cases);
    rating_ = {};
    ShowCases();
    // No results of other cases under these inputs, even when the rating fails.
    if (!Rate()) ShowResults();
}

void LoadCasesPage::Clear()
{
    cases_.clear();
    rating_ = {};
    ShowCases();
    ShowResults();
}

bool LoadCasesPage::Rate()
{
    try {
        std::vector<LoadCase> next = ReadCaseTable();
        ValidateLoadCases(next);
        const bool changed = LoadCaseRecordsText(next) != LoadCaseRecordsText(cases_);
        rating_ = next.empty() ? EnvelopeResult{} : RateLoadCases(page_, next);
        cases_ = std::move(next);
        if (changed && OnModified) OnModified();
    } catch (const std::exception& e) {
        ReportError(e);
        return false;
    }
    ShowResults();
    return true;
}

void LoadCasesPage::Refresh()
{
    if (cases_.empty()) return;
    try {
        rating_ = RateLoadCases(page_, cases_);
    } catch (const std::exception& e) {
        rating_ = {};
        ReportError(e);
    }
    ShowResults();
}

void LoadCasesPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Refresh();
}

bool LoadCasesPage::LoadCaseIntoPage(int row)
{
    if (row < 0 || row >= static_cast<int>(cases_.size()) || row >= static_cast<int>(rating_.cases.size()))
        return false;
    const LoadCase& c = cases_[static_cast<std::size_t>(row)];
    const QString name = QString::fromStdString(c.name);
    // The row was rated at the section's diameter: so is the loaded case.
    const std::optional<double> diameter = rating_.diameter;
    if (page_.Modified) {
        const QString question = ReplaceCaseQuestion(name, FieldsLoadingReplaces(page_, c, diameter));
        if (!question.isEmpty()) {
            const bool replace = AskReplaceCase
                                     ? AskReplaceCase(name, question)
                                     : QMessageBox::question(this, Tr(QT_TRANSLATE_NOOP("Velk", "工况校核")),
                                                             question) == QMessageBox::Yes;
            if (!replace) return false;
        }
    }
    try {
        LoadCaseAsRated(page_, c, diameter);
    } catch (const std::exception& e) {
        ReportError(e);
        return false;
    }
    page_.Modified = true;
    page_.NeedsRecalc = true;
    page_.RecalcReported();
    if (OnCaseLoaded) OnCaseLoaded();
    return true;
}

QString ReplaceCaseQuestion(const QString& name, const std::vector<std::string>& replaced)
{
    if (replaced.empty()) return {};
    QStringList captions;
    for (const std::string& field : replaced) {
        const char* caption = field == "dD"         ? QT_TRANSLATE_NOOP("Velk", "实际塔径")
                              : field == "CBRating" ? QT_TRANSLATE_NOOP("Velk", "核算给定塔径")
                                                    : nullptr;
        for (const ProfileValue& v : kProfileValues)
            if (field == v.field) caption = v.caption;
        captions << (caption ? Tr(caption) : QString::fromStdString(field));
    }
    return Tr(QT_TRANSLATE_NOOP("Velk", "用工况“%1”替换计算页的数据吗？将被替换的是：%2。"))
        .arg(name, captions.join(Tr(QT_TRANSLATE_NOOP("Velk", "、"))));
}

bool LoadCasesPage::ImportCsv(const QString& path)
{
    try {
        const std::string file = path.toStdString();
        std::vector<LoadCase> cases =
            ParseLoadCasesCsv(ReadRegularFile(file, kMaxLoadCaseBytes, "File too large"), file);
        // Checked in full before anything is replaced: a file the table would refuse changes nothing.
        ValidateLoadCases(cases);
        const bool changed = LoadCaseRecordsText(cases) != LoadCaseRecordsText(cases_);
        if (inputs_->rowCount() > 0 && !ConfirmReplaceCases()) return false;
        SetCases(std::move(cases));
        if (changed && OnModified) OnModified();
        return true;
    } catch (const std::exception& e) {
        ReportError(e);
        return false;
    }
}

bool LoadCasesPage::ConfirmReplaceCases()
{
    const int count = inputs_->rowCount();
    if (AskReplaceCases) return AskReplaceCases(count);
    return QMessageBox::question(
               this, Tr(QT_TRANSLATE_NOOP("Velk", "导入CSV")),
               Tr(QT_TRANSLATE_NOOP("Velk", "导入的工况将替换现有的 %1 个工况。继续吗？")).arg(count)) ==
           QMessageBox::Yes;
}

bool LoadCasesPage::ExportCsv(const QString& path, QString* error) const
{
    const QByteArray csv = LoadCaseCsv(Report());
    QString why;
    if (SafeReplaceFile(path, csv, &why)) return true;
    if (error)
        *error = Tr(QT_TRANSLATE_NOOP("Velk", "无法写入文件：%1")).arg(path) + QStringLiteral(" (") + why +
                 QLatin1Char(')');
    return false;
}

LoadCaseReport LoadCasesPage::Report() const
{
    return {&cases_, &rating_, CaseTextUtf8};
}

void LoadCasesPage::ShowCases()
{
    inputs_->setRowCount(0);
    for (const LoadCase& c : cases_)
        InsertCaseRow(c);
    // Once for all rows: fitting after each row costs seconds for a full table.
    FitColumns(inputs_);
}

void LoadCasesPage::ShowResults()
{
    results_->setRowCount(0);
    results_->setRowCount(static_cast<int>(rating_.cases.size()));
    for (std::size_t i = 0; i < rating_.cases.size(); ++i)
        ShowResultRow(static_cast<int>(i), rating_.cases[i]);
    FitColumns(results_, kResultColumns - 1, 360);
    ShowWindow();
    if (OnRated) OnRated();
}

void LoadCasesPage::ShowResultRow(int row, const CaseResult& r)
{
    const std::vector<std::string> cells = LoadCaseResultCells(r, CaseTextUtf8);
    for (int c = 0; c < kResultColumns && c < static_cast<int>(cells.size()); ++c)
        results_->setItem(row, c, ReadOnlyCell(QString::fromStdString(cells[static_cast<std::size_t>(c)])));
    // The warnings' marks: the note and the figures a warning names in the
    // colour of its severity.
    if (const auto worst = WorstWarning(r.warnings)) {
        const QColor colour = SeverityColour(r.warnings[*worst].severity);
        results_->item(row, kResultColumns - 1)->setForeground(colour);
    }
    if (!r.completed)
        results_->item(row, kResultColumns - 1)->setForeground(SeverityColour(WarningSeverity::Error));
    for (const auto& [field, severity] : WorstSeverityByField(r.warnings))
        for (int column : LoadCaseColumnsOfField(field)) {
            QTableWidgetItem* item = results_->item(row, column);
            item->setForeground(SeverityColour(severity));
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
        }
    if (rating_.governing && *rating_.governing == row)
        for (int c = 0; c < kResultColumns; ++c) {
            QTableWidgetItem* item = results_->item(row, c);
            item->setBackground(kGoverningColour);
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
        }
}

void LoadCasesPage::ShowWindow()
{
    window_->setText(QString::fromStdString(LoadCaseWindowText(rating_)));
    window_->setVisible(!rating_.cases.empty());
}
