#pragma once
// The PRO/II import dialog "连接Proii": open a simulation file, pick a column,
// read the tray above the first feed (or a named tray) and carry seven
// values into the calculation page's fields on OK. It starts no
// recalculation; the fields' change hooks mark the page for the next one.
//
// The handlers are plain member functions, so a test drives the dialog
// without clicking; each reports its own errors the way the application's
// default error report does.

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

#include "ColumnProfile.h"
#include "PROIIInterface.h"
#include "TrNoop.h"

class CalcPage;
class QComboBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

class TFormProii : public QDialog
{
    Q_OBJECT
public:
    // page is the calculation page whose fields OK writes.
    TFormProii(QWidget* owner, CalcPage& page);
    ~TFormProii() override;

    QGroupBox* GroupBox1;
    QListWidget* ListColumns;
    QGroupBox* GroupBox2;
    QListWidget* ListBoxColumnData;
    QGroupBox* RGModal;
    QRadioButton* RGModalAuto;  // "自动(NF0-1)"
    QRadioButton* RGModalFixed; // "指定"
    QComboBox* StageIndex;
    QLabel* Label1;
    QListWidget* ListData;
    QPushButton* BOpen;
    QPushButton* BGetData;
    QPushButton* BOK;
    QPushButton* BCancel;
    QPushButton* BColumn; // "整塔数据": every tray of the column, for the column rating
    QFileDialog* OpenDialogPRoii;

    // 0 "自动(NF0-1)", 1 "指定".
    int RGModalIndex() const;
    void SetRGModalIndex(int index);

    // "打开文件": asks for a file, then OpenFile.
    void BOpenClick();
    // The rest of BOpenClick once a file is chosen: connect, open, list.
    void OpenFile(const QString& path);
    // A change of the column selection: the column summary and the trays.
    void ListColumnsClick();
    // "获得数据": reads the chosen tray into ListData.
    void BGetDataClick();
    // "确定": writes the seven values into the page's fields.
    void BOKClick();
    // Closing: lets go of the database and the server.
    void FormClose();
    // "整塔数据": reads every tray of the chosen column into TakenProfile,
    // hands it to OnTakeColumn and closes the dialog. False (and the dialog
    // stays) when no column is chosen or the reading failed.
    bool BColumnClick();
    std::optional<ColumnProfile> TakenProfile;
    std::function<void(const ColumnProfile&)> OnTakeColumn;

    // Runs OpenDialogPRoii until the engineer picks an acceptable file or
    // cancels.
    std::optional<QString> ChooseFile();
    // A simulation file the dialog accepts: an existing file that is not
    // read-only. why receives the reason for a refusal.
    static bool IsAcceptableFile(const QString& path, QString* why = nullptr);

    // Lines of a list box, and filling one.
    static TStringList Lines(const QListWidget* list);
    static void SetLines(QListWidget* list, const TStringList& lines);

protected:
    void done(int result) override;

private:
    void BuildComponents();

    CalcPage& page_;
};

// The dialog while it is open (nullptr otherwise).
extern TFormProii* FormProii;

// The main window's "连接Proii": creates the dialog owned by owner, keeps it
// in FormProii while it runs modally, and frees it when it closes.
void ShowProiiDialog(QWidget* owner, CalcPage& page,
                     const std::function<void(const ColumnProfile&)>& takeColumn = {});

inline constexpr const char* kProiiNoColumnText = QT_TRANSLATE_NOOP("Velk", "该模拟文件中没有塔器模块!");
