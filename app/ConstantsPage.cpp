#include "ConstantsPage.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ApplicationHelp.h"
#include "CalcPage.h"
#include "Messages.h"
#include "PackingSelector.h"
#include "TrNoop.h"
#include "UiPrompts.h"
#include "UserCatalogueFile.h"
#include "UserPackingDialog.h"

namespace
{
QString T(const char* text)
{
    return QCoreApplication::translate("Velk", text);
}

// The user's rows stand apart from the built-in pairs of colours.
const QColor kUserBackground(0xFF, 0xF2, 0xCC);
const QColor kUserText(0x40, 0x30, 0x00);

QPushButton* Button(const char* name, const char* text, QWidget* parent)
{
    auto* b = new QPushButton(T(text), parent);
    b->setObjectName(QLatin1String(name));
    b->setProperty("helpContext", HelpTopic::UserPackings);
    return b;
}
} // namespace

TConstantsPage::TConstantsPage(CalcPage& page, std::function<UiPrompts*()> prompts, QWidget* parent)
    : QWidget(parent), page_(page), prompts_(std::move(prompts))
{
    setObjectName(QStringLiteral("TabSheetConst"));
    grid_ = new QTableWidget(this);
    grid_->setObjectName(QStringLiteral("ListViewPTs"));
    grid_->setColumnCount(kCatalogueColumns);
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    file_ = new QLabel(this);
    file_->setObjectName(QStringLiteral("UserPackingsFile"));
    file_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    file_->setProperty("helpContext", HelpTopic::UserPackings);
    choose_ = Button("BUserPackingsFile", QT_TRANSLATE_NOOP("Velk", "选择文件…"), this);
    add_ = Button("BUserPackingAdd", QT_TRANSLATE_NOOP("Velk", "添加填料…"), this);
    edit_ = Button("BUserPackingEdit", QT_TRANSLATE_NOOP("Velk", "修改填料…"), this);
    remove_ = Button("BUserPackingRemove", QT_TRANSLATE_NOOP("Velk", "删除填料"), this);
    connect(choose_, &QPushButton::clicked, this, &TConstantsPage::ChooseFile);
    connect(add_, &QPushButton::clicked, this, [this] { EditRow(-1); });
    connect(edit_, &QPushButton::clicked, this, [this] { EditRow(CurrentUserRow()); });
    connect(remove_, &QPushButton::clicked, this, [this] { RemoveRow(CurrentUserRow()); });
    connect(grid_, &QTableWidget::itemSelectionChanged, this, [this] {
        edit_->setEnabled(CurrentUserRow() >= 0);
        remove_->setEnabled(CurrentUserRow() >= 0);
    });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this] {
        if (CurrentUserRow() >= 0) EditRow(CurrentUserRow());
    });
    auto* bar = new QHBoxLayout;
    bar->addWidget(file_, 1);
    for (QPushButton* b : {choose_, add_, edit_, remove_})
        bar->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(bar);
    ShowRows();
    ShowFileName();
    // A project opened with a user packing of its own adds it: the selector's
    // notice tells the grid.
    subscription_ = page_.Combo("PTD")->Subscribe([this] {
        if (CatalogueGeneration() != shown_) ShowRows();
    });
}

TConstantsPage::~TConstantsPage()
{
    page_.Combo("PTD")->Unsubscribe(subscription_);
}

void TConstantsPage::ShowRows()
{
    const auto& rows = PackingCatalogue();
    shown_ = CatalogueGeneration();
    grid_->setRowCount(static_cast<int>(rows.size()));
    QStringList headings;
    const char* const* h = CatalogueHeadings();
    for (int c = 0; c < kCatalogueColumns; ++c)
        headings << T(h[c]);
    grid_->setHorizontalHeaderLabels(headings);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const bool user = IsUserPacking(static_cast<std::size_t>(r));
        // Rows alternate in pairs: red on light green, then blue on the normal background.
        const bool firstPair = r % 4 == 0 || r % 4 == 1;
        for (int c = 0; c < kCatalogueColumns; ++c) {
            // A user's text is shown as written, never as a translation key.
            auto* item =
                new QTableWidgetItem(user ? QString::fromStdString(rows[r][c]) : T(rows[r][c].c_str()));
            if (user) {
                item->setForeground(kUserText);
                item->setBackground(kUserBackground);
                item->setToolTip(T(QT_TRANSLATE_NOOP("Velk", "用户填料")));
            } else {
                item->setForeground(firstPair ? QColor(0xFF, 0, 0) : QColor(0, 0, 0xFF));
                if (firstPair) item->setBackground(QColor(0xCA, 0xFB, 0xE0));
            }
            grid_->setItem(r, c, item);
        }
    }
    FitColumns();
    edit_->setEnabled(CurrentUserRow() >= 0);
    remove_->setEnabled(CurrentUserRow() >= 0);
}

void TConstantsPage::FitColumns()
{
    // Fixed widths: measuring every cell at start-up costs more than it gives;
    // a heading wider than its column (an English one) widens it.
    const int widths[kCatalogueColumns] = {36, 110, 64, 56, 70, 70, 56, 56, 50, 76, 76, 170, 40};
    QHeaderView* header = grid_->horizontalHeader();
    for (int c = 0; c < kCatalogueColumns; ++c)
        grid_->setColumnWidth(c, std::max(widths[c], header->sectionSizeHint(c)));
    // The user's names and remarks may be longer than the built-in ones: their
    // columns widen to them (up to a bound), the built-in widths stay otherwise.
    for (const int c : {int(ColType), int(ColRemark)}) {
        int width = grid_->columnWidth(c);
        for (int r = static_cast<int>(kBuiltInPackings); r < grid_->rowCount(); ++r)
            if (const QTableWidgetItem* item = grid_->item(r, c))
                width = std::max(width, grid_->fontMetrics().horizontalAdvance(item->text()) + 16);
        grid_->setColumnWidth(c, std::min(width, 400));
    }
}

void TConstantsPage::ShowFileName()
{
    const QString path = QDir::toNativeSeparators(QString::fromStdString(path_));
    file_->setText(T(QT_TRANSLATE_NOOP("Velk", "用户填料库：%1"))
                       .arg(path.isEmpty() ? T(QT_TRANSLATE_NOOP("Velk", "（无）")) : path));
    file_->setToolTip(path);
    add_->setEnabled(!path_.empty());
}

int TConstantsPage::CurrentUserRow() const
{
    const int r = grid_->currentRow();
    if (r < 0 || !grid_->selectionModel()->isRowSelected(r, {}) ||
        !IsUserPacking(static_cast<std::size_t>(r)))
        return -1;
    return r - static_cast<int>(kBuiltInPackings);
}

void TConstantsPage::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::LanguageChange) {
        ShowFileName();
        ShowRows();
    }
    QWidget::changeEvent(e);
}
