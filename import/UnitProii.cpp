#include "UnitProii.h"

#include "ImportDialogParts.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

#include <cmath>

#include "CalcPage.h"
#include "FontSetup.h"
#include "ImportFieldMap.h"
#include "Messages.h"
#include "ProfileImport.h"
#include "UnitHysys.h"

TFormProii* FormProii = nullptr;

namespace
{

// The dialog's outer size is 417 x 314 on Windows; this is its client area
// inside a standard frame.
constexpr int kClientWidth = 409;
constexpr int kClientHeight = 287;
constexpr int kLeft = 290;
constexpr int kTop = 209;

// No column has this many trays; a larger count is a fault of the server and
// must not fill the tray list for minutes.
constexpr int kMaxTrays = 100000;

// Nearest integer, halves to even, of a number read from a list. Tray
// numbers and counts lie far inside the bounds, which leave room for the
// arithmetic done on them.
int RoundListValue(double v, const char* what)
{
    const double r = std::nearbyint(v);
    if (!(r >= -1e9 && r <= 1e9))
        throw EConvertError(std::string(what) + " " + AutoFloatToStr(v) + " is out of range");
    return static_cast<int>(r);
}

// Runs a handler and reports what escapes it, as the application's default
// error report would for an event handler.
template <typename F> void Reported(F&& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        ReportError(e);
    }
}

} // namespace

TFormProii::TFormProii(QWidget* owner, CalcPage& page) : QDialog(owner), page_(page)
{
    BuildComponents();
}

TFormProii::~TFormProii()
{
    if (FormProii == this) FormProii = nullptr;
}

void TFormProii::BuildComponents()
{
    SetUpImportDialog(this, QStringLiteral("FormProii"), QCoreApplication::translate("Velk", "连接Proii"),
                      QSize(kClientWidth, kClientHeight), QPoint(kLeft, kTop));
    ListColumns =
        AddListGroup(this, QCoreApplication::translate("Velk", "塔器模块"), QStringLiteral("GroupBox1"),
                     QRect(9, 13, 200, 109), QStringLiteral("ListColumns"), &GroupBox1);
    ListBoxColumnData =
        AddListGroup(this, QCoreApplication::translate("Velk", "当前塔器"), QStringLiteral("GroupBox2"),
                     QRect(9, 128, 200, 96), QStringLiteral("ListBoxColumnData"), &GroupBox2);
    // Two columns: the second item sits halfway across, the tray list beside it.
    RGModal = AddTrayPositionGroup(this, QCoreApplication::translate("Velk", "自动(NF0-1)"), 88, &RGModalAuto,
                                   &RGModalFixed);

    StageIndex = new QComboBox(this);
    StageIndex->setObjectName(QStringLiteral("StageIndex"));
    StageIndex->setEditable(false);
    StageIndex->setGeometry(357, 30, 38, 20);
    for (int i = 1; i <= 5; ++i)
        StageIndex->addItem(QString::number(i));
    StageIndex->setCurrentIndex(0);
    StageIndex->raise();

    Label1 = new QLabel(QCoreApplication::translate("Velk", "当前塔盘"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(216, 69, 48, 12);

    ListData = new QListWidget(this);
    ListData->setObjectName(QStringLiteral("ListData"));
    ListData->setGeometry(215, 84, 185, 139);

    BOpen = AddButton(this, QStringLiteral("BOpen"), QCoreApplication::translate("Velk", "打开文件"),
                      QRect(21, 234, 75, 25), QStyle::SP_DialogOpenButton);
    BGetData = AddButton(this, QStringLiteral("BGetData"), QCoreApplication::translate("Velk", "获得数据"),
                         QRect(118, 234, 75, 25), QStyle::SP_BrowserReload);
    BOK = AddButton(this, QStringLiteral("BOK"), QCoreApplication::translate("Velk", "确定"),
                    QRect(215, 234, 75, 25));
    BOK->setDefault(true);
    BCancel = AddButton(this, QStringLiteral("BCancel"), QCoreApplication::translate("Velk", "取消"),
                        QRect(312, 234, 75, 25));
    BColumn = AddButton(this, QStringLiteral("BColumn"), QCoreApplication::translate("Velk", "整塔数据"),
                        QRect(320, 61, 80, 21));
    for (QPushButton* b : {BOpen, BGetData, BCancel, BColumn})
        b->setAutoDefault(false);

    OpenDialogPRoii = new QFileDialog(this);
    OpenDialogPRoii->setObjectName(QStringLiteral("OpenDialogPRoii"));
    OpenDialogPRoii->setNameFilter(QCoreApplication::translate("Velk", "PROII 模拟文件 (*.prz *.pr1)"));
    OpenDialogPRoii->setFileMode(QFileDialog::ExistingFile);
    OpenDialogPRoii->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialogPRoii->setSizeGripEnabled(true);

    connect(BOpen, &QPushButton::clicked, this, [this] { BOpenClick(); });
    connect(BGetData, &QPushButton::clicked, this, [this] { BGetDataClick(); });
    connect(BOK, &QPushButton::clicked, this, [this] {
        BOKClick();
        accept();
    });
    connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BColumn, &QPushButton::clicked, this, [this] { BColumnClick(); });
    connect(ListColumns, &QListWidget::itemSelectionChanged, this, [this] { ListColumnsClick(); });
    FitDialogTexts(this);
}

int TFormProii::RGModalIndex() const
{
    return RGModalFixed->isChecked() ? 1 : 0;
}

void TFormProii::SetRGModalIndex(int index)
{
    (index == 1 ? RGModalFixed : RGModalAuto)->setChecked(true);
}

TStringList TFormProii::Lines(const QListWidget* list)
{
    TStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines.push_back(list->item(i)->text().toStdString());
    return lines;
}

void TFormProii::SetLines(QListWidget* list, const TStringList& lines)
{
    const QSignalBlocker block(list); // filling is not a choice of the engineer
    list->clear();
    for (const std::string& l : lines)
        list->addItem(QString::fromStdString(l));
}

bool TFormProii::IsAcceptableFile(const QString& path, QString* why)
{
    const QFileInfo info(path);
    QString reason;
    if (!info.dir().exists())
        reason = QCoreApplication::translate("Velk", "文件夹不存在。");
    else if (!info.isFile())
        reason = QCoreApplication::translate("Velk", "文件不存在。");
    // Read-only as the file's attribute says (no write permission for
    // anyone), or for this user.
    else if (!(info.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)) ||
             !info.isWritable())
        reason = QCoreApplication::translate("Velk", "此文件为只读文件，请选择其他文件。");
    if (why) *why = reason;
    return reason.isEmpty();
}

