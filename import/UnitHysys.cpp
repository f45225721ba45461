#include "UnitHysys.h"

#include "ImportDialogParts.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

#include "CalcPage.h"
#include "FontSetup.h"
#include "HysysImportProgress.h"
#include "ImportFieldMap.h"
#include "Messages.h"
#include "NumberText.h"
#include "ProfileImport.h"
#include "TextToFloat.h"
#include "UnitProii.h"

TFormHysys* FormHysys = nullptr;

namespace
{

// The dialog's outer size is 417 x 314 on Windows; this is its client area
// inside a standard frame.
constexpr int kClientWidth = 409;
constexpr int kClientHeight = 287;
constexpr int kLeft = 290;
constexpr int kTop = 209;
// A record value starts after its three-character key and is read up to this
// many characters.
constexpr std::size_t kValueStart = 3;
constexpr std::size_t kValueLength = 100;

template <typename F> void Reported(F&& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        ReportError(e);
    }
}

} // namespace

int TextToInt(const std::string& text)
{
    const std::string t = Trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    long long v = 0;
    bool digits = false;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') break;
        digits = true;
        v = v * 10 + (t[i] - '0');
        if (v > 2147483648LL) break;
    }
    if (negative) v = -v;
    if (!digits || i != t.size() || v > 2147483647LL || v < -2147483648LL)
        throw EConvertError("'" + text + "' is not a valid integer value");
    return static_cast<int>(v);
}

TFormHysys::TFormHysys(QWidget* owner, CalcPage& page) : QDialog(owner), page_(page)
{
    BuildComponents();
    FormCreate();
}

TFormHysys::~TFormHysys()
{
    if (FormHysys == this) FormHysys = nullptr;
}

void TFormHysys::BuildComponents()
{
    SetUpImportDialog(this, QStringLiteral("FormHysys"), QCoreApplication::translate("Velk", "连接Hysys"),
                      QSize(kClientWidth, kClientHeight), QPoint(kLeft, kTop));
    ListColumns =
        AddListGroup(this, QCoreApplication::translate("Velk", "塔器模块"), QStringLiteral("GroupBox1"),
                     QRect(9, 13, 201, 197), QStringLiteral("ListColumns"), &GroupBox1);
    RGModal = AddTrayPositionGroup(this, QCoreApplication::translate("Velk", "自动"), 80, &RGModalAuto,
                                   &RGModalFixed);

    EditStageIndex = new QLineEdit(QStringLiteral("1"), this);
    EditStageIndex->setObjectName(QStringLiteral("EditStageIndex"));
    EditStageIndex->setGeometry(363, 30, 29, 20);
    EditStageIndex->raise();

    ListData = new QListWidget(this);
    ListData->setObjectName(QStringLiteral("ListData"));
    ListData->setGeometry(215, 65, 185, 143);

    BGetData = AddButton(this, QStringLiteral("BGetData"), QCoreApplication::translate("Velk", "获得数据"),
                         QRect(65, 234, 75, 25), QStyle::SP_BrowserReload);
    BOK = AddButton(this, QStringLiteral("BOK"), QCoreApplication::translate("Velk", "确定"),
                    QRect(165, 234, 75, 25));
    BOK->setDefault(true);
    BCancel = AddButton(this, QStringLiteral("BCancel"), QCoreApplication::translate("Velk", "取消"),
                        QRect(265, 234, 75, 25));
    BColumn = AddButton(this, QStringLiteral("BColumn"), QCoreApplication::translate("Velk", "整塔数据"),
                        QRect(345, 234, 58, 25));
    for (QPushButton* b : {BGetData, BCancel, BColumn})
        b->setAutoDefault(false);

    connect(BGetData, &QPushButton::clicked, this, [this] { BGetDataClick(); });
    connect(BOK, &QPushButton::clicked, this, [this] {
        BOKClick();
        accept();
    });
    connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BColumn, &QPushButton::clicked, this, [this] { BColumnClick(); });
    FitDialogTexts(this);
}

int TFormHysys::RGModalIndex() const
{
    return RGModalFixed->isChecked() ? 1 : 0;
}

void TFormHysys::SetRGModalIndex(int index)
{
    (index == 1 ? RGModalFixed : RGModalAuto)->setChecked(true);
}

void TFormHysys::FormCreate()
{
    TStringList names = TFormProii::Lines(ListColumns);
    HysysImportProgress progress(parentWidget());
    Reported([&] {
        try {
            GetHysysColumns(names);
        } catch (...) {
            // The dialog opens with the names listed before the failure.
            TFormProii::SetLines(ListColumns, names);
            throw;
        }
        TFormProii::SetLines(ListColumns, names);
        if (ListColumns->count() > 0) ListColumns->setCurrentRow(0);
    });
}

void TFormHysys::BGetDataClick()
{
    Reported([&] {
        const QList<QListWidgetItem*> selected = ListColumns->selectedItems();
        if (selected.isEmpty()) {
            ShowMessage(MsgKind::Warning, kHysysNoColumnText);
            return;
        }
        const int stage = RGModalIndex() == 0 ? -1 : TextToInt(EditStageIndex->text().toStdString());
        TFormProii::SetLines(ListData, {});
        TStringList lines;
        HysysImportProgress progress(this);
        GetHysysStageData(selected.first()->text().toStdString(), stage, lines);
        TFormProii::SetLines(ListData, lines);
    });
}

void TFormHysys::BOKClick()
{
    Reported([&] {
        if (ListData->count() == 0) return;
        const TStringList lines = TFormProii::Lines(ListData);
        for (const ImportField& f : kImportFields) {
            const std::size_t line = static_cast<std::size_t>(f.hysysLine);
            const std::string text = line < lines.size() && lines[line].size() > kValueStart
                                         ? lines[line].substr(kValueStart, kValueLength)
                                         : std::string();
            page_.Field(f.field)->SetValue(TextToFloat(text));
        }
    });
    // The inputs taken over are not recalculated: the page shows its results
    // as not theirs, as the printed outputs do.
    if (page_.OnOperationChanged) page_.OnOperationChanged();
}

namespace
{
int g_columnDeadlineMs = kHysysColumnDeadlineMs;
} // namespace

void SetHysysColumnDeadline(int ms)
{
    g_columnDeadlineMs = ms > 0 ? ms : kHysysColumnDeadlineMs;
}

bool TFormHysys::BColumnClick()
{
    bool taken = false;
    {
        // Progress, Cancel and the bound on the whole column; gone before
        // the dialog closes.
        HysysImportProgress progress(this, g_columnDeadlineMs);
        taken = TakeWholeColumn(ListColumns, ProfileFromHysys, TakenProfile, OnTakeColumn);
        if (progress.TimedOut()) ShowMessage(MsgKind::Error, progress.ColumnTimeOutText().toStdString());
    }
    if (!taken) return false;
    accept();
    return true;
}

void TFormHysys::FormClose() {}

void TFormHysys::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void ShowHysysDialog(QWidget* owner, CalcPage& page,
                     const std::function<void(const ColumnProfile&)>& takeColumn)
{
    auto* form = new TFormHysys(owner, page);
    form->OnTakeColumn = takeColumn;
    FormHysys = form;
    form->exec();
    FormHysys = nullptr;
    delete form;
}
