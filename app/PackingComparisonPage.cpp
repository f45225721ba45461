#include "PackingComparisonPage.h"

#include <QComboBox>
#include <QEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "BoundWidgets.h"
#include "CalcPage.h"
#include "ComparisonChartView.h"
#include "ComparisonExport.h"
#include "ComparisonProxyModel.h"
#include "ComparisonTableModel.h"
#include "Messages.h"

namespace
{
QString Tr(const char* text) { return QCoreApplication::translate("Velk", text); }
// Long enough to take a burst of changes (a recalculation writes many
// fields) as one, short enough to follow typing.
constexpr int kDebounceMs = 40;
} // namespace

TPackingComparisonPage::TPackingComparisonPage(CalcPage& page, QWidget* parent) : QWidget(parent), page_(page)
{
    setObjectName(QStringLiteral("TabSheetCompare"));
    mode_ = new QComboBox(this);
    mode_->setObjectName(QStringLiteral("CompareModeD"));
    mode_->addItems({QString(), QString()});
    family_ = new QComboBox(this);
    family_->setObjectName(QStringLiteral("CompareFamilyD"));
    family_->addItem(QString(), QString());
    for (const std::string& f : PackingFamilies())
        family_->addItem(QString(), QString::fromStdString(f));
    axis_ = new QComboBox(this);
    axis_->setObjectName(QStringLiteral("CompareAxisD"));
    axis_->addItems({QString(), QString()});
    exportButton_ = new QPushButton(this);
    exportButton_->setObjectName(QStringLiteral("BCompareExport"));
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("CompareStatus"));

    auto* bar = new QHBoxLayout;
    for (QLabel*& l : captions_)
        l = new QLabel(this);
    bar->addWidget(captions_[0]);
    bar->addWidget(mode_);
    bar->addWidget(captions_[1]);
    bar->addWidget(family_);
    bar->addWidget(captions_[2]);
    bar->addWidget(axis_);
    bar->addWidget(exportButton_);
    bar->addWidget(status_, 1);

    model_ = new TComparisonTableModel(this);
    proxy_ = new TComparisonProxyModel(this);
    proxy_->setSourceModel(model_);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("CompareTable"));
    table_->setModel(proxy_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder); // catalogue order until the user sorts
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(20);
    table_->horizontalHeader()->setDefaultSectionSize(82);
    chart_ = new TComparisonChartView(this);
    chart_->setObjectName(QStringLiteral("CompareChart"));
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(table_);
    split->addWidget(chart_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setSizes({900, 500});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(split, 1);

    debounce_.setSingleShot(true);
    debounce_.setInterval(kDebounceMs);
    connect(&debounce_, &QTimer::timeout, this, [this] { Recompute(); });
    connect(mode_, &QComboBox::currentIndexChanged, this, [this] { Recompute(); });
    connect(family_, &QComboBox::currentIndexChanged, this,
            [this] { proxy_->SetFamily(family_->currentData().toString()); });
    connect(axis_, &QComboBox::currentIndexChanged, this, [this] { UpdateChart(); });
    connect(exportButton_, &QPushButton::clicked, this, [this] { ExportWithDialog(); });
    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& i) { ActivateRow(i.row()); });
    auto refresh = [this] {
        UpdateSpans();
        UpdateChart();
    };
    connect(proxy_, &QAbstractItemModel::layoutChanged, this, refresh);
    connect(proxy_, &QAbstractItemModel::modelReset, this, refresh);
    connect(proxy_, &QAbstractItemModel::rowsInserted, this, refresh);
    connect(proxy_, &QAbstractItemModel::rowsRemoved, this, refresh);

    RetranslateUi();
    // Every control of the calculation page: inputs, units, the method,
    // the rating option, and the results the recalculation writes.
    for (TControl* c : page_.Controls())
        subscriptions_.push_back(c->Subscribe([this] { ScheduleRecompute(); }));
}

TPackingComparisonPage::~TPackingComparisonPage()
{
    const auto& controls = page_.Controls();
    for (std::size_t i = 0; i < controls.size() && i < subscriptions_.size(); ++i)
        controls[i]->Unsubscribe(subscriptions_[i]);
}

void TPackingComparisonPage::RetranslateUi()
{
    mode_->setItemText(0, Tr(QT_TRANSLATE_NOOP("Velk", "当前泛点算法")));
    mode_->setItemText(1, Tr(QT_TRANSLATE_NOOP("Velk", "三种泛点算法对比")));
    family_->setItemText(0, Tr(QT_TRANSLATE_NOOP("Velk", "全部系列")));
    for (int i = 1; i < family_->count(); ++i)
        family_->setItemText(i, QCoreApplication::translate("Velk", family_->itemData(i).toString().toUtf8().constData()));
    axis_->setItemText(0, Tr(QT_TRANSLATE_NOOP("Velk", "HETP - 湿塔压降")));
    axis_->setItemText(1, Tr(QT_TRANSLATE_NOOP("Velk", "HETP - 理论塔径")));
    exportButton_->setText(Tr(QT_TRANSLATE_NOOP("Velk", "导出表格...")));
    captions_[0]->setText(Tr(QT_TRANSLATE_NOOP("Velk", "算法")));
    captions_[1]->setText(Tr(QT_TRANSLATE_NOOP("Velk", "填料系列")));
    captions_[2]->setText(Tr(QT_TRANSLATE_NOOP("Velk", "图形")));
}