std::optional<QString> TFormProii::ChooseFile()
{
    for (;;) {
        if (OpenDialogPRoii->exec() != QDialog::Accepted) return std::nullopt;
        const QStringList files = OpenDialogPRoii->selectedFiles();
        if (files.isEmpty()) return std::nullopt;
        QString why;
        if (IsAcceptableFile(files.first(), &why)) return files.first();
        QMessageBox::warning(this, windowTitle(), files.first() + QLatin1Char('\n') + why);
    }
}

void TFormProii::BOpenClick()
{
    const std::optional<QString> path = ChooseFile();
    if (path) OpenFile(*path);
}

void TFormProii::OpenFile(const QString& path)
{
    Reported([&] {
        if (!ConnectProii()) return;
        ProiiFileName = path.toStdString();
        OpenProiiFile(ProiiFileName);
        // Filled only when the whole list was read, so a failing server
        // leaves the previous columns in place.
        TStringList columns = Lines(ListColumns);
        GetProiiColumns(ProiiDatabase, columns);
        SetLines(ListColumns, columns);
        if (ListColumns->count() == 0) ShowMessage(MsgKind::Warning, kProiiNoColumnText);
    });
}

void TFormProii::ListColumnsClick()
{
    Reported([&] {
        if (ListColumns->count() == 0) return;
        const QList<QListWidgetItem*> selected = ListColumns->selectedItems();
        if (!selected.isEmpty()) {
            try {
                GetProiiColumnData(ProiiDatabase, selected.first()->text().toStdString(), ProiiColumnData);
            } catch (...) {
                // What was read so far is shown, as the list holds it.
                SetLines(ListBoxColumnData, ProiiColumnData);
                throw;
            }
            const double trays = GetListValue(ProiiColumnData, "NumberOfTrays");
            const int n = RoundListValue(trays, "NumberOfTrays");
            if (n > kMaxTrays)
                throw EConvertError("NumberOfTrays " + std::to_string(n) + " is beyond " +
                                    std::to_string(kMaxTrays));
            const QSignalBlocker block(StageIndex);
            StageIndex->clear();
            for (int i = 1; i <= n; ++i)
                StageIndex->addItem(QString::number(i));
            StageIndex->setCurrentIndex(StageIndex->count() >= 2 ? 1 : -1);
        }
        SetLines(ListBoxColumnData, ProiiColumnData);
    });
}

void TFormProii::BGetDataClick()
{
    Reported([&] {
        const QList<QListWidgetItem*> selected = ListColumns->selectedItems();
        if (selected.isEmpty()) return;
        int tray;
        if (RGModalIndex() == 1) {
            tray = StageIndex->currentIndex() + 1;
        } else {
            // The tray just above the first feed tray.
            tray = RoundListValue(GetListValue(ProiiColumnData, "FeedT0"), "FeedT0") - 1;
            StageIndex->setCurrentIndex(tray >= 1 && tray <= StageIndex->count() ? tray - 1 : -1);
        }
        TStringList lines = Lines(ListData);
        try {
            GetProiiTrayData(ProiiDatabase, selected.first()->text().toStdString(), tray, lines);
        } catch (...) {
            SetLines(ListData, lines);
            throw;
        }
        SetLines(ListData, lines);
    });
}

void TFormProii::BOKClick()
{
    Reported([&] {
        if (ListData->count() == 0) return;
        const TStringList lines = Lines(ListData);
        for (const ImportField& f : kImportFields)
            page_.Field(f.field)->SetValue(GetListValue(lines, f.proiiKey));
    });
    // The inputs taken over are not recalculated: the page shows its results
    // as not theirs, as the printed outputs do.
    if (page_.OnOperationChanged) page_.OnOperationChanged();
}

bool TFormProii::BColumnClick()
{
    if (!TakeWholeColumn(ListColumns, ProfileFromProii, TakenProfile, OnTakeColumn)) return false;
    accept();
    return true;
}

void TFormProii::FormClose()
{
    ReleaseProii();
}

void TFormProii::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void ShowProiiDialog(QWidget* owner, CalcPage& page,
                     const std::function<void(const ColumnProfile&)>& takeColumn)
{
    auto* form = new TFormProii(owner, page);
    form->OnTakeColumn = takeColumn;
    FormProii = form;
    form->exec();
    FormProii = nullptr;
    delete form;
}
