#include "UserPackingDialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ApplicationHelp.h"
#include "TrNoop.h"
#include "UserPackings.h"

namespace
{
QString T(const char* text)
{
    return QCoreApplication::translate("Velk", text);
}
// A heading with the unit its cell is written in, which the grid leaves to the reader.
QString Label(const char* heading, int column)
{
    switch (column) {
    case ColArea:
        return QStringLiteral("%1 (m2/m3)").arg(T(heading));
    case ColCrest:
    case ColBase:
    case ColSide:
    case ColHydraulicDiameter:
        return QStringLiteral("%1 (mm)").arg(T(heading));
    case ColAngle:
        return QStringLiteral("%1 (°)").arg(T(heading));
    default:
        return T(heading);
    }
}
} // namespace

TUserPackingDialog::TUserPackingDialog(const CatalogueRow& row, std::vector<CatalogueRow> others,
                                       QWidget* parent)
    : QDialog(parent), others_(std::move(others))
{
    setObjectName(QStringLiteral("UserPackingDialog"));
    setWindowTitle(T(QT_TRANSLATE_NOOP("Velk", "用户填料")));
    auto* form = new QFormLayout;
    const char* const* headings = CatalogueHeadings();
    for (int c = ColType; c < kCatalogueColumns; ++c) {
        cells_[c] = new QLineEdit(QString::fromStdString(row[c]), this);
        cells_[c]->setObjectName(QStringLiteral("UserPackingCell%1").arg(c));
        form->addRow(Label(headings[c], c), cells_[c]);
    }
    faults_ = new QLabel(this);
    faults_->setObjectName(QStringLiteral("UserPackingFaults"));
    faults_->setStyleSheet(QStringLiteral("color: #B00020"));
    faults_->setWordWrap(true);
    faults_->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TUserPackingDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TUserPackingDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(faults_);
    layout->addWidget(buttons);
    setProperty("helpContext", HelpTopic::UserPackings);
    // Wide enough for a vendor's name and a fault's line without wrapping each word.
    setMinimumWidth(440);
}

CatalogueRow TUserPackingDialog::Row() const
{
    CatalogueRow row;
    for (int c = ColType; c < kCatalogueColumns; ++c)
        row[c] = cells_[c]->text().trimmed().toStdString();
    return row;
}

bool TUserPackingDialog::CheckRow()
{
    const auto errors = CheckUserPacking(Row(), others_);
    QStringList lines;
    const char* const* headings = CatalogueHeadings();
    for (const UserCatalogueError& e : errors)
        lines << T(QT_TRANSLATE_NOOP("Velk", "%1：%2"))
                     .arg(T(headings[e.column - 1]), QString::fromStdString(e.what));
    faults_->setText(lines.join(QLatin1Char('\n')));
    faults_->setVisible(!errors.empty());
    return errors.empty();
}

void TUserPackingDialog::accept()
{
    if (CheckRow()) QDialog::accept();
}