void TPackingComparisonPage::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange) return;
    RetranslateUi();
    // The tab that shows this page carries its title.
    if (auto* tabs = qobject_cast<QTabWidget*>(parentWidget() ? parentWidget()->parentWidget() : nullptr))
        tabs->setTabText(tabs->indexOf(this), Tr(QT_TRANSLATE_NOOP("Velk", "填料比较")));
    // Headings, method names and warnings are translated when shown.
    Recompute();
}

void TPackingComparisonPage::ScheduleRecompute()
{
    dirty_ = true;
    // A hidden page catches up when it is shown.
    if (isVisible()) debounce_.start();
}

void TPackingComparisonPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (dirty_) Recompute();
}

void TPackingComparisonPage::Recompute()
{
    debounce_.stop();
    dirty_ = false;
    ++recomputes_;
    const bool all = AllMethods();
    std::vector<ComparisonRow> rows = comparison_.Run(page_, all);
    int failed = 0;
    for (const ComparisonRow& r : rows)
        failed += r.completed ? 0 : 1;
    const bool newColumns = model_->Rows().empty() || model_->AllMethods() != all;
    model_->SetRows(std::move(rows), all, page_.Combo("PTD")->Text(), page_.Combo("UfMD")->ItemIndex());
    // Widths only when the columns change: a table that follows typing
    // must not jump about.
    if (newColumns) table_->resizeColumnsToContents();
    status_->setText(Tr(QT_TRANSLATE_NOOP("Velk", "%1 行，%2 行出错")).arg(model_->rowCount()).arg(failed));
    emit ErrorsChanged(failed > 0);
}

void TPackingComparisonPage::SetAllMethods(bool all) { mode_->setCurrentIndex(all ? 1 : 0); }

bool TPackingComparisonPage::AllMethods() const { return mode_->currentIndex() == 1; }

void TPackingComparisonPage::SetFamilyFilter(const QString& family)
{
    const int i = family_->findData(family);
    family_->setCurrentIndex(i < 0 ? 0 : i);
}

void TPackingComparisonPage::SetChartAxis(ComparisonChartAxis axis)
{
    axis_->setCurrentIndex(axis == ComparisonChartAxis::Diameter ? 1 : 0);
}

void TPackingComparisonPage::UpdateSpans()
{
    table_->clearSpans();
    const int first = model_->ColumnOf(kFirstResultColumn);
    const int warnings = model_->ColumnOf(ComparisonColumn::Warnings);
    const int end = warnings > first ? warnings : model_->columnCount();
    if (first < 0 || end <= first) return;
    // An error row's text runs over the number columns it replaces.
    for (int r = 0; r < proxy_->rowCount(); ++r)
        if (proxy_->index(r, 0).data(TComparisonTableModel::ErrorRole).toBool())
            table_->setSpan(r, first, 1, end - first);
}

void TPackingComparisonPage::UpdateChart()
{
    std::vector<ComparisonRow> shown;
    for (int r = 0; r < proxy_->rowCount(); ++r)
        shown.push_back(model_->Rows()[static_cast<std::size_t>(proxy_->mapToSource(proxy_->index(r, 0)).row())]);
    const auto axis = axis_->currentIndex() == 1 ? ComparisonChartAxis::Diameter : ComparisonChartAxis::PressureDrop;
    chart_->SetPoints(ComparisonChartPoints(shown, axis, page_.Combo("PTD")->Text(), page_.Combo("UfMD")->ItemIndex()),
                      axis, model_->AllMethods());
}

void TPackingComparisonPage::ActivateRow(int viewRow)
{
    const QModelIndex source = proxy_->mapToSource(proxy_->index(viewRow, 0));
    if (!source.isValid()) return;
    const ComparisonRow row = model_->Rows()[static_cast<std::size_t>(source.row())];
    RunReported([&] { ChooseComparisonRow(page_, row); });
}

bool TPackingComparisonPage::ExportTable(const QString& path, QString* error) const
{
    return SaveComparisonTable(path.toStdString(), model_->Rows(), model_->AllMethods(), error);
}

void TPackingComparisonPage::ExportWithDialog()
{
    const QString csv = Tr(QT_TRANSLATE_NOOP("Velk", "CSV 文件 (*.csv)"));
    const QString xlsx = Tr(QT_TRANSLATE_NOOP("Velk", "Excel 工作簿 (*.xlsx)"));
    QString chosen;
    QString file = QFileDialog::getSaveFileName(this, Tr(QT_TRANSLATE_NOOP("Velk", "导出填料比较表")),
                                                Tr(QT_TRANSLATE_NOOP("Velk", "填料比较")) + QStringLiteral(".xlsx"),
                                                xlsx + QStringLiteral(";;") + csv, &chosen);
    if (file.isEmpty()) return;
    const QString suffix = chosen == csv ? QStringLiteral("csv") : QStringLiteral("xlsx");
    if (QFileInfo(file).suffix().compare(suffix, Qt::CaseInsensitive) != 0) file += QLatin1Char('.') + suffix;
    QString error;
    if (!ExportTable(file, &error)) ShowMessage(MsgKind::Error, error.toStdString());
}
