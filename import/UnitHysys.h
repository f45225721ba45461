#pragma once
// The HYSYS import dialog "连接Hysys": lists the column operations of the
// case open in a running HYSYS, reads the stage record of the chosen column
// (automatic search or a named stage) and carries seven values into the
// calculation page's fields on OK. It starts no recalculation; the fields'
// change hooks mark the page for the next one.
//
// The handlers are plain member functions, so a test drives the dialog
// without clicking; each reports its own errors the way the application's
// default error report does.

#include <QDialog>

#include <functional>
#include <optional>

#include "ColumnProfile.h"
#include "HysysInterface.h"
#include "TrNoop.h"

class CalcPage;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

class TFormHysys : public QDialog
{
    Q_OBJECT
public:
    // page is the calculation page whose fields OK writes. Creating the
    // dialog lists the columns (FormCreate), which attaches to HYSYS.
    TFormHysys(QWidget* owner, CalcPage& page);
    ~TFormHysys() override;

    QGroupBox* GroupBox1;
    QListWidget* ListColumns;
    QGroupBox* RGModal;
    QRadioButton* RGModalAuto;  // "自动"
    QRadioButton* RGModalFixed; // "指定"
    QLineEdit* EditStageIndex;
    QListWidget* ListData;
    QPushButton* BGetData;
    QPushButton* BOK;
    QPushButton* BCancel;
    QPushButton* BColumn; // "整塔数据": every stage of the column, for the column rating

    // 0 "自动", 1 "指定".
    int RGModalIndex() const;
    void SetRGModalIndex(int index);

    // Creation: the column operations of the case.
    void FormCreate();
    // "获得数据": the stage record of the chosen column into ListData.
    void BGetDataClick();
    // "确定": writes the seven values into the page's fields.
    void BOKClick();
    // Closing: nothing to let go of; the application stays attached.
    void FormClose();
    // "整塔数据": reads every stage of the chosen column into TakenProfile,
    // hands it to OnTakeColumn and closes the dialog. False (and the dialog
    // stays) when no column is chosen or the reading failed, was cancelled
    // or took longer than the column's bound (SetHysysColumnDeadline).
    bool BColumnClick();
    std::optional<ColumnProfile> TakenProfile;
    std::function<void(const ColumnProfile&)> OnTakeColumn;

protected:
    void done(int result) override;

private:
    void BuildComponents();

    CalcPage& page_;
};

// The dialog while it is open (nullptr otherwise).
extern TFormHysys* FormHysys;

// The main window's "连接Hysys": creates the dialog owned by owner, keeps it
// in FormHysys while it runs modally, and frees it when it closes.
void ShowHysysDialog(QWidget* owner, CalcPage& page,
                     const std::function<void(const ColumnProfile&)>& takeColumn = {});

// The bound of "整塔数据", all stages together; 0 or less: kHysysColumnDeadlineMs.
void SetHysysColumnDeadline(int ms);

inline constexpr const char* kHysysNoColumnText = QT_TRANSLATE_NOOP("Velk", "没有选定塔器模块!");

// Text to a 32-bit whole number: optional blanks around, optional sign,
// decimal digits. Throws EConvertError "'<text>' is not a valid integer
// value" otherwise.
int TextToInt(const std::string& text);
